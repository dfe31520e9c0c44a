// Where halvern-th-cli's outputs go and what reaches the terminal: pipes and
// standard output written straight, failed writes to standard output, texts
// from a file shown harmlessly, "--" ending the options.
#include "cli/CliRun.h"
#include "support/TempDir.h"

#include "datafile/LoggerFile.h"
#include "record/LoggerRecord.h"

#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kSample = QStringLiteral(HALVERN_SAMPLES "/mission.tavo");

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray Drain(int fd)
{
    QByteArray data;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        data.append(buffer, n);
    return data;
}

bool IsFifo(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

void StdoutTo(QProcess& p, const QString& path)
{
    p.setStandardOutputFile(path);
}

TEST(CliOutput, PipesAndStandardOutputAreWrittenStraightNeverReplaced)
{
    TempDir dir;
    ASSERT_EQ(Cli({QStringLiteral("export"), kSample, QStringLiteral("--csv"), dir.path("ref.csv"), QStringLiteral("--tavo"),
                   dir.path("ref.tavo")}).code, 0);
    // A file starts with the byte-order mark that spreadsheet programs read
    // as UTF-8; pipes and standard output carry the plain text.
    const QByteArray file = ReadAll(dir.path("ref.csv"));
    ASSERT_TRUE(file.startsWith("\xEF\xBB\xBF\"Num\",")) << file.left(12).toStdString();
    const QByteArray csv = file.mid(3);
    const QString fifo = dir.path("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Opened for reading first, so the program's open for writing does not wait.
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const struct {
        const char* option;
        QString target;
        bool onStdout;
    } cases[] = {
        {"--csv", fifo, false},
        {"--tavo", fifo, false},
        {"--csv", QStringLiteral("-"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.option) + " " + c.target.toStdString());
        const CliRun r = Cli({QStringLiteral("export"), kSample, QString::fromLatin1(c.option), c.target});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        const QByteArray got = c.onStdout ? r.out.toUtf8() : Drain(reader);
        if (QByteArray(c.option) == "--csv")
            EXPECT_EQ(got, csv);
        else
            EXPECT_EQ(got.size(), ReadAll(dir.path("ref.tavo")).size());
        EXPECT_TRUE(IsFifo(fifo));
    }
    ::close(reader);
    EXPECT_FALSE(QFile::exists(dir.path("-")));

    // /dev/stdout leading to a file a shell opened with ">>": appended to.
    const QString log = dir.path("log.txt");
    {
        QFile f(log);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier\n");
    }
    const CliRun r = Cli({QStringLiteral("export"), kSample, QStringLiteral("--csv"), QStringLiteral("/dev/stdout")}, 0,
                         [&log](QProcess& p) { p.setStandardOutputFile(log, QIODevice::Append); });
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(ReadAll(log), "earlier\n" + csv);
}

TEST(CliOutput, AFailedWriteToStandardOutputFailsTheCommand)
{
    const struct {
        QStringList args;
        const char* error;
    } cases[] = {
        {{"info", kSample}, "halvern-th-cli: cannot write standard output: no space left on device\n"},
        {{"samples", kSample}, "halvern-th-cli: cannot write standard output: no space left on device\n"},
        {{"info", "--help"}, "halvern-th-cli: cannot write standard output: no space left on device\n"},
        {{"--help"}, "halvern-th-cli: cannot write standard output: no space left on device\n"},
        {{"export", kSample, "--csv", "-"}, " Could not save the file: -: no space left on device\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun r = Cli(c.args, 0, [](QProcess& p) { StdoutTo(p, QStringLiteral("/dev/full")); });
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err.toStdString(), c.error);
    }
}

TEST(CliOutput, ControlCharactersFromAFileNeverReachTheTerminal)
{
    TempDir dir;
    CLoggerRecord record;
    ASSERT_EQ(OpenDataFileRecord(kSample, record, kDefaultDisplay), OpenDataResult::Loaded);
    record.m_strValue[ROW_DESCRIPTION] = QStringLiteral("Cold\r\nroom\x1b[2J\tB");
    CLoggerFile file(dir.path("odd.tavo"), CLoggerFile::ModeWrite);
    ASSERT_TRUE(file.Save(record, false));

    const CliRun info = Cli({QStringLiteral("info"), dir.path("odd.tavo")});
    EXPECT_EQ(info.code, 0);
    EXPECT_TRUE(info.out.contains(QStringLiteral("\nDescription:\tCold\uFFFD\uFFFDroom\uFFFD[2J\uFFFDB\n"))) << info.out.toStdString();
    const CliRun missing = Cli({QStringLiteral("info"), dir.path("a\x1b]0;x\x07.tavo")});
    EXPECT_EQ(missing.err.toStdString(), " Could not open the file: a\uFFFD]0;x\uFFFD.tavo: no such file\n");
    for (const CliRun& r : {info, missing})
        for (QChar c : r.out + r.err)
            EXPECT_FALSE(c.unicode() < 0x20 && c != '\n' && c != '\t') << "control character " << int(c.unicode());
}

TEST(CliOutput, DoubleDashEndsTheOptions)
{
    TempDir dir;
    ASSERT_TRUE(QFile::copy(kSample, dir.path("-odd.tavo")));
    const auto inDir = [&dir](QProcess& p) { p.setWorkingDirectory(dir.root()); };
    const CliRun info = Cli({QStringLiteral("info"), QStringLiteral("--"), QStringLiteral("-odd.tavo")}, 0, inDir);
    EXPECT_EQ(info.code, 0) << info.err.toStdString();
    EXPECT_TRUE(info.out.contains(QStringLiteral("Quantity of Data:\t336\n")));
    const CliRun exported = Cli({QStringLiteral("export"), QStringLiteral("--csv"), QStringLiteral("-x.csv"),
                                 QStringLiteral("--"), QStringLiteral("-odd.tavo")}, 0, inDir);
    EXPECT_EQ(exported.code, 0) << exported.err.toStdString();
    EXPECT_TRUE(QFile::exists(dir.path("-x.csv")));
    EXPECT_EQ(Cli({QStringLiteral("info"), QStringLiteral("-odd.tavo")}, 0, inDir).code, 2);
}

} // namespace
