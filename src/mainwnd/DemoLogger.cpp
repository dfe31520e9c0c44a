#include "mainwnd/DemoLogger.h"

#include "sim/serial/VirtualSerialLogger.h"
#include "sim/usb/DemoUsbLogger.h"

#include <ctime>

namespace {

constexpr int kDemoSamples = 144; // one day at the 10-minute interval
constexpr int kUsbIndex = 0;

struct TypeRange {
    int low, high;
};

TypeRange TypesOf(DemoChoice::Link link)
{
    return link == DemoChoice::Link::Usb ? TypeRange{1, 4} : TypeRange{2, 6};
}

} // namespace

std::optional<DemoChoice> ParseDemoChoice(const QString& text, QString& error)
{
    const QString linkName = text.section(QLatin1Char(':'), 0, 0);
    DemoChoice choice;
    if (linkName == QLatin1String("usb")) {
        choice.link = DemoChoice::Link::Usb;
    } else if (linkName == QLatin1String("serial")) {
        choice.link = DemoChoice::Link::Serial;
    } else {
        error = QStringLiteral("--simulate takes usb[:TYPE] or serial[:TYPE], not \"%1\"").arg(text);
        return std::nullopt;
    }
    const TypeRange range = TypesOf(choice.link);
    if (text.contains(QLatin1Char(':'))) {
        bool ok = false;
        choice.type = text.section(QLatin1Char(':'), 1).toInt(&ok);
        if (!ok || choice.type < range.low || choice.type > range.high) {
            error = QStringLiteral("a %1 logger's type is %2 to %3, not \"%4\"")
                        .arg(linkName)
                        .arg(range.low)
                        .arg(range.high)
                        .arg(text.section(QLatin1Char(':'), 1));
            return std::nullopt;
        }
    }
    return choice;
}

CDemoLogger::CDemoLogger(DemoChoice choice)
    : m_choice(choice)
{
    if (m_choice.link == DemoChoice::Link::Usb)
        SetCh375Library(&m_usb);
}

CDemoLogger::~CDemoLogger()
{
    if (m_serial)
        m_serial->Stop();
    if (m_choice.link == DemoChoice::Link::Usb)
        SetCh375Library(nullptr);
}

bool CDemoLogger::PlugIn()
{
    if (m_choice.link == DemoChoice::Link::Usb) {
        m_usb.Plug(kUsbIndex, MakeDemoUsbLogger(m_choice.type, static_cast<time64>(std::time(nullptr))));
        return true;
    }
    if (m_serial)
        m_serial->Stop();
    m_serial = std::make_unique<VirtualSerialLogger>(VirtualSerialConfig::Demo(m_choice.type, kDemoSamples));
    if (!m_serial->Start()) {
        m_serial.reset();
        return false;
    }
    m_serial->Announce();
    return true;
}

void CDemoLogger::PullOut()
{
    if (m_choice.link == DemoChoice::Link::Usb)
        m_usb.Unplug(kUsbIndex);
    else if (m_serial)
        m_serial->Vanish();
}

QString CDemoLogger::Label() const
{
    return m_choice.link == DemoChoice::Link::Usb ? QStringLiteral("virtual USB logger (demo)")
                                                   : QStringLiteral("virtual serial logger (demo)");
}
