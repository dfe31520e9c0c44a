// Serial reply decoder throughput: a whole 60000-sample download (one
// information frame and 1875 sample blocks) fed to the protocol in 512-byte
// chunks, clean and with noise bytes between the frames. The wire
// delivers 960 bytes/s at 9600 baud.
#include "link/serial/SerialProtocol.h"
#include "sim/serial/SerialReplyFrames.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QByteArray DownloadStream(int noiseBytes)
{
    const VirtualSerialConfig config = VirtualSerialConfig::Demo(3, MAX_SAMPLES);
    const std::uint8_t plain[3] = {0, 0, 0};
    QByteArray noise;
    std::uint32_t seed = 12345;
    for (int i = 0; i < noiseBytes; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise.append(static_cast<char>(seed >> 16));
    }
    QByteArray stream = serial::BuildInfoFrame(config, plain);
    for (int block = 0; block < serial::BlockCount(config); ++block)
        stream += noise + serial::BuildBlockFrame(config, block);
    return stream;
}

void ParseDownload(benchmark::State& state)
{
    const QByteArray stream = DownloadStream(static_cast<int>(state.range(0)));
    auto record = std::make_unique<CLoggerRecord>();
    auto protocol = std::make_unique<SerialProtocol>(record.get());
    constexpr int kChunk = 512;
    for (auto _ : state) {
        protocol->ClearReceive();
        for (qsizetype pos = 0; pos < stream.size(); pos += kChunk)
            protocol->Receive(stream.mid(pos, kChunk));
        if (record->m_nReceived != MAX_SAMPLES)
            state.SkipWithError("samples lost");
        benchmark::DoNotOptimize(record->m_fTemp[MAX_SAMPLES - 1]);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * stream.size());
    state.counters["x wire rate"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * stream.size() / 960.0, benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(ParseDownload)->Arg(0)->Arg(16)->Unit(benchmark::kMillisecond);
