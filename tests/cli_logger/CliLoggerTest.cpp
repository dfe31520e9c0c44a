// halvern-th-cli logger commands, run as a separate program against the
// in-process virtual loggers (--simulate) and against a virtual serial
// logger served by a second halvern-th-cli (simulate) on a pseudo-terminal.
#include "cli/CliRun.h"
#include "sim/serial/VirtualSerialLogger.h"
#include "support/StagedProgram.h"
#include "support/TempDir.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include <csignal>
#include <optional>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Info(const QString& file)
{
    const CliRun info = Cli({QStringLiteral("info"), file, QStringLiteral("--unit"), QStringLiteral("C")});
    return info.code == 0 ? info.out : QStringLiteral("info failed: ") + info.err;
}

QStringList SampleLines(const QString& file)
{
    const CliRun s = Cli({QStringLiteral("samples"), file, QStringLiteral("--unit"), QStringLiteral("C")});
    return s.out.split('\n', Qt::SkipEmptyParts);
}

// `halvern-th-cli simulate ...` as a child process serving a pty.
class SimulatorProcess {
public:
    // programOptions: the program's own, before the command name.
    explicit SimulatorProcess(const QStringList& args, const QStringList& programOptions = {})
    {
        m_process.start(CliProgram(), programOptions + QStringList{QStringLiteral("simulate")} + args);
        if (m_process.waitForStarted(5000) && m_process.waitForReadyRead(10000))
            m_path = QString::fromUtf8(m_process.readLine()).trimmed();
    }
    ~SimulatorProcess()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    QString Path() const { return m_path; }
    // Ends it the way Ctrl+C does; true when it exited cleanly with 0.
    bool Interrupt()
    {
        ::kill(static_cast<pid_t>(m_process.processId()), SIGINT);
        return m_process.waitForFinished(5000) && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }
    QProcess& Process() { return m_process; }

private:
    QProcess m_process;
    QString m_path;
};

struct DownloadCase {
    const char* name;
    const char* simulate;
    int samples;
    const char* id;
    const char* firstSample; // "" when the values are not checked
};

class CliDownload : public ::testing::TestWithParam<DownloadCase> {};

