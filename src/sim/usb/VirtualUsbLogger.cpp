#include "sim/usb/VirtualUsbLogger.h"

#include "link/usb/UsbFrames.h"
#include "record/TimeText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>

namespace {

// Where a logger of each type keeps its fields in the information block
// (data byte offsets, -1 when the type has no such field).
struct InfoPlace {
    int length, start, stop, interval, intervalWidth;
    int high, low, humiHigh, humiLow;
    int max, min, avg, humiMax, humiMin, humiAvg, used;
    bool signMagnitude;
};

constexpr InfoPlace kPlaces[] = {
    {35, -1, -1, -1, 0, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, false}, // unknown ID
    {40, 12, 25, 18, 2, 20, 22, -1, -1, 31, 33, 35, -1, -1, -1, 37, true},
    {35, 12, 20, 18, 1, -1, -1, -1, -1, 26, 28, 30, -1, -1, -1, 32, false},
    {40, 12, 19, 25, 2, 27, 29, -1, -1, 31, 33, 35, -1, -1, -1, 37, false},
    {50, 12, 19, 25, 2, 27, 29, 31, 33, 35, 37, 39, 41, 43, 45, 47, false},
};

void Put16(QByteArray& b, int at, int value)
{
    b[at] = static_cast<char>((value >> 8) & 0xFF);
    b[at + 1] = static_cast<char>(value & 0xFF);
}

void PutTime6(QByteArray& b, int at, time64 t)
{
    const LocalTm l = ToLocal(t);
    const int bytes[6] = {l.minute, l.hour, l.day, l.month, l.year % 100, l.year / 100};
    for (int i = 0; i < 6; ++i)
        b[at + i] = static_cast<char>(bytes[i]);
}

time64 Time7(const std::uint8_t* p)
{
    return MakeLocalTime(p[6] * 100 + p[5], p[4], p[3], p[2], p[1], p[0]);
}

int Word(const std::uint8_t* p)
{
    return (p[0] << 8) | p[1];
}

std::int16_t SignMagnitude(const std::uint8_t* p)
{
    const int magnitude = ((p[0] & 0x7F) << 8) | p[1];
    return static_cast<std::int16_t>((p[0] & 0x80) ? -magnitude : magnitude);
}

struct Stats {
    int max = 0, min = 0, avg = 0;
};

Stats Compute(const std::vector<std::int16_t>& v)
{
    Stats s;
    if (v.empty())
        return s;
    s.max = *std::max_element(v.begin(), v.end());
    s.min = *std::min_element(v.begin(), v.end());
    long long sum = 0;
    for (auto x : v)
        sum += x;
    s.avg = static_cast<int>(sum / static_cast<long long>(v.size()));
    return s;
}

} // namespace

CVirtualUsbLogger::CVirtualUsbLogger(const QByteArray& id, time64 clock)
    : m_id(id.left(11).leftJustified(11, '\0'))
    , m_tClock(clock)
    , m_tStart(clock)
    , m_tStop(clock)
    , m_description(usbframe::kDescriptionBytes, '\0')
    , m_nType(TypeFromIdUsb(QString::fromLatin1(m_id)))
{
    m_generator = [](int i) {
        const double t = 2500.0 + 300.0 * std::sin(i / 10.0);
        const double h = 5000.0 + 1000.0 * std::cos(i / 15.0);
        return std::pair<std::int16_t, std::int16_t>(static_cast<std::int16_t>(t), static_cast<std::int16_t>(h));
    };
}

int CVirtualUsbLogger::MemoryCapacity() const
{
    return 0xFFFF / BytesPerSample();
}

void CVirtualUsbLogger::SetSamples(std::vector<std::int16_t> temp, std::vector<std::int16_t> humi)
{
    const size_t n = std::min(temp.size(), static_cast<size_t>(MemoryCapacity()));
    temp.resize(n);
    humi.resize(n, 0);
    m_temp = std::move(temp);
    m_humi = std::move(humi);
}

void CVirtualUsbLogger::SetDescription(const QByteArray& bytes)
{
    m_description = bytes.left(usbframe::kDescriptionBytes).leftJustified(usbframe::kDescriptionBytes, '\0');
}

void CVirtualUsbLogger::StartMission(time64 start, int intervalMinutes)
{
    m_temp.clear();
    m_humi.clear();
    m_tStart = start;
    m_nIntervalMinutes = std::max(intervalMinutes, 1);
    m_tNextSample = start;
    m_nRunState = start <= m_tClock ? 1 : 2;
    RecordDue();
}

void CVirtualUsbLogger::Stop()
{
    if (m_nRunState != 0)
        m_tStop = m_tClock;
    m_nRunState = 0;
}

