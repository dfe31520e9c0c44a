// Recompute of a full record, plain and with the ten-hour moving MKT.
#include "record/LoggerRecord.h"

#include <benchmark/benchmark.h>
#include <cmath>

namespace {

CLoggerRecord g_full;

void Fill(const char* description)
{
    g_full.Reset();
    g_full.m_nType = 4;
    g_full.m_tsInterval = 600;
    g_full.SetCount(MAX_SAMPLES);
    g_full.m_strValue[ROW_DESCRIPTION] = QString::fromLatin1(description);
    for (int i = 0; i < MAX_SAMPLES; ++i)
        g_full.m_fTemp[i] = static_cast<float>(15.0 + 10.0 * std::sin(i * 0.004));
}

void BM_RecomputePlain(benchmark::State& state)
{
    Fill("Warehouse 7");
    for (auto _ : state) {
        g_full.Recompute(false, kDefaultDisplay.unit);
        benchmark::DoNotOptimize(g_full.m_fMkt);
    }
}
BENCHMARK(BM_RecomputePlain)->Unit(benchmark::kMillisecond);

void BM_RecomputeMovingMkt(benchmark::State& state)
{
    Fill("vtqk warehouse 7");
    for (auto _ : state) {
        g_full.Recompute(false, kDefaultDisplay.unit);
        benchmark::DoNotOptimize(g_full.m_fMax);
    }
}
BENCHMARK(BM_RecomputeMovingMkt)->Unit(benchmark::kMillisecond);

} // namespace