// Odd counts leave a short last block on both links.
TEST_P(CliDownload, GetsEverySampleIntoTheDataFileAndCsv)
{
    const DownloadCase& c = GetParam();
    TempDir dir;
    const QString tavo = dir.path(QStringLiteral("m.tavo"));
    const QString csv = dir.path(QStringLiteral("m.csv"));
    const QString trace = dir.path(QStringLiteral("frames.txt"));
    const CliRun run = Cli({QStringLiteral("download"), QStringLiteral("--simulate"), QLatin1String(c.simulate),
                            QStringLiteral("--samples"), QString::number(c.samples), QStringLiteral("--unpaced"),
                            QStringLiteral("-o"), tavo, QStringLiteral("--csv"), csv, QStringLiteral("--trace"), trace});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(ErrorLines(run).isEmpty()) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("Data download is complete.")));

    const QString info = Info(tavo);
    EXPECT_TRUE(info.contains(QStringLiteral("Serial Number:\t%1\n").arg(QLatin1String(c.id)))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Quantity of Data:\t%1\n").arg(c.samples))) << info.toStdString();
    const QStringList samples = SampleLines(tavo);
    ASSERT_EQ(samples.size(), c.samples);
    if (*c.firstSample) {
        EXPECT_TRUE(samples[0].endsWith(QString::fromUtf8(c.firstSample))) << samples[0].toStdString();
    }

    QFile csvFile(csv);
    ASSERT_TRUE(csvFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(csvFile.readAll().count("\r\n"), c.samples + 1);
    QFile traceFile(trace);
    ASSERT_TRUE(traceFile.open(QIODevice::ReadOnly));
    EXPECT_GT(traceFile.readAll().count(" < "), 1) << "frames read from the logger are traced";
}

INSTANTIATE_TEST_SUITE_P(
    Links, CliDownload,
    ::testing::Values(DownloadCase{"Usb4", "usb:4", 21, "UTH50040004", ""},
                      DownloadCase{"Usb1", "usb:1", 35, "U2500010001", ""},
                      DownloadCase{"Serial4", "serial:4", 21, "UTH01000001", "\t5.00\u00B0C\t65.00%RH"},
                      DownloadCase{"Serial2", "serial:2", 35, "D2010000001", "\t5.00\u00B0C"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliLogger, DownloadsAndReadsStatusThroughAPortServedByASimulator)
{
    SimulatorProcess sim({QStringLiteral("serial:3"), QStringLiteral("--samples"), QStringLiteral("30"), QStringLiteral("--unpaced")});
    ASSERT_TRUE(sim.Path().startsWith(QLatin1String("/dev/"))) << sim.Path().toStdString();
    TempDir dir;
    const QString tavo = dir.path(QStringLiteral("p.tavo"));
    const CliRun run = Cli({QStringLiteral("download"), QStringLiteral("--port"), sim.Path(), QStringLiteral("-o"), tavo});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(Info(tavo).contains(QStringLiteral("Quantity of Data:\t30\n")));

    // The same logger again, from a new process: the port is free again.
    const CliRun status = Cli({QStringLiteral("status"), QStringLiteral("--port"), sim.Path()});
    ASSERT_EQ(status.code, 0) << status.err.toStdString();
    EXPECT_TRUE(status.out.contains(QStringLiteral("ID\tUT301000001\n"))) << status.out.toStdString();
    EXPECT_TRUE(status.out.contains(QStringLiteral("Run state\trecording\n")));
    EXPECT_TRUE(status.out.contains(QStringLiteral("Battery\t6\n")));
    EXPECT_TRUE(status.out.contains(QRegularExpression(QStringLiteral("Clock\t\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\n"))));

    EXPECT_TRUE(sim.Interrupt());
    EXPECT_TRUE(QString::fromUtf8(sim.Process().readAllStandardError()).contains(QStringLiteral("stopped")));
}

TEST(CliLogger, LoggerVanishingMidDownloadFailsAndWritesNothing)
{
    // 2000 type 4 samples take about 9 s at 9600 baud.
    SimulatorProcess sim({QStringLiteral("serial:4"), QStringLiteral("--samples"), QStringLiteral("2000")});
    ASSERT_FALSE(sim.Path().isEmpty());
    TempDir dir;
    const QString tavo = dir.path(QStringLiteral("v.tavo"));
    QProcess download;
    download.start(CliProgram(), {QStringLiteral("download"), QStringLiteral("--port"), sim.Path(), QStringLiteral("-o"), tavo});
    ASSERT_TRUE(download.waitForStarted(5000));
    QThread::msleep(2500);
    ASSERT_TRUE(sim.Interrupt());
    ASSERT_TRUE(download.waitForFinished(40000));
    const CliRun run{download.exitCode(), {}, QString::fromUtf8(download.readAllStandardError())};
    EXPECT_NE(run.code, 0);
    const QStringList errors = ErrorLines(run);
    ASSERT_EQ(errors.size(), 1) << run.err.toStdString();
    EXPECT_EQ(errors[0], QStringLiteral("halvern-th-cli download: the logger was disconnected during the download"));
    EXPECT_FALSE(QFile::exists(tavo));
}

struct FailureCase {
    const char* name;
    QStringList args;
    const char* error;
};

class CliLoggerFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(CliLoggerFailure, ExitsNonZeroWithOneErrorLineAndNoFile)
{
    const FailureCase& c = GetParam();
    TempDir dir;
    const QString tavo = dir.path(QStringLiteral("x.tavo"));
    QStringList args = c.args;
    args.replaceInStrings(QStringLiteral("OUT"), tavo);
    const CliRun run = Cli(args);
    EXPECT_EQ(run.code, 1) << run.err.toStdString();
    const QStringList errors = ErrorLines(run);
    ASSERT_EQ(errors.size(), 1) << run.err.toStdString();
    EXPECT_EQ(errors[0], QString::fromUtf8(c.error));
    EXPECT_FALSE(QFile::exists(tavo));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliLoggerFailure,
    ::testing::Values(
        // The test machine has no logger plugged in.
        FailureCase{"NoLogger", {"download", "-o", "OUT"}, "halvern-th-cli download: no logger found"},
        FailureCase{"NoSuchPort", {"download", "--port", "/dev/no-such-tty", "-o", "OUT"},
                    "halvern-th-cli download: no such port: /dev/no-such-tty"},
        FailureCase{"NotATty", {"status", "--port", "/dev/null"}, "halvern-th-cli status: cannot open /dev/null"},
        FailureCase{"NoUsbDevice", {"download", "--usb", "7", "-o", "OUT"}, "halvern-th-cli download: no logger at USB index 7"},
        FailureCase{"UnwritableOutput", {"download", "--simulate", "usb", "-o", "/no-such-folder/x.tavo"},
                    "halvern-th-cli download: cannot write /no-such-folder/x.tavo: no such file or directory"},
        FailureCase{"TooManyUsbSamples", {"download", "--simulate", "usb:1", "--samples", "40000", "-o", "OUT"},
                    "halvern-th-cli download: a USB logger of type 1 holds at most 32767 samples"},
        FailureCase{"ClockOfType4Serial", {"set-clock", "--simulate", "serial:4", "--unpaced"},
                    "halvern-th-cli set-clock: a type 4 serial logger takes its clock with its settings, not with set-clock"}),
    [](const auto& info) { return std::string(info.param.name); });

// The 4-digit count of a type 2 or 5 data file cannot hold 10000: that
// output fails with the reason, the CSV beside it is still written.
TEST(CliLogger, DownloadTooLargeForTheDataFileStillWritesTheCsv)
{
    TempDir dir;
    const QString tavo = dir.path(QStringLiteral("big.tavo"));
    const QString csv = dir.path(QStringLiteral("big.csv"));
    const CliRun run = Cli({QStringLiteral("download"), QStringLiteral("--simulate"), QStringLiteral("serial:2"),
                            QStringLiteral("--samples"), QStringLiteral("10000"), QStringLiteral("--unpaced"),
                            QStringLiteral("-o"), tavo, QStringLiteral("--csv"), csv});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(ErrorLines(run), QStringList{QStringLiteral("halvern-th-cli download: cannot write %1: 10000 samples; "
                                                          "a data file of this logger type holds at most 9999").arg(tavo)});
    EXPECT_FALSE(QFile::exists(tavo));
    QFile written(csv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().count('\n'), 10001);
}

// A serial logger whose information frame claims more samples than a record
// holds: the count comes from the mission's times; with no interval there is
// none, and the download fails with the reason and writes nothing.
TEST(CliLogger, ALoggerReportingTooManySamplesIsDownloadedByItsTimesOrRefused)
{
    struct Case {
        int samples;
        int intervalMinutes;
        int countField;
        int code;
        QString error;
    };
    const Case cases[] = {
        {300, 10, 65535, 0, {}},
        {20, 0, 60001, 1, QStringLiteral("halvern-th-cli download: download failed: the logger reports 60001 samples; "
                                         "at most 60000 can be downloaded")},
    };
    // Every logger's thread starts before the first child process: the
    // thread sanitizer takes a thread started after a child was spawned for
    // one started in the child, and stops the test.
    std::vector<std::unique_ptr<VirtualSerialLogger>> loggers;
    for (const Case& c : cases) {
        VirtualSerialConfig config = VirtualSerialConfig::Demo(3, c.samples);
        config.intervalMinutes = c.intervalMinutes;
        config.countField = c.countField;
        config.paced = false;
        loggers.push_back(std::make_unique<VirtualSerialLogger>(config));
        ASSERT_TRUE(loggers.back()->Start());
    }
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.countField);
        VirtualSerialLogger& logger = *loggers[i];
        TempDir dir;
        const QString tavo = dir.path(QStringLiteral("many.tavo"));
        const CliRun run = Cli({QStringLiteral("download"), QStringLiteral("--port"), logger.SlavePath(), QStringLiteral("-o"), tavo});
        logger.Stop();
        EXPECT_EQ(run.code, c.code) << run.err.toStdString();
        EXPECT_EQ(ErrorLines(run), c.error.isEmpty() ? QStringList() : QStringList{c.error});
        EXPECT_EQ(QFile::exists(tavo), c.code == 0);
        if (c.code == 0) {
            EXPECT_EQ(SampleLines(tavo).size(), c.samples);
        }
    }
}

// A port another program holds exclusively (TIOCEXCL) is named as busy.
// Root is exempt from the exclusion, so a copy of the program runs as nobody
// then.
TEST(CliLogger, BusyPortIsSaidToBeInUse)
{
    std::optional<StagedProgram> staged;
    if (::geteuid() == 0) {
        staged.emplace(CliProgram());
        if (!staged->error().isEmpty())
            GTEST_SKIP() << "cannot run the program as nobody: " << staged->error().toStdString();
    }
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const QString slave = QString::fromLocal8Bit(::ptsname(master));
    const int held = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::ioctl(held, TIOCEXCL), 0);
    ASSERT_EQ(::chmod(::ptsname(master), 0666), 0);
    QProcess p;
    if (staged) {
        p.setChildProcessModifier(&StagedProgram::BecomeNobody);
        p.setProcessEnvironment(staged->environment());
        p.setWorkingDirectory(staged->root());
    }
    p.start(staged ? staged->path() : CliProgram(), {QStringLiteral("status"), QStringLiteral("--port"), slave});
    ASSERT_TRUE(p.waitForFinished(30000));
    const CliRun run{p.exitCode(), {}, QString::fromUtf8(p.readAllStandardError())};
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(ErrorLines(run), QStringList{QStringLiteral("halvern-th-cli status: cannot open %1: in use by another program").arg(slave)});
    ::close(held);
    ::close(master);
}

