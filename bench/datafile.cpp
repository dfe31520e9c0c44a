// Save and Load of a full type 4 data file (60000 samples of temperature
// and humidity).
#include "datafile/LoggerFile.h"
#include "record/TimeText.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

CLoggerRecord g_full;

void FillFull()
{
    g_full.Reset();
    g_full.m_nType = 4;
    g_full.m_strValue[ROW_ID] = QStringLiteral("UTH12345678");
    g_full.m_strValue[ROW_DESCRIPTION] = QStringLiteral("Warehouse 7");
    g_full.m_tsInterval = 600;
    g_full.m_tStart = MakeLocalTime(2025, 1, 1, 0, 0);
    g_full.m_nCount = MAX_SAMPLES;
    g_full.m_tStop = g_full.m_tStart + (MAX_SAMPLES - 1) * g_full.m_tsInterval;
    g_full.m_fHighLimit = 30.0f;
    g_full.m_fLowLimit = 0.0f;
    g_full.m_fHumiHighLimit = 80.0f;
    g_full.m_fHumiLowLimit = 20.0f;
    for (int i = 0; i < MAX_SAMPLES; ++i) {
        g_full.m_fTemp[i] = static_cast<float>(std::round((15.0 + 10.0 * std::sin(i * 0.004)) * 100) / 100);
        g_full.m_fHumi[i] = static_cast<float>(std::round((50.0 + 20.0 * std::cos(i * 0.003)) * 100) / 100);
    }
}

void BM_SaveType4Full(benchmark::State& state)
{
    FillFull();
    QTemporaryDir dir;
    const QString path = dir.filePath("full.tavo");
    for (auto _ : state) {
        CLoggerFile file(path, CLoggerFile::ModeWrite);
        file.m_pRecord = &g_full;
        if (!file.Save(false))
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
        file.m_pRecord = &g_full;
        if (!file.Save(false))
            state.SkipWithError("save failed");
    }
    for (auto _ : state) {
        CLoggerFile file(path, CLoggerFile::ModeRead);
        if (!file.Load())
            state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadType4Full)->Unit(benchmark::kMillisecond);

} // namespace
