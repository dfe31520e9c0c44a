// Wall time of a whole `halvern-th-cli verify` of the 1580-page PDF report
// of a full record (60000 samples) against its data file: as saved by this
// program (the file's SHA-256 matches), and as a file written before the
// header numbers came from the record (its record is read and saved anew in
// memory). Then the parts in process: reading the report's text, and the
// fingerprint of the record.
#include "FullRecord.h"

#include "datafile/DataFileWriter.h"
#include "datafile/Fingerprint.h"
#include "datafile/LoggerFile.h"
#include "datafile/Scramble.h"
#include "report/pdf/PdfReport.h"
#include "report/pdf/PdfText.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Files {
    QTemporaryDir dir;
    QString report, data, old;
    QByteArray reportBytes;
    CLoggerRecord record;
    bool ok = false;
};

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The data file with other header numbers and its body scrambled with
// their key, as the writer made it while it drew them from the clock.
QByteArray WithOtherHeader(const QByteArray& file)
{
    std::uint8_t now[HEADER_NUMBERS], drawn[HEADER_NUMBERS] = {41, 35, 190, 132, 225};
    for (int k = 0; k < HEADER_NUMBERS; ++k)
        now[k] = static_cast<std::uint8_t>(file.mid(3 * k, 3).trimmed().toInt());
    const QByteArray body = file.mid(HEADER_SIZE, file.size() - HEADER_SIZE - 64);
    const std::string plain = UnscrambleBody(body.constData(), static_cast<std::size_t>(body.size()), KeyFromHeader(now));
    QByteArray out;
    for (const std::uint8_t n : drawn)
        out += QByteArray::number(n).rightJustified(3, ' ');
    return out + QByteArray::fromStdString(ScrambleBody(plain, KeyFromHeader(drawn))) + file.right(64);
}

Files& Setup()
{
    static Files f;
    if (f.ok || !f.dir.isValid())
        return f;
    FillFullType4(f.record);
    f.record.m_nReceived = f.record.m_nCount;
    f.record.BuildTimeTable();
    f.record.Recompute(false, TempUnit::Celsius);
    f.report = f.dir.filePath(QStringLiteral("report.pdf"));
    f.data = f.dir.filePath(QStringLiteral("mission.tavo"));
    f.old = f.dir.filePath(QStringLiteral("old.tavo"));
    QFile old(f.old);
    f.ok = WriteDataFile(f.record, false, f.data) && WritePdfReport(f.record, {TempUnit::Celsius}, f.report, nullptr)
        && old.open(QIODevice::WriteOnly) && old.write(WithOtherHeader(ReadAll(f.data))) > 0;
    f.reportBytes = ReadAll(f.report);
    return f;
}

// The CLI sits next to the bench folder in the build tree.
std::string CliPath()
{
    char self[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<size_t>(n) : 0);
    path = path.substr(0, path.rfind('/'));
    return path.substr(0, path.rfind('/')) + "/halvern-th-cli";
}

bool Verify(const QString& report, const QString& data)
{
    std::vector<std::string> args = {CliPath(), "verify", report.toStdString(), data.toStdString()};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_VerifyCommand(benchmark::State& state)
{
    Files& f = Setup();
    const bool savedAnew = state.range(0) != 0;
    state.SetLabel(savedAnew ? "file written before: saved anew" : "file as saved");
    for (auto _ : state) {
        if (!f.ok || !Verify(f.report, savedAnew ? f.old : f.data)) {
            state.SkipWithError("verify did not match");
            return;
        }
    }
}
BENCHMARK(BM_VerifyCommand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_ReadReportFingerprint(benchmark::State& state)
{
    Files& f = Setup();
    for (auto _ : state) {
        QString text;
        if (!ReadPdfText(f.reportBytes, text) || FingerprintsInText(text).size() != PdfReportPages(MAX_SAMPLES)) {
            state.SkipWithError("the report's fingerprints were not found");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * f.reportBytes.size());
}
BENCHMARK(BM_ReadReportFingerprint)->Unit(benchmark::kMillisecond);

void BM_RecordFingerprint(benchmark::State& state)
{
    Files& f = Setup();
    for (auto _ : state)
        benchmark::DoNotOptimize(RecordFingerprint(f.record));
}
BENCHMARK(BM_RecordFingerprint)->Unit(benchmark::kMillisecond);

} // namespace