// Each logger command runs under the language option in both languages.
TEST(CliLogger, EveryLoggerCommandRunsInEitherLanguage)
{
    TempDir dir;
    const QStringList commands[] = {
        {"list", "--simulate", "usb"},
        {"status", "--simulate", "usb:4"},
        {"download", "--simulate", "serial:3", "--samples", "20", "--unpaced", "-o", dir.path("d.tavo")},
        {"set-clock", "--simulate", "usb:1"},
        {"start", "--simulate", "usb:4", "--interval", "00:10", "--erase"},
        {"stop", "--simulate", "usb:1"},
    };
    for (const QStringList& lang : {QStringList{"--lang", "zh"}, QStringList{"--lang=en"}}) {
        for (const QStringList& command : commands) {
            SCOPED_TRACE((lang + command).join(' ').toStdString());
            const CliRun run = Cli(lang + command);
            EXPECT_EQ(run.code, 0) << run.err.toStdString();
        }
        SimulatorProcess sim({"serial:3"}, lang);
        EXPECT_TRUE(sim.Path().startsWith("/dev/pts/")) << lang.join(' ').toStdString();
        EXPECT_TRUE(sim.Interrupt());
    }
}

TEST(CliLogger, SetsTheClockOnBothLinks)
{
    for (const char* kind : {"usb:1", "serial:3"}) {
        const CliRun run = Cli({QStringLiteral("set-clock"), QStringLiteral("--simulate"), QLatin1String(kind), QStringLiteral("--unpaced")});
        EXPECT_EQ(run.code, 0) << kind << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("Time calibration has been completed"))) << kind;
    }
}

