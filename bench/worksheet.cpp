// The worksheet export of a full type 4 record (60000 samples of
// temperature and humidity, some past their alarm limits).
#include "export/Worksheet.h"
#include "record/TimeText.h"
#include "record/Units.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

CLoggerRecord g_full;

void FillFull()
{
    InitUnits();
    g_full.Reset();
    g_full.m_nType = 4;
    g_full.m_strValue[ROW_ID] = QStringLiteral("UTH12345678");
    g_full.m_strValue[ROW_DESCRIPTION] = QStringLiteral("Warehouse 7");
    g_full.m_tsInterval = 600;
    g_full.m_tStart = MakeLocalTime(2025, 1, 1, 0, 0);
    g_full.m_nCount = g_full.m_nReceived = MAX_SAMPLES;
    g_full.m_tStop = g_full.m_tStart + (MAX_SAMPLES - 1) * g_full.m_tsInterval;
    g_full.m_fHighLimit = 22.0f;
    g_full.m_fLowLimit = 8.0f;
    g_full.m_bTempAlarm = 1;
    g_full.m_fHumiHighLimit = 65.0f;
    g_full.m_fHumiLowLimit = 35.0f;
    g_full.m_bHumiAlarm = 1;
    for (int i = 0; i < MAX_SAMPLES; ++i) {
        g_full.m_fTemp[i] = static_cast<float>(std::round((15.0 + 10.0 * std::sin(i * 0.004)) * 100) / 100);
        g_full.m_fHumi[i] = static_cast<float>(std::round((50.0 + 20.0 * std::cos(i * 0.003)) * 100) / 100);
    }
    g_full.m_byDataFlags = DATA_FLAG_SAMPLES;
    g_full.BuildTimeTable();
    g_full.Recompute(true);
}

void BM_WorksheetType4Full(benchmark::State& state)
{
    FillFull();
    QTemporaryDir dir;
    const QString path = dir.filePath("full.xlsx");
    for (auto _ : state) {
        QString why;
        if (!WriteWorksheet(g_full, path, &why))
            state.SkipWithError(why.toUtf8().constData());
    }
}
BENCHMARK(BM_WorksheetType4Full)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
