// Wall time of four loggers downloaded at once in one process (two virtual
// USB loggers and two paced virtual serial loggers, each serial one on its
// own pseudo-terminal), against one paced serial download alone. The serial
// loggers hold the same samples, so with nothing in each other's way the
// four take as long as the one: vs_one_alone near 1.
#include "record/Units.h"
#include "sim/serial/VirtualSerialLogger.h"
#include "sim/usb/DemoUsbLogger.h"
#include "sim/usb/VirtualCh375.h"
#include "workflow/StationLoop.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <memory>
#include <vector>

namespace {

constexpr int kSerialSamples = 1500;
constexpr int kTimeoutMs = 60000;

// A front end that shows nothing.
class QuietView : public IWorkflowView {};

// Links usbLoggers virtual USB loggers and serialLoggers paced serial
// loggers, each to a connection of its own, and times their downloads
// from the first Download to the last one's end; 0 when one failed.
double TimeDownloads(int usbLoggers, int serialLoggers)
{
    std::vector<std::unique_ptr<VirtualSerialLogger>> serial;
    for (int i = 0; i < serialLoggers; ++i) {
        serial.push_back(std::make_unique<VirtualSerialLogger>(VirtualSerialConfig::Demo(3, kSerialSamples)));
        if (!serial.back()->Start())
            return 0;
    }
    DisplaySettings display = kDefaultDisplay;
    MessageQueue queue;
    queue.Install();
    CVirtualCh375 usb;
    SetCh375Library(&usb);
    std::vector<QuietView> views(static_cast<size_t>(usbLoggers + serialLoggers));
    std::vector<LoggerWorkflow*> workflows;
    double seconds = 0;
    {
        StationLoop station(queue);
        const auto now = static_cast<time64>(std::time(nullptr));
        bool attached = true;
        for (int i = 0; i < usbLoggers; ++i) {
            usb.Plug(i, MakeDemoUsbLogger(i % 2 == 0 ? 4 : 3, now), false);
            workflows.push_back(&station.Add(views[workflows.size()], display).Workflow());
            attached = workflows.back()->AttachUsb(i) && attached;
        }
        for (const auto& logger : serial) {
            workflows.push_back(&station.Add(views[workflows.size()], display).Workflow());
            bool isNew = false;
            attached = workflows.back()->AttachPort(logger->SlavePath(), isNew) > 0 && attached;
        }
        const auto all = [&](auto pred) {
            for (const LoggerWorkflow* w : workflows)
                if (!pred(*w))
                    return false;
            return true;
        };
        if (attached && station.RunUntil([&] { return all([](const LoggerWorkflow& w) { return w.State() == LinkState::Ready; }); }, kTimeoutMs)) {
            const auto begin = std::chrono::steady_clock::now();
            for (LoggerWorkflow* w : workflows)
                w->Download();
            const bool ended = station.RunUntil([&] { return all([](const LoggerWorkflow& w) { return !w.IsDownloading(); }); }, kTimeoutMs);
            const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
            const bool done = all([](const LoggerWorkflow& w) { return w.LastOutcome().result == CommandOutcome::Result::Done; });
            seconds = ended && done ? wall : 0;
        }
    }
    for (const auto& logger : serial)
        logger->Stop();
    SetCh375Library(nullptr);
    SetMessagePoster(nullptr);
    return seconds;
}

double g_oneAloneSeconds = 0;

void BM_OnePacedDownloadAlone(benchmark::State& state)
{
    for (auto _ : state) {
        const double wall = TimeDownloads(0, 1);
        if (wall <= 0) {
            state.SkipWithError("the download failed");
            return;
        }
        state.SetIterationTime(wall);
        g_oneAloneSeconds = wall;
        state.counters["wall_s"] = wall;
    }
}

void BM_FourLoggersAtOnce(benchmark::State& state)
{
    for (auto _ : state) {
        const double wall = TimeDownloads(2, 2);
        if (wall <= 0) {
            state.SkipWithError("a download failed");
            return;
        }
        state.SetIterationTime(wall);
        state.counters["wall_s"] = wall;
        if (g_oneAloneSeconds > 0)
            state.counters["vs_one_alone"] = wall / g_oneAloneSeconds;
    }
}

} // namespace

BENCHMARK(BM_OnePacedDownloadAlone)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_FourLoggersAtOnce)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