void CVirtualUsbLogger::Advance(time64 seconds)
{
    m_tClock += seconds;
    if (m_live)
        m_live->Advance(seconds);
    RecordDue();
}

void CVirtualUsbLogger::SetClock(time64 t)
{
    m_tClock = t;
    if (m_live)
        m_live->Set(t);
}

void CVirtualUsbLogger::RunClock(double scale)
{
    m_live.emplace(m_tClock, scale);
}

void CVirtualUsbLogger::CatchUp()
{
    if (!m_live)
        return;
    const time64 now = m_live->Now();
    if (now > m_tClock) {
        m_tClock = now;
        RecordDue();
    }
}

void CVirtualUsbLogger::RecordDue()
{
    if (m_nRunState == 2 && m_tClock >= m_tStart)
        m_nRunState = 1;
    while (m_nRunState == 1 && m_tNextSample <= m_tClock) {
        if (SampleCount() >= MemoryCapacity()) {
            Stop();
            break;
        }
        const auto [t, h] = m_generator(SampleCount());
        m_temp.push_back(t);
        m_humi.push_back(h);
        m_tNextSample += static_cast<time64>(m_nIntervalMinutes) * 60;
    }
}

QByteArray CVirtualUsbLogger::InfoBlock() const
{
    const InfoPlace& at = kPlaces[m_nType >= 1 && m_nType <= 4 ? m_nType : 0];
    QByteArray b(at.length, '\0');
    b.replace(0, 11, m_id);
    if (at.start >= 0) {
        PutTime6(b, at.start, m_tStart);
        PutTime6(b, at.stop, m_nRunState == 0 ? m_tStop : m_tClock);
        if (at.intervalWidth == 1)
            b[at.interval] = static_cast<char>(std::min(m_nIntervalMinutes, 255));
        else
            Put16(b, at.interval, m_nIntervalMinutes);
        if (at.high >= 0) {
            auto limit = [&](int value) {
                return at.signMagnitude ? (value < 0 ? 0x8000 | -value : value) : value;
            };
            Put16(b, at.high, limit(m_nHighLimit));
            Put16(b, at.low, limit(m_nLowLimit));
        }
        if (at.humiHigh >= 0) {
            Put16(b, at.humiHigh, m_nHumiHigh);
            Put16(b, at.humiLow, m_nHumiLow);
        }
        const Stats t = Compute(m_temp);
        Put16(b, at.max, t.max);
        Put16(b, at.min, t.min);
        Put16(b, at.avg, t.avg);
        if (at.humiMax >= 0) {
            const Stats h = Compute(m_humi);
            Put16(b, at.humiMax, h.max);
            Put16(b, at.humiMin, h.min);
            Put16(b, at.humiAvg, h.avg);
        }
        Put16(b, at.used, SampleCount() * BytesPerSample());
    }
    for (const auto& [offset, bytes] : m_patches)
        if (offset >= 0 && offset < b.size())
            b.replace(offset, std::min<qsizetype>(bytes.size(), b.size() - offset), bytes);
    return b;
}

QByteArray CVirtualUsbLogger::Memory() const
{
    QByteArray m(SampleCount() * BytesPerSample(), '\0');
    for (int i = 0; i < SampleCount(); ++i) {
        Put16(m, i * BytesPerSample(), m_temp[i]);
        if (m_nType == 4)
            Put16(m, i * 4 + 2, m_humi[i]);
    }
    return m;
}

QByteArray CVirtualUsbLogger::TakeReply()
{
    m_bHasReply = false;
    return std::exchange(m_reply, {});
}

void CVirtualUsbLogger::Reply(const std::uint8_t* data, int n)
{
    m_reply = QByteArray(reinterpret_cast<const char*>(data), n);
    m_bHasReply = true;
}

void CVirtualUsbLogger::Receive(const std::uint8_t* frame, int n)
{
    m_bHasReply = false;
    m_reply.clear();
    if (n < usbframe::kRequestLength)
        return;
    CatchUp();
    using namespace usbframe;
    if (n == kRequestLength && HasSignature(frame, kReadInfo))
        OnInfo(frame);
    else if (n == kRequestLength && HasSignature(frame, kReadBlock))
        OnBlock(frame);
    else if (n == kRequestLength && HasSignature(frame, kReadRunState))
        OnRunState(frame);
    else if (n == kRequestLength && HasSignature(frame, kReadDescription))
        OnReadDescription(frame);
    else if (HasSignature(frame, kWriteSettings))
        OnSettings(frame, n);
    else if (HasSignature(frame, kWriteDescription))
        OnWriteDescription(frame, n);
    if (!HasSignature(frame, kReadDescription))
        m_bDescriptionArmed = false;
}

