#include "cli/SimulatedLoggers.h"

#include "sim/usb/DemoUsbLogger.h"

std::shared_ptr<CVirtualUsbLogger> MakeSimulatedUsbLogger(const SimulateSpec& spec, time64 now, QString& error)
{
    std::shared_ptr<CVirtualUsbLogger> logger = MakeDemoUsbLogger(spec.type, now);
    if (spec.samples > logger->MemoryCapacity()) {
        error = QStringLiteral("a USB logger of type %1 holds at most %2 samples").arg(spec.type).arg(logger->MemoryCapacity());
        return nullptr;
    }
    // The mission ends a second before now: samples at start, start + interval, ...
    const time64 span = static_cast<time64>(spec.samples) * spec.intervalMinutes * 60;
    logger->SetClock(now - span);
    logger->StartMission(now - span, spec.intervalMinutes);
    logger->Advance(span > 0 ? span - 1 : 0);
    if (spec.samples == 0) {
        // A mission starting now has taken its first sample already.
        logger->SetSamples({});
        logger->Stop();
    }
    return logger;
}

VirtualSerialConfig MakeSimulatedSerialConfig(const SimulateSpec& spec, time64 now)
{
    VirtualSerialConfig config = VirtualSerialConfig::Demo(spec.type, spec.samples);
    config.intervalMinutes = spec.intervalMinutes;
    config.start = now - static_cast<time64>(spec.samples) * spec.intervalMinutes * 60;
    config.paced = spec.paced;
    return config;
}
