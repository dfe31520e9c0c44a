#include "sim/DemoLogger.h"

#include "sim/serial/VirtualSerialLogger.h"
#include "sim/usb/DemoUsbLogger.h"

#include <ctime>

namespace {

constexpr int kDemoSamples = 144; // one day at the 10-minute interval
constexpr int kUsbIndex = 0;

} // namespace

CDemoLogger::CDemoLogger(SimulateSpec choice)
    : m_choice(choice)
{
    if (!m_choice.serial)
        SetCh375Library(&m_usb);
}

CDemoLogger::~CDemoLogger()
{
    if (m_serial)
        m_serial->Stop();
    if (!m_choice.serial)
        SetCh375Library(nullptr);
}

bool CDemoLogger::PlugIn()
{
    if (!m_choice.serial) {
        auto logger = MakeDemoUsbLogger(m_choice.type, static_cast<time64>(std::time(nullptr)));
        // A mission the user starts records as the program runs.
        logger->RunClock(m_choice.timeScale.value_or(1.0));
        m_usb.Plug(kUsbIndex, std::move(logger));
        return true;
    }
    if (m_serial)
        m_serial->Stop();
    VirtualSerialConfig config = VirtualSerialConfig::Demo(m_choice.type, kDemoSamples);
    config.timeScale = m_choice.timeScale.value_or(1.0);
    m_serial = std::make_unique<VirtualSerialLogger>(config);
    if (!m_serial->Start()) {
        m_serial.reset();
        return false;
    }
    m_serial->Announce();
    return true;
}

void CDemoLogger::PullOut()
{
    if (!m_choice.serial)
        m_usb.Unplug(kUsbIndex);
    else if (m_serial)
        m_serial->Vanish();
}

QString CDemoLogger::Label() const
{
    return m_choice.serial ? QStringLiteral("virtual serial logger (demo)") : QStringLiteral("virtual USB logger (demo)");
}