void CVirtualUsbLogger::OnInfo(const std::uint8_t* frame)
{
    if (frame[4] == usbframe::kStopParam[0] && frame[5] == usbframe::kStopParam[1])
        Stop();
    const QByteArray reply = QByteArray(reinterpret_cast<const char*>(frame), 7) + InfoBlock();
    Reply(reinterpret_cast<const std::uint8_t*>(reply.constData()), static_cast<int>(reply.size()));
}

void CVirtualUsbLogger::OnBlock(const std::uint8_t* frame)
{
    const int address = Word(frame + 4);
    const int n = frame[6];
    const QByteArray memory = Memory();
    QByteArray reply(reinterpret_cast<const char*>(frame), 7);
    for (int i = 0; i < n; ++i) {
        const int a = address + i;
        reply.append(a < memory.size() ? memory[a] : '\xFF');
    }
    Reply(reinterpret_cast<const std::uint8_t*>(reply.constData()), static_cast<int>(reply.size()));
}

void CVirtualUsbLogger::OnRunState(const std::uint8_t* frame)
{
    if (!HasRunState())
        return;
    std::uint8_t reply[7];
    std::memcpy(reply, frame, 5);
    reply[5] = static_cast<std::uint8_t>(m_nRunState);
    reply[6] = static_cast<std::uint8_t>(m_nBattery);
    Reply(reply, 7);
}

void CVirtualUsbLogger::OnReadDescription(const std::uint8_t* frame)
{
    if (!HasDescription())
        return;
    // The first request is answered by its echo, the second by the echo and
    // the stored text.
    QByteArray reply(reinterpret_cast<const char*>(frame), 7);
    if (m_bDescriptionArmed)
        reply += m_description;
    m_bDescriptionArmed = !m_bDescriptionArmed;
    Reply(reinterpret_cast<const std::uint8_t*>(reply.constData()), static_cast<int>(reply.size()));
}

void CVirtualUsbLogger::OnSettings(const std::uint8_t* frame, int n)
{
    if (!ApplySettings(frame, n))
        return;
    m_lastSettings = QByteArray(reinterpret_cast<const char*>(frame), n);
    // The echo ends with two bytes of the logger's own: run state and battery.
    std::uint8_t reply[usbframe::kMaxFrame];
    std::memcpy(reply, frame, static_cast<size_t>(n));
    reply[n - 2] = static_cast<std::uint8_t>(m_nRunState);
    reply[n - 1] = static_cast<std::uint8_t>(m_nBattery);
    Reply(reply, n);
}

bool CVirtualUsbLogger::ApplySettings(const std::uint8_t* f, int n)
{
    if (n == usbframe::kClockFrame) {
        SetClock(Time7(f + 18));
        RecordDue();
        return true;
    }
    const bool type1 = m_nType == 1 && n == usbframe::kSettingsFrameShort;
    const bool type3 = m_nType == 3 && n == usbframe::kSettingsFrameShort;
    const bool type4 = m_nType == 4 && n == usbframe::kSettingsFrameHumidity;
    if (!type1 && !type3 && !type4)
        return false;
    const time64 start = Time7(f + 18);
    // A mission started here records plausible readings.
    m_generator = [interval = type1 ? Word(f + 25) : Word(f + 32)](int i) {
        const LiveReading r = MissionReading(i, interval);
        return std::pair<std::int16_t, std::int16_t>(r.temp, r.humi);
    };
    if (type1) {
        SetClock(Time7(f + 31));
        m_nHighLimit = SignMagnitude(f + 27);
        m_nLowLimit = SignMagnitude(f + 29);
        StartMission(start, Word(f + 25));
        return true;
    }
    SetClock(Time7(f + 25));
    m_nHighLimit = static_cast<std::int16_t>(Word(f + 34));
    m_nLowLimit = static_cast<std::int16_t>(Word(f + 36));
    if (type4) {
        m_nHumiHigh = static_cast<std::int16_t>(Word(f + 38));
        m_nHumiLow = static_cast<std::int16_t>(Word(f + 40));
    }
    StartMission(start, Word(f + 32));
    return true;
}

void CVirtualUsbLogger::OnWriteDescription(const std::uint8_t* frame, int n)
{
    if (!HasDescription() || n != usbframe::kDescriptionFrame || !m_bKeepsDescription)
        return;
    m_description = QByteArray(reinterpret_cast<const char*>(frame + 7), usbframe::kDescriptionBytes);
}
