// Wall time of a whole `halvern-th-cli download` from the virtual loggers,
// against the time the link itself needs: the bytes the serial logger sent
// at 9600 baud (10 bits a byte), and one 50 ms timer tick per USB block.
// Each run takes minutes, so each case runs once.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The CLI sits next to the bench folder in the build tree.
std::string CliPath()
{
    char self[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<size_t>(n) : 0);
    path = path.substr(0, path.rfind('/'));
    return path.substr(0, path.rfind('/')) + "/halvern-th-cli";
}

bool RunCli(std::vector<std::string> args)
{
    args.insert(args.begin(), CliPath());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Bytes the logger sent, from the "<" lines of a frame trace ("... serial < 2048: ...").
long long ReceivedBytes(const std::string& tracePath)
{
    std::ifstream in(tracePath);
    long long total = 0;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string stamp, link, dir, count;
        if (fields >> stamp >> link >> dir >> count && dir == "<")
            total += std::atoll(count.c_str());
    }
    return total;
}

std::string TempPath(const char* name)
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/halvern-bench-" + std::to_string(::getpid()) + "-" + name;
}

double TimeDownload(benchmark::State& state, const std::vector<std::string>& args)
{
    const auto begin = std::chrono::steady_clock::now();
    if (!RunCli(args))
        state.SkipWithError("halvern-th-cli download failed");
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

void BM_CliSerialDownload(benchmark::State& state)
{
    const std::string samples = std::to_string(state.range(0));
    const std::string tavo = TempPath("serial.tavo");
    const std::string trace = TempPath("serial.trace");
    for (auto _ : state) {
        const double wall = TimeDownload(state, {"download", "--simulate", "serial:3", "--samples", samples,
                                                 "-o", tavo, "--trace", trace});
        state.SetIterationTime(wall);
        const double wire = static_cast<double>(ReceivedBytes(trace)) * 10.0 / 9600.0;
        state.counters["wall_s"] = wall;
        state.counters["wire_s"] = wire;
        state.counters["wall_per_wire"] = wire > 0 ? wall / wire : 0;
    }
    std::remove(tavo.c_str());
    std::remove(trace.c_str());
}

void BM_CliUsbDownload(benchmark::State& state)
{
    const int samples = static_cast<int>(state.range(0));
    const int blocks = (samples + 15) / 16;
    const std::string tavo = TempPath("usb.tavo");
    for (auto _ : state) {
        const double wall = TimeDownload(state, {"download", "--simulate", "usb:1", "--samples", std::to_string(samples), "-o", tavo});
        state.SetIterationTime(wall);
        state.counters["wall_s"] = wall;
        state.counters["ticks_s"] = blocks * 0.050;
        state.counters["ms_per_block"] = wall * 1000.0 / blocks;
    }
    std::remove(tavo.c_str());
}

} // namespace

// 60000 two-byte samples; a USB type 1 logger addresses 64 KiB, 32767 samples.
BENCHMARK(BM_CliSerialDownload)->Arg(60000)->UseManualTime()->Iterations(1)->Repetitions(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_CliUsbDownload)->Arg(32767)->UseManualTime()->Iterations(1)->Repetitions(1)->Unit(benchmark::kSecond);
