// The alarm excursion search over a full record: temperature and humidity,
// both limits in force, a series that crosses them often (about 800 runs).
#include "record/Excursions.h"

#include <benchmark/benchmark.h>
#include <cmath>

namespace {

CLoggerRecord g_full;

void Fill()
{
    g_full.Reset();
    g_full.m_nType = 4;
    g_full.m_tStart = 1700000000;
    g_full.m_tsInterval = 600;
    g_full.SetCount(MAX_SAMPLES);
    g_full.m_nReceived = g_full.m_nCount;
    g_full.BuildTimeTable();
    for (int i = 0; i < MAX_SAMPLES; ++i) {
        g_full.m_fTempShown[i] = static_cast<float>(5.0 + 4.0 * std::sin(i * 0.03));
        g_full.m_fHumi[i] = i % 997 == 0 ? -1000.0f : static_cast<float>(50.0 + 25.0 * std::sin(i * 0.011));
    }
    g_full.m_bTempAlarm = g_full.m_bHumiAlarm = 1;
    g_full.m_fHighLimit = 8.0f;
    g_full.m_fLowLimit = 2.0f;
    g_full.m_fHumiHighLimit = 70.0f;
    g_full.m_fHumiLowLimit = 30.0f;
}

void BM_FindExcursions(benchmark::State& state)
{
    Fill();
    std::size_t found = 0;
    for (auto _ : state) {
        const AlarmReport report = FindExcursions(g_full);
        found = report.excursions.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["excursions"] = static_cast<double>(found);
}
BENCHMARK(BM_FindExcursions)->Unit(benchmark::kMicrosecond);

} // namespace
