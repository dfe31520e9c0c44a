// The worksheet export of a full type 4 record (60000 samples of
// temperature and humidity, some past their alarm limits).
#include "FullRecord.h"
#include "export/Worksheet.h"
#include "record/Units.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

CLoggerRecord g_full;

void FillFull()
{
    FillFullType4(g_full);
    g_full.m_nReceived = MAX_SAMPLES;
    g_full.m_fHighLimit = 22.0f;
    g_full.m_fLowLimit = 8.0f;
    g_full.m_bTempAlarm = 1;
    g_full.m_fHumiHighLimit = 65.0f;
    g_full.m_fHumiLowLimit = 35.0f;
    g_full.m_bHumiAlarm = 1;
    g_full.m_byDataFlags = DATA_FLAG_SAMPLES;
    g_full.BuildTimeTable();
    g_full.Recompute(true, kDefaultDisplay.unit);
}

void BM_WorksheetType4Full(benchmark::State& state)
{
    FillFull();
    QTemporaryDir dir;
    const QString path = dir.filePath("full.xlsx");
    for (auto _ : state) {
        QString why;
        if (!WriteWorksheet(g_full, kDefaultDisplay, path, &why))
            state.SkipWithError(why.toUtf8().constData());
    }
}
BENCHMARK(BM_WorksheetType4Full)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
