#include "sim/DemoLogger.h"

#include "sim/serial/VirtualSerialLogger.h"
#include "sim/usb/DemoUsbLogger.h"

#include <ctime>

namespace {

constexpr int kDemoSamples = 144; // one day at the 10-minute interval

} // namespace

CDemoLogger::CDemoLogger(SimulateSpec choice)
    : CDemoLogger(std::vector<SimulateSpec>{choice})
{
}

CDemoLogger::CDemoLogger(std::vector<SimulateSpec> choices)
    : m_choices(std::move(choices)), m_serial(m_choices.size())
{
    int nextIndex = 0;
    for (const SimulateSpec& choice : m_choices)
        m_usbIndex.push_back(choice.serial ? -1 : nextIndex++);
    if (AnyUsb())
        SetCh375Library(&m_usb);
}

CDemoLogger::~CDemoLogger()
{
    for (auto& serial : m_serial)
        if (serial)
            serial->Stop();
    if (AnyUsb())
        SetCh375Library(nullptr);
}

bool CDemoLogger::AnyUsb() const
{
    for (int index : m_usbIndex)
        if (index >= 0)
            return true;
    return false;
}

QString CDemoLogger::Id(int i) const
{
    const SimulateSpec& choice = m_choices.at(static_cast<std::size_t>(i));
    const QString base = choice.serial
        ? VirtualSerialConfig::Demo(choice.type, 0).EffectiveId()
        : QString::fromLatin1(MakeDemoUsbLogger(choice.type, 0)->m_id);
    return SimulatedId(base, choice.ordinal);
}

bool CDemoLogger::PlugIn()
{
    bool all = true;
    for (std::size_t i = 0; i < m_choices.size(); ++i) {
        const SimulateSpec& choice = m_choices[i];
        if (choice.serial) {
            all = PlugInSerial(i) && all;
            continue;
        }
        auto logger = MakeDemoUsbLogger(choice.type, static_cast<time64>(std::time(nullptr)));
        logger->m_id = Id(static_cast<int>(i)).toLatin1();
        // A mission the user starts records as the program runs.
        logger->RunClock(choice.timeScale.value_or(1.0));
        m_usb.Plug(m_usbIndex[i], std::move(logger));
    }
    return all;
}

bool CDemoLogger::PlugInSerial(std::size_t i)
{
    const SimulateSpec& choice = m_choices[i];
    auto& serial = m_serial[i];
    if (serial)
        serial->Stop();
    VirtualSerialConfig config = VirtualSerialConfig::Demo(choice.type, kDemoSamples);
    config.id = Id(static_cast<int>(i));
    config.timeScale = choice.timeScale.value_or(1.0);
    serial = std::make_unique<VirtualSerialLogger>(config);
    if (!serial->Start()) {
        serial.reset();
        return false;
    }
    serial->Announce();
    return true;
}

void CDemoLogger::PullOut()
{
    for (std::size_t i = 0; i < m_choices.size(); ++i) {
        if (m_usbIndex[i] >= 0)
            m_usb.Unplug(m_usbIndex[i]);
        else if (m_serial[i])
            m_serial[i]->Vanish();
    }
}

QString CDemoLogger::Label() const
{
    if (m_choices.size() > 1)
        return QStringLiteral("%1 virtual loggers (demo)").arg(m_choices.size());
    return m_choices.front().serial ? QStringLiteral("virtual serial logger (demo)")
                                    : QStringLiteral("virtual USB logger (demo)");
}
