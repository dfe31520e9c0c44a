// Main-window drawing costs: one graph frame of a full record, a wheel-zoom
// step on it, and the cells a data list shows on one screen.
#include "record/LoggerRecord.h"
#include "record/TimeText.h"
#include "record/Units.h"
#include "views/GraphPage.h"
#include "views/SampleTableModel.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

CLoggerRecord g_record;

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "bench_gui";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
}

void FillFullRecord()
{
    CLoggerRecord& r = g_record;
    r.Reset();
    r.m_nType = 4;
    r.m_tsInterval = 60;
    r.m_tStart = MakeLocalTime(2024, 1, 1, 0, 0);
    r.SetCount(MAX_SAMPLES);
    r.m_nReceived = r.m_nCount;
    for (int i = 0; i < MAX_SAMPLES; ++i) {
        r.m_fTemp[i] = 5.0f + 3.0f * static_cast<float>(std::sin(i / 700.0)) + static_cast<float>(i % 7) * 0.05f;
        r.m_fHumi[i] = 55.0f + 20.0f * static_cast<float>(std::sin(i / 1300.0));
    }
    r.m_fLoggerMax = 8.5f;
    r.m_fLoggerMin = 1.9f;
    r.m_fHumiMax = 75.0f;
    r.m_fHumiMin = 35.0f;
    r.m_fHighLimit = 8.0f;
    r.m_fLowLimit = 2.0f;
    r.m_bTempAlarm = r.m_bHumiAlarm = 1;
    r.m_fHumiHighLimit = 70.0f;
    r.m_fHumiLowLimit = 40.0f;
    r.BuildTimeTable();
    r.Recompute(true, kDefaultDisplay.unit);
}

void BM_GraphRedraw60000(benchmark::State& state)
{
    EnsureApplication();
    FillFullRecord();
    CLoggerRecord range;
    CGraphPage view(g_record, range, kDefaultDisplay);
    view.Refresh();
    for (auto _ : state) {
        view.Redraw();
        benchmark::DoNotOptimize(view.Frame().constBits());
    }
}
BENCHMARK(BM_GraphRedraw60000)->Unit(benchmark::kMillisecond);

// One mouse-wheel notch on a full record: the zoom step around the pointer,
// the decimation of the new view and a new frame with its value levels,
// time labels and limit values. Alternates in and out
// between zoom divisors 1 and 2 so every step sees the same amount of work.
void BM_GraphWheelZoom60000(benchmark::State& state)
{
    EnsureApplication();
    FillFullRecord();
    CLoggerRecord range;
    CGraphPage view(g_record, range, kDefaultDisplay);
    view.Refresh();
    bool in = true;
    for (auto _ : state) {
        view.ZoomAt(300, in);
        in = !in;
        benchmark::DoNotOptimize(view.Frame().constBits());
    }
}
BENCHMARK(BM_GraphWheelZoom60000)->Unit(benchmark::kMillisecond);

// One screen of the list: 40 rows of 4 columns, at a different place of the
// record each time as while scrolling.
void BM_DataListVisibleCells(benchmark::State& state)
{
    EnsureApplication();
    FillFullRecord();
    SampleTableModel model(kDefaultDisplay);
    model.SetRecord(&g_record);
    int first = 0;
    for (auto _ : state) {
        for (int row = first; row < first + 40; ++row)
            for (int column = 0; column < 4; ++column)
                benchmark::DoNotOptimize(model.data(model.index(row, column), Qt::DisplayRole));
        first = (first + 997) % (MAX_SAMPLES - 40);
    }
}
BENCHMARK(BM_DataListVisibleCells)->Unit(benchmark::kMicrosecond);

} // namespace
