#include "sim/serial/VirtualSerialLogger.h"

#include "base/CodePage.h"
#include "link/serial/Ch341Library.h"
#include "link/serial/PortTable.h"
#include "link/serial/SerialLayouts.h"
#include "sim/serial/SerialReplyFrames.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

using namespace serial;

namespace {

constexpr int kBytesPerSecond = 960; // 9600 baud, 10 bits a byte
constexpr int kPacedPiece = 16;
constexpr int kHeadLength = 7;
constexpr int kSettingsPayload = 35;
constexpr int kDescriptionText = 50;

time64 WallClock()
{
    return static_cast<time64>(std::time(nullptr));
}

bool Sig(const std::uint8_t* b, const Signature& sig)
{
    return b[1] == sig[0] && b[2] == sig[1] && b[3] == sig[2];
}

bool Mark(const std::uint8_t* b, const Signature& mark)
{
    return b[4] == mark[0] && b[5] == mark[1] && b[6] == mark[2];
}

} // namespace

VirtualSerialLogger::VirtualSerialLogger(VirtualSerialConfig config)
    : m_config(std::move(config)), m_clock(WallClock(), m_config.timeScale)
{
    if (m_config.start == 0)
        m_config.start = (WallClock() - 86400) / 60 * 60;
}

VirtualSerialLogger::~VirtualSerialLogger()
{
    Stop();
}

bool VirtualSerialLogger::Start()
{
    Stop();
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0)
        return false;
    char name[128] = {};
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 || ::ptsname_r(m_master, name, sizeof name) != 0) {
        Stop();
        return false;
    }
    termios tio {};
    if (::tcgetattr(m_master, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_master, TCSANOW, &tio);
    }
    m_slavePath = QString::fromLocal8Bit(name);
    m_port = PortTable::Instance().Register(m_slavePath, true);
    m_stopEvent = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_port == 0 || m_stopEvent < 0) {
        Stop();
        return false;
    }
    m_input.clear();
    m_nextBlock = -1;
    m_thread = std::thread([this] { ThreadMain(); });
    return true;
}

void VirtualSerialLogger::Stop()
{
    if (m_thread.joinable()) {
        ::eventfd_write(m_stopEvent, 1);
        m_thread.join();
    }
    if (m_stopEvent >= 0)
        ::close(m_stopEvent);
    m_stopEvent = -1;
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
    if (m_port > 0)
        PortTable::Instance().Unregister(m_port);
    m_port = 0;
}

void VirtualSerialLogger::Announce() const
{
    if (m_port > 0)
        Ch341AnnounceVirtual(m_port);
}

void VirtualSerialLogger::Vanish()
{
    const int port = m_port;
    Stop();
    if (port > 0)
        Ch341AnnounceVirtual(-port);
}

void VirtualSerialLogger::SetNoise(int bytes)
{
    std::lock_guard lock(m_mutex);
    m_noise = bytes;
}

void VirtualSerialLogger::SetFalseHead(bool on)
{
    std::lock_guard lock(m_mutex);
    m_falseHead = on;
}

void VirtualSerialLogger::CorruptNextChecksum()
{
    std::lock_guard lock(m_mutex);
    m_corruptNext = true;
}

void VirtualSerialLogger::DropBlock(int index)
{
    std::lock_guard lock(m_mutex);
    m_dropBlock = index;
}

void VirtualSerialLogger::StallNext(int seconds)
{
    std::lock_guard lock(m_mutex);
    m_stallSeconds = seconds;
}

void VirtualSerialLogger::IgnoreSettings(bool on)
{
    std::lock_guard lock(m_mutex);
    m_ignoreSettings = on;
}

VirtualSerialConfig VirtualSerialLogger::Config() const
{
    std::lock_guard lock(m_mutex);
    return m_config;
}

time64 VirtualSerialLogger::Clock() const
{
    std::lock_guard lock(m_mutex);
    return m_clock.Now();
}

void VirtualSerialLogger::Advance(time64 seconds)
{
    std::lock_guard lock(m_mutex);
    m_clock.Advance(seconds);
    RecordDue();
}

int VirtualSerialLogger::Capacity() const
{
    return std::min(MAX_SAMPLES, 0x10000 / BytesPerSample(m_config.type));
}

void VirtualSerialLogger::StartRecording(time64 start, int intervalMinutes)
{
    VirtualSerialConfig& c = m_config;
    c.start = start;
    c.intervalMinutes = std::max(intervalMinutes, 1);
    c.temps.clear();
    c.humis.clear();
    c.countField = -1;
    c.runState = start <= m_clock.Now() ? 1 : 2;
    c.statusByte = 1;
    m_recording = true;
    RecordDue();
}

