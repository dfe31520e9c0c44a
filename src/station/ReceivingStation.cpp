#include "station/ReceivingStation.h"

#include "link/serial/Ch341Library.h"
#include "link/serial/Ch341Ports.h"
#include "link/serial/ComPort.h"
#include "link/serial/PortTable.h"
#include "link/usb/Ch375Library.h"

#include <QFileInfo>

namespace {

QString Canonical(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

} // namespace

ReceivingStation::ReceivingStation(StationSettings settings, DisplaySettings& display, Listener listener)
    : m_settings(std::move(settings)), m_context{m_settings, display, nullptr, nullptr}, m_listener(std::move(listener)),
      m_address(NewMessageAddress())
{
}

ReceivingStation::~ReceivingStation()
{
    Stop();
}

void ReceivingStation::SetIndex(CArchive* archive)
{
    if (archive)
        m_context.index = [archive](const QString& dataFile) { return ImportReconnecting(*archive, dataFile); };
    else
        m_context.index = nullptr;
}

void ReceivingStation::Start()
{
    if (m_running)
        return;
    m_running = true;
    const MessageAddress address = m_address;
    if (m_settings.watchUsb)
        GetCh375Library().CH375SetDeviceNotify(0, nullptr, [address](unsigned long event) { PostToMain(address, UsbNotify{event}); });
    CH341PtSetDevNotify(nullptr, [address](int value) { PostToMain(address, SerialNotify{value}); });
    if (m_settings.watchUsb)
        ScanUsb();
    ScanPorts();
}

void ReceivingStation::Stop()
{
    if (!m_running)
        return;
    m_running = false;
    if (m_settings.watchUsb)
        GetCh375Library().CH375SetDeviceNotify(0, nullptr, nullptr);
    CH341PtSetDevNotify(nullptr, nullptr);
    for (auto& [key, logger] : m_loggers)
        m_gone[key] = logger->Row();
    m_loggers.clear();
}

void ReceivingStation::OnMessage(const Message& message)
{
    if (message.address == m_address) {
        if (const auto* usb = std::get_if<UsbNotify>(&message.body))
            OnUsbNotify(usb->event);
        else if (const auto* serial = std::get_if<SerialNotify>(&message.body))
            OnSerialNotify(serial->port);
    } else {
        for (auto& [key, logger] : m_loggers)
            logger->Connection().Workflow().OnMessage(message);
    }
    AdvanceAll();
}

void ReceivingStation::OnTimer(int id)
{
    const int key = id / SharedTimers::kIdsPerLogger;
    if (auto it = m_loggers.find(key); it != m_loggers.end())
        it->second->Connection().Workflow().OnTimer(id % SharedTimers::kIdsPerLogger);
    AdvanceAll();
}

void ReceivingStation::AdvanceAll()
{
    const auto tell = [this](StationEvent::Kind kind, const StationRow& row) { Emit(kind, row); };
    for (auto& [key, logger] : m_loggers)
        logger->Advance(tell);
}

void ReceivingStation::Emit(StationEvent::Kind kind, const StationRow& row)
{
    if (kind == StationEvent::Kind::Failed && m_loggers.count(row.key) && m_loggers[row.key]->WriteFailed())
        m_writeFailed = true;
    if (m_listener)
        m_listener(StationEvent{kind, QDateTime::currentDateTime(), row});
}

void ReceivingStation::OnUsbNotify(unsigned long event)
{
    if (!m_running || !m_settings.watchUsb)
        return;
    if (event == Ch375Library::kDeviceRemoved) {
        Ch375Library& library = GetCh375Library();
        std::vector<int> gone;
        for (auto& [key, logger] : m_loggers)
            if (logger->UsbIndex() >= 0 && !library.CH375DevicePresent(static_cast<unsigned long>(logger->UsbIndex())))
                gone.push_back(key);
        const auto tell = [this](StationEvent::Kind kind, const StationRow& row) { Emit(kind, row); };
        for (int key : gone) {
            m_loggers[key]->Detach(tell);
            m_gone[key] = m_loggers[key]->Row();
            m_loggers.erase(key);
        }
    } else if (event == Ch375Library::kDeviceArrived) {
        ScanUsb();
    }
}

void ReceivingStation::OnSerialNotify(int value)
{
    if (!m_running)
        return;
    const QString path = PortTable::Instance().PathOf(value > 0 ? value : -value);
    if (value > 0) {
        if (Watched(path) && !LoggerOnPort(path)) {
            StationLogger& logger = NewLogger();
            if (logger.AttachPort(path))
                Attached(logger);
            else
                m_loggers.erase(logger.Row().key);
        }
        return;
    }
    for (auto& [key, logger] : m_loggers) {
        if (logger->SerialPort() != -value)
            continue;
        logger->Detach([this](StationEvent::Kind kind, const StationRow& row) { Emit(kind, row); });
        m_gone[key] = logger->Row();
        m_loggers.erase(key);
        return;
    }
}

bool ReceivingStation::Watched(const QString& path) const
{
    if (m_settings.watchAllPorts)
        return true;
    const QString canonical = Canonical(path);
    for (const QString& port : m_settings.ports)
        if (Canonical(port) == canonical)
            return true;
    return false;
}

void ReceivingStation::ScanUsb()
{
    Ch375Library& library = GetCh375Library();
    for (int index = 0; index < Ch375Library::kMaxDevices; ++index) {
        if (LoggerOnUsb(index) || !library.CH375DevicePresent(static_cast<unsigned long>(index)))
            continue;
        StationLogger& logger = NewLogger();
        if (logger.AttachUsb(index))
            Attached(logger);
        else
            m_loggers.erase(logger.Row().key);
    }
}

void ReceivingStation::ScanPorts()
{
    QStringList paths;
    if (m_settings.watchAllPorts) {
        LsComm::CComPort scanner;
        for (int port : ScanCh341Ports(scanner))
            paths << PortTable::Instance().PathOf(port);
    } else {
        paths = m_settings.ports;
    }
    for (const QString& path : paths) {
        if (LoggerOnPort(path))
            continue;
        StationLogger& logger = NewLogger();
        if (logger.AttachPort(path))
            Attached(logger);
        else
            m_loggers.erase(logger.Row().key);
    }
}

StationLogger* ReceivingStation::LoggerOnUsb(int index)
{
    for (auto& [key, logger] : m_loggers)
        if (logger->UsbIndex() == index)
            return logger.get();
    return nullptr;
}

StationLogger* ReceivingStation::LoggerOnPort(const QString& path)
{
    const QString canonical = Canonical(path);
    for (auto& [key, logger] : m_loggers)
        if (!logger->Row().usb && Canonical(logger->Row().port) == canonical)
            return logger.get();
    return nullptr;
}

StationLogger& ReceivingStation::NewLogger()
{
    const int key = m_nextKey++;
    auto& slot = m_loggers[key];
    slot = std::make_unique<StationLogger>(key, m_timers, m_context);
    return *slot;
}

void ReceivingStation::Attached(StationLogger& logger)
{
    Emit(StationEvent::Kind::Attached, logger.Row());
}

std::vector<StationRow> ReceivingStation::Rows() const
{
    std::map<int, StationRow> all = m_gone;
    for (const auto& [key, logger] : m_loggers)
        all[key] = logger->Row();
    std::vector<StationRow> rows;
    rows.reserve(all.size());
    for (auto& [key, row] : all)
        rows.push_back(std::move(row));
    return rows;
}

LoggerConnection* ReceivingStation::ConnectionOf(int key)
{
    auto it = m_loggers.find(key);
    return it == m_loggers.end() ? nullptr : &it->second->Connection();
}

bool ReceivingStation::Busy() const
{
    for (const auto& [key, logger] : m_loggers)
        if (logger->Busy())
            return true;
    return false;
}

void ReceivingStation::FailIdentifying(const QString& reason)
{
    const auto tell = [this](StationEvent::Kind kind, const StationRow& row) { Emit(kind, row); };
    for (auto& [key, logger] : m_loggers)
        if (logger->Row().attached && logger->Row().state == StationState::Identifying)
            logger->Fail(reason, tell);
}

bool ReceivingStation::AnyWriteFailed() const
{
    return m_writeFailed;
}
