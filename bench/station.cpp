// The receiving station: eight loggers (four paced virtual serial loggers,
// four virtual USB loggers with a real-time reply latency) downloaded and
// filed at once, against the slowest of them alone (vs_slowest_alone, goal
// at most 1.10, with every sample exact); the processor time the station
// takes while it watches with nothing to download (goal under 1 % of a
// core); the memory each attached logger takes.
#include "datafile/LoggerFile.h"
#include "sim/SimulatedLoggers.h"
#include "sim/serial/VirtualSerialLogger.h"
#include "sim/usb/VirtualCh375.h"
#include "station/ReceivingStation.h"
#include "workflow/EventLoop.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <fstream>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSerialSamples = 1000;
constexpr int kUsbSamples = 1000;
constexpr int kUsbLatencyMs = 2;
constexpr int kTimeoutMs = 120000;

struct Plan {
    bool serial;
    int type;
};
const std::vector<Plan> kEight = {{true, 3}, {true, 4}, {true, 5}, {true, 6}, {false, 1}, {false, 2}, {false, 3}, {false, 4}};

// The loggers of a plan, attached to a station filing into a folder of its own.
class Rig {
public:
    explicit Rig(const std::vector<Plan>& plans)
    {
        const auto now = static_cast<time64>(std::time(nullptr));
        settings.folder = folder.path();
        settings.watchAllPorts = false;
        settings.watchUsb = false;
        int index = 0;
        for (const Plan& plan : plans) {
            SimulateSpec kind;
            kind.serial = plan.serial;
            kind.type = plan.type;
            kind.samples = plan.serial ? kSerialSamples : kUsbSamples;
            kind.ordinal = static_cast<int>(held.size());
            if (plan.serial) {
                serial.push_back(std::make_unique<VirtualSerialLogger>(MakeSimulatedSerialConfig(kind, now)));
                serial.back()->Start();
                settings.ports << serial.back()->SlavePath();
                held.push_back(Temps(serial.back()->Config().temps));
            } else {
                QString error;
                auto logger = MakeSimulatedUsbLogger(kind, now, error);
                held.push_back({logger->m_temp.begin(), logger->m_temp.end()});
                usb.Plug(index++, logger, false);
                settings.watchUsb = true;
            }
        }
        usb.GetFaults().latencyMs = kUsbLatencyMs;
        usb.SetRealTime(true);
        queue.Install();
        SetCh375Library(&usb);
    }
    ~Rig()
    {
        station.reset();
        for (auto& logger : serial)
            logger->Stop();
        SetCh375Library(nullptr);
        SetMessagePoster(nullptr);
    }

    // Seconds from the start of the station until every logger is filed; 0
    // when one failed or a sample differs.
    double Run()
    {
        const auto begin = std::chrono::steady_clock::now();
        station = std::make_unique<ReceivingStation>(settings, display, nullptr);
        loop = std::make_unique<EventLoop>(queue, [this](const Message& m) { station->OnMessage(m); });
        loop->AddTimers(station->Timers(), [this](int id) { station->OnTimer(id); });
        station->Start();
        if (!loop->RunUntil([this] { return !station->Busy(); }, kTimeoutMs))
            return 0;
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        return AllExact() ? wall : 0;
    }
    EventLoop& Loop() { return *loop; }

private:
    static std::vector<int> Temps(const std::vector<float>& temps)
    {
        std::vector<int> out;
        for (float t : temps)
            out.push_back(static_cast<int>(std::lround(t * 100.0f)));
        return out;
    }
    bool AllExact() const
    {
        const auto rows = station->Rows();
        if (rows.size() != held.size())
            return false;
        for (const StationRow& row : rows) {
            CLoggerRecord filed;
            if (row.state != StationState::Archived || OpenDataFileRecord(row.dataFile, filed, display) != OpenDataResult::Loaded)
                return false;
            const bool found = std::any_of(held.begin(), held.end(), [&](const std::vector<int>& temps) {
                if (static_cast<int>(temps.size()) != filed.m_nCount)
                    return false;
                for (int i = 0; i < filed.m_nCount; ++i)
                    if (static_cast<int>(std::lround(filed.m_fTemp[i] * 100.0f)) != temps[i])
                        return false;
                return true;
            });
            if (!found)
                return false;
        }
        return true;
    }

    QTemporaryDir folder;
    StationSettings settings;
    DisplaySettings display = kDefaultDisplay;
    MessageQueue queue;
    CVirtualCh375 usb;
    std::vector<std::unique_ptr<VirtualSerialLogger>> serial;
    std::vector<std::vector<int>> held;
    std::unique_ptr<ReceivingStation> station;
    std::unique_ptr<EventLoop> loop;
};

double g_slowestAlone = 0;

void BM_EachLoggerAlone(benchmark::State& state)
{
    for (auto _ : state) {
        double slowest = 0;
        for (const Plan& plan : kEight) {
            Rig rig({plan});
            const double wall = rig.Run();
            if (wall <= 0) {
                state.SkipWithError("a download failed or a sample differs");
                return;
            }
            slowest = std::max(slowest, wall);
        }
        g_slowestAlone = slowest;
        state.SetIterationTime(slowest);
        state.counters["slowest_s"] = slowest;
    }
}

void BM_EightLoggersAtOnce(benchmark::State& state)
{
    for (auto _ : state) {
        Rig rig(kEight);
        const double wall = rig.Run();
        if (wall <= 0) {
            state.SkipWithError("a download failed or a sample differs");
            return;
        }
        state.SetIterationTime(wall);
        state.counters["wall_s"] = wall;
        if (g_slowestAlone > 0)
            state.counters["vs_slowest_alone"] = wall / g_slowestAlone;
    }
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long RssKb()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The station watching the real USB and serial hot-plug with nothing
// plugged in, then with eight filed loggers still attached (whose status
// the workflow keeps polling), for state.range(0) seconds each.
void BM_WatchingIdle(benchmark::State& state)
{
    const int seconds = static_cast<int>(state.range(0));
    for (auto _ : state) {
        QTemporaryDir folder;
        StationSettings settings;
        settings.folder = folder.path();
        DisplaySettings display = kDefaultDisplay;
        MessageQueue queue;
        queue.Install();
        {
            ReceivingStation station(settings, display, nullptr);
            EventLoop loop(queue, [&](const Message& m) { station.OnMessage(m); });
            loop.AddTimers(station.Timers(), [&](int id) { station.OnTimer(id); });
            station.Start();
            const double before = CpuSeconds();
            loop.RunUntil([] { return false; }, seconds * 1000);
            state.counters["cpu_pct_nothing_attached"] = 100.0 * (CpuSeconds() - before) / seconds;
        }
        SetMessagePoster(nullptr);

        const long rssBefore = RssKb();
        Rig rig(kEight);
        if (rig.Run() <= 0) {
            state.SkipWithError("a download failed");
            return;
        }
        state.counters["rss_kB_per_attached_logger"] = static_cast<double>(RssKb() - rssBefore) / static_cast<double>(kEight.size());
        const double before = CpuSeconds();
        rig.Loop().RunUntil([] { return false; }, seconds * 1000);
        state.counters["cpu_pct_eight_filed_attached"] = 100.0 * (CpuSeconds() - before) / seconds;
    }
}

} // namespace

BENCHMARK(BM_EachLoggerAlone)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_EightLoggersAtOnce)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_WatchingIdle)->Arg(60)->Iterations(1)->Unit(benchmark::kSecond);