void VirtualSerialLogger::RecordDue()
{
    VirtualSerialConfig& c = m_config;
    if (!m_recording || c.runState == 0)
        return;
    const time64 now = m_clock.Now();
    if (c.runState == 2 && now >= c.start)
        c.runState = 1;
    const int due = DueSamples(c.start, c.intervalMinutes, now, Capacity());
    for (int i = c.SampleCount(); i < due; ++i) {
        const LiveReading r = MissionReading(i, c.intervalMinutes);
        c.temps.push_back(static_cast<float>(r.temp) / 100.0f);
        if (c.type == 4)
            c.humis.push_back(static_cast<float>(r.humi) / 100.0f);
    }
    if (c.SampleCount() >= Capacity()) { // memory full: the mission ends
        c.runState = 0;
        m_recording = false;
    }
}

QByteArray VirtualSerialLogger::LastSettings() const
{
    std::lock_guard lock(m_mutex);
    return m_lastSettings;
}

// ---- thread ----

void VirtualSerialLogger::ThreadMain()
{
    for (;;) {
        pollfd fds[2] = {{m_stopEvent, POLLIN, 0}, {m_master, POLLIN, 0}};
        // With nobody on the slave side the master reports a hang-up; look
        // again a little later instead of spinning.
        const bool streaming = m_nextBlock >= 0;
        if (::poll(fds, 2, streaming ? 0 : -1) < 0 && errno != EINTR)
            return;
        if (fds[0].revents)
            return;
        if (fds[1].revents & POLLIN) {
            if (!ReadCommands())
                return;
        } else if (fds[1].revents & (POLLHUP | POLLERR)) {
            if (!Sleep(20))
                return;
        }
        if (m_nextBlock >= 0)
            SendNextBlock();
    }
}

bool VirtualSerialLogger::ReadCommands()
{
    char buf[512];
    const ssize_t n = ::read(m_master, buf, sizeof buf);
    if (n < 0 && errno == EIO)
        return Sleep(20); // the slave side is closed
    if (n <= 0)
        return true;
    m_input.append(buf, n);
    for (;;) {
        const int ff = static_cast<int>(m_input.indexOf(char(0xFF)));
        if (ff < 0) {
            m_input.clear();
            return true;
        }
        m_input.remove(0, ff);
        const auto* b = reinterpret_cast<const std::uint8_t*>(m_input.constData());
        const int length = CommandLength(b, static_cast<int>(m_input.size()));
        if (length == 0)
            return true; // incomplete
        if (length < 0) {
            m_input.remove(0, 1);
            continue;
        }
        ++m_commands;
        Handle(b, length);
        m_input.remove(0, length);
    }
}

// Length of the command at b; 0 while it is incomplete, -1 when b is none.
int VirtualSerialLogger::CommandLength(const std::uint8_t* b, int available) const
{
    if (available < kHeadLength)
        return 0;
    int length = -1;
    if (Sig(b, kSigInfo) || Sig(b, kSigBlock) || Sig(b, kSigDescription))
        length = kHeadLength;
    else if (Sig(b, kSigSettings))
        length = kHeadLength + kSettingsPayload;
    else if (Sig(b, kSigWriteDescription))
        length = kHeadLength + kDescriptionText;
    else if (Sig(b, kSigStatus)) {
        std::lock_guard lock(m_mutex);
        const int type = m_config.type;
        const bool iModel = m_config.EffectiveId().startsWith(QLatin1Char('i'));
        if (Mark(b, kMarkStop))
            length = 17;
        else if (Mark(b, kMarkStatus))
            length = type == 2 || type == 5 || type == 6 ? 14 : 17;
        else if (b[4] == 0 && b[5] == kMarkClockIntervalByte5)
            length = 14;
        else if (Mark(b, kMarkClockSet))
            length = type == 3 || (type == 2 && iModel) ? 17 : 14;
    }
    return length < 0 || available >= length ? length : 0;
}

