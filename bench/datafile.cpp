// Save and Load of a full type 4 data file (60000 samples of temperature
// and humidity).
#include "FullRecord.h"
#include "datafile/LoggerFile.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

CLoggerRecord g_full;

void FillFull()
{
    FillFullType4(g_full);
    g_full.m_fHighLimit = 30.0f;
    g_full.m_fLowLimit = 0.0f;
    g_full.m_fHumiHighLimit = 80.0f;
    g_full.m_fHumiLowLimit = 20.0f;
}

void BM_SaveType4Full(benchmark::State& state)
{
    FillFull();
    QTemporaryDir dir;
    const QString path = dir.filePath("full.tavo");
    for (auto _ : state) {
        CLoggerFile file(path, CLoggerFile::ModeWrite);
        if (!file.Save(g_full, false))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveType4Full)->Unit(benchmark::kMillisecond);

void BM_LoadType4Full(benchmark::State& state)
{
    FillFull();
    QTemporaryDir dir;
    const QString path = dir.filePath("full.tavo");
    {
        CLoggerFile file(path, CLoggerFile::ModeWrite);
        if (!file.Save(g_full, false))
            state.SkipWithError("save failed");
    }
    CLoggerRecord loaded;
    for (auto _ : state) {
        CLoggerFile file(path, CLoggerFile::ModeRead);
        if (!file.Load(loaded, kDefaultDisplay))
            state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadType4Full)->Unit(benchmark::kMillisecond);

} // namespace
