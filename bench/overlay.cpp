// One redraw of the Archive view's overlay graph: ten missions of 60 000
// samples each, reduced to each pixel column's extremes and painted into an
// image of the size the graph has in the view, by clock time and by time
// elapsed since each start.
#include "record/TimeText.h"
#include "views/OverlayGraph.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

constexpr int kMissions = 10;
constexpr int kSamples = 60000;

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "bench_overlay";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
}

// Missions a few hours apart, one sample a minute, each on its own wave
// with noise; the even ones with humidity; limits that differ, so that
// every mission draws its own limit lines.
std::vector<OverlayMission> Missions()
{
    std::vector<OverlayMission> missions;
    const time64 first = MakeLocalTime(2026, 1, 5, 8, 0);
    for (int m = 0; m < kMissions; ++m) {
        OverlayMission mission;
        mission.loggerId = QStringLiteral("UTH2601%1").arg(m, 4, 10, QLatin1Char('0'));
        mission.start = first + m * 5 * 3600;
        mission.times.resize(kSamples);
        mission.temp.resize(kSamples);
        if (m % 2 == 0)
            mission.humi.resize(kSamples);
        for (int i = 0; i < kSamples; ++i) {
            mission.times[i] = mission.start + i * 60;
            mission.temp[i] = static_cast<float>(4 + m * 0.4 + 3 * std::sin(i / (500.0 + 40 * m)) + (i * 7919 % 11) * 0.04);
            if (m % 2 == 0)
                mission.humi[i] = static_cast<float>(50 + 15 * std::cos(i / 900.0) + (i * 7 % 11) * 0.1);
        }
        mission.tempLimits = mission.humiLimits = true;
        mission.tempLow = 2.0f + 0.5f * static_cast<float>(m);
        mission.tempHigh = 8.0f + 0.5f * static_cast<float>(m);
        mission.humiLow = 30;
        mission.humiHigh = 70;
        missions.push_back(std::move(mission));
    }
    return missions;
}

void BM_OverlayRedraw10x60000(benchmark::State& state)
{
    EnsureApplication();
    const DisplaySettings display{TempUnit::Fahrenheit, 0};
    COverlayGraph graph(display);
    graph.resize(1100, 420);
    graph.SetMissions(Missions());
    graph.SetTimeMode(state.range(0) ? OverlayTime::Elapsed : OverlayTime::Clock);
    QImage image(graph.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        graph.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_OverlayRedraw10x60000)->ArgName("elapsed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