void VirtualSerialLogger::Handle(const std::uint8_t* b, int length)
{
    const std::uint8_t mark[3] = {b[4], b[5], b[6]};
    if (!Sig(b, kSigBlock))
        m_nextBlock = -1;
    QByteArray reply;
    {
        std::lock_guard lock(m_mutex);
        VirtualSerialConfig& c = m_config;
        RecordDue();
        const time64 clock = m_clock.Now();
        if (Sig(b, kSigInfo)) {
            if (b[4] == 'S' && b[5] == 'T' && (c.type == 2 || c.type == 5 || c.type == 6)) {
                c.runState = 0;
                m_recording = false;
            }
            reply = BuildInfoFrame(c, mark);
        } else if (Sig(b, kSigBlock)) {
            m_nextBlock = BlockOfOffset(GetU16(b, 4));
        } else if (Sig(b, kSigDescription)) {
            reply = BuildDescriptionFrame(c.description);
        } else if (Sig(b, kSigSettings) && m_ignoreSettings) {
            // no reply
        } else if (Sig(b, kSigSettings)) {
            m_lastSettings = QByteArray(reinterpret_cast<const char*>(b + kHeadLength), kSettingsPayload);
            if (const time64 now = GetClock(b, 25))
                m_clock.Set(now);
            c.highLimit = GetReading(b, 34);
            c.lowLimit = GetReading(b, 36);
            c.humiHighLimit = GetReading(b, 38);
            c.humiLowLimit = GetReading(b, 40);
            const time64 start = GetClock(b, 18);
            StartRecording(start ? start : m_clock.Now(), GetU16(b, 32));
            reply = BuildSettingsReply(m_lastSettings);
        } else if (Sig(b, kSigWriteDescription)) {
            const QByteArray text(reinterpret_cast<const char*>(b + kHeadLength), kDescriptionText);
            c.description = FromOem(QByteArray(text.constData()));
            reply = BuildDescriptionFrame(c.description);
        } else if (Mark(b, kMarkStop)) {
            c.runState = 0;
            m_recording = false;
            reply = BuildStatusFrame(c, mark, clock, 11);
        } else if (Mark(b, kMarkStatus)) {
            reply = BuildStatusFrame(c, mark, clock, StatusLength(c.type));
        } else {
            if (const time64 set = GetClock(b, length - 7))
                m_clock.Set(set);
            if (b[5] == kMarkClockIntervalByte5)
                StartRecording(m_clock.Now(), b[6]);
            reply = BuildStatusFrame(c, mark, m_clock.Now(), StatusLength(c.type));
        }
    }
    if (!reply.isEmpty())
        Reply(reply);
}

int VirtualSerialLogger::BlockOfOffset(int byteOffset) const
{
    // The offset has 16 bits; beyond 64 KiB of memory take the block nearest
    // to where the stream is.
    const int step = BytesPerSample(m_config.type);
    const int per = BlockSamples(m_config.type);
    const int blocks = BlockCount(m_config);
    int best = byteOffset / step / per;
    for (int sample = byteOffset / step; sample / per < blocks; sample += 0x10000 / step)
        if (std::abs(sample / per - m_lastBlock) < std::abs(best - m_lastBlock))
            best = sample / per;
    return best;
}

void VirtualSerialLogger::SendNextBlock()
{
    QByteArray frame;
    {
        std::lock_guard lock(m_mutex);
        if (m_nextBlock >= BlockCount(m_config)) {
            m_nextBlock = -1;
            return;
        }
        if (m_nextBlock == m_dropBlock) {
            m_dropBlock = -1;
            ++m_nextBlock;
            return;
        }
        m_lastBlock = m_nextBlock;
        frame = BuildBlockFrame(m_config, m_nextBlock++);
    }
    Reply(frame);
}

void VirtualSerialLogger::Reply(QByteArray frame)
{
    int stall = 0;
    QByteArray noise;
    {
        std::lock_guard lock(m_mutex);
        stall = m_stallSeconds;
        m_stallSeconds = 0;
        if (m_falseHead)
            noise = QByteArray("\xFF\xCF\xBF\x5F\x00\x00\x00\xFF", 8);
        for (int i = 0; i < m_noise; ++i) {
            m_noiseSeed = m_noiseSeed * 1103515245u + 12345u;
            noise.append(static_cast<char>(m_noiseSeed >> 16));
        }
        if (m_corruptNext)
            frame[frame.size() - 2] = static_cast<char>(frame[frame.size() - 2] ^ 0x5A);
        m_corruptNext = false;
    }
    if (stall > 0 && !Sleep(stall * 1000))
        return;
    const QByteArray bytes = noise + frame;
    WriteAll(bytes.constData(), static_cast<int>(bytes.size()));
}

bool VirtualSerialLogger::WriteAll(const char* data, int length)
{
    const bool paced = Config().paced;
    int done = 0;
    while (done < length) {
        const int piece = paced ? std::min(kPacedPiece, length - done) : length - done;
        const ssize_t n = ::write(m_master, data + done, static_cast<size_t>(piece));
        if (n > 0) {
            done += static_cast<int>(n);
            if (paced)
                Pace(static_cast<int>(n));
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd fds[2] = {{m_stopEvent, POLLIN, 0}, {m_master, POLLOUT, 0}};
        if (::poll(fds, 2, 1000) <= 0 || fds[0].revents)
            return false; // nobody reads, or stopping
    }
    return true;
}

void VirtualSerialLogger::Pace(int bytes)
{
    const timespec wait {0, static_cast<long>(bytes) * 1000000000L / kBytesPerSecond};
    pollfd fd {m_stopEvent, POLLIN, 0};
    ::ppoll(&fd, 1, &wait, nullptr);
}

// Waits ms milliseconds; false when Stop interrupted the wait.
bool VirtualSerialLogger::Sleep(int ms)
{
    pollfd fd {m_stopEvent, POLLIN, 0};
    return ::poll(&fd, 1, ms) == 0;
}