TEST(CliLogger, StatusOfAUsbLogger)
{
    const CliRun run = Cli({QStringLiteral("status"), QStringLiteral("--simulate"), QStringLiteral("usb:4")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("ID\tUTH50040004\nType\t4 Temp&Humi Record\nLink\tUSB 0\n"
                                      "Run state\trecording\nBattery\t5\nClock\t-\n"));
}

TEST(CliLogger, ListShowsThePresentLoggers)
{
    const CliRun usb = Cli({QStringLiteral("list"), QStringLiteral("--simulate"), QStringLiteral("usb")});
    EXPECT_EQ(usb.code, 0);
    EXPECT_EQ(usb.out, QStringLiteral("usb\t0\n"));
    const CliRun serial = Cli({QStringLiteral("list"), QStringLiteral("--simulate"), QStringLiteral("serial")});
    EXPECT_EQ(serial.code, 0);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^serial\t/dev/pts/\\d+\n$")).match(serial.out).hasMatch()) << serial.out.toStdString();
}

TEST(CliLogger, WrongArgumentsExitTwoAndEveryCommandHasHelp)
{
    for (const char* command : {"list", "status", "download", "set-clock", "simulate"}) {
        const CliRun help = Cli({QLatin1String(command), QStringLiteral("--help")});
        EXPECT_EQ(help.code, 0) << command;
        EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage: halvern-th-cli %1").arg(QLatin1String(command)))) << command;
    }
    const QList<QStringList> wrong = {
        {"download", "--simulate", "usb"},                        // no -o
        {"download", "--usb", "0", "--port", "/dev/x", "-o", "a"}, // two links
        {"status", "--simulate", "usb:5"},
        {"status", "--samples", "10"},                            // without --simulate
        {"simulate", "usb"},
        {"set-clock", "--usb", "16"},
    };
    for (const QStringList& args : wrong) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.code, 2) << args.join(' ').toStdString();
        EXPECT_EQ(ErrorLines(run).size(), 1) << run.err.toStdString();
    }
}

} // namespace
