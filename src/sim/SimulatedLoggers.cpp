#include "sim/SimulatedLoggers.h"

#include "sim/usb/DemoUsbLogger.h"

std::shared_ptr<CVirtualUsbLogger> MakeSimulatedUsbLogger(const SimulateSpec& chosen, time64 now, QString& error)
{
    std::shared_ptr<CVirtualUsbLogger> logger = MakeDemoUsbLogger(chosen.type, now);
    logger->m_id = SimulatedId(QString::fromLatin1(logger->m_id), chosen.ordinal).toLatin1();
    if (chosen.samples > logger->MemoryCapacity()) {
        error = QStringLiteral("a USB logger of type %1 holds at most %2 samples").arg(chosen.type).arg(logger->MemoryCapacity());
        return nullptr;
    }
    // The mission ends a second before now: samples at start, start + interval, ...
    const time64 span = static_cast<time64>(chosen.samples) * chosen.intervalMinutes * 60;
    logger->SetClock(now - span);
    logger->StartMission(now - span, chosen.intervalMinutes);
    logger->Advance(span > 0 ? span - 1 : 0);
    if (chosen.samples == 0) {
        // A mission starting now has taken its first sample already.
        logger->SetSamples({});
        logger->Stop();
    }
    if (chosen.timeScale)
        logger->RunClock(*chosen.timeScale);
    return logger;
}

VirtualSerialConfig MakeSimulatedSerialConfig(const SimulateSpec& chosen, time64 now)
{
    VirtualSerialConfig config = VirtualSerialConfig::Demo(chosen.type, chosen.samples);
    config.id = SimulatedId(config.EffectiveId(), chosen.ordinal);
    config.intervalMinutes = chosen.intervalMinutes;
    config.start = now - static_cast<time64>(chosen.samples) * chosen.intervalMinutes * 60;
    config.paced = chosen.paced;
    config.timeScale = chosen.timeScale.value_or(1.0);
    return config;
}
