#include "link/serial/SerialProtocol.h"

#include "base/CodePage.h"
#include "link/serial/SerialChecksum.h"
#include "link/serial/SerialLayouts.h"
#include "record/LoggerType.h"
#include "record/TimeText.h"

#include <cstring>

using namespace serial;

namespace {

std::uint32_t Stored(const std::uint8_t* b, int h)
{
    return static_cast<std::uint32_t>(GetU16(b, h));
}

bool ChecksumA(const std::uint8_t* b, int h)
{
    return SerialChecksumA(b, h) == Stored(b, h);
}

bool ChecksumB(const std::uint8_t* b, int h)
{
    return SerialChecksumB(b, h) == Stored(b, h);
}

bool HasMark(const std::uint8_t* b, const Signature& mark)
{
    return b[4] == mark[0] && b[5] == mark[1] && b[6] == mark[2];
}

// Battery level 1..7 from the voltage reading of a 10-byte status frame: the
// share of the 3.2 .. 3.59 V range, squared.
int BatteryLevel(int raw)
{
    const double volts = raw * 5.0 / 1023.0 - 3.2;
    const int percent = static_cast<int>(100.0 * volts * volts / (0.39 * 0.39));
    const int thresholds[] = {85, 70, 50, 30, 20, 10};
    int level = 7;
    for (int t : thresholds) {
        if (percent > t)
            return level;
        --level;
    }
    return 1;
}

// The readings of a block frame as StoreSamples takes them: temperatures, or
// temperature/humidity pairs for a humidity logger. A short block holds
// temperatures only, even from a humidity logger, whose humidity values then
// stay as they are.
int BlockValues(const CLoggerRecord& r, const std::uint8_t* b, int h, bool pairs, float* values)
{
    const bool keepHumidity = !pairs && r.HasHumidity();
    const int step = pairs ? 4 : 2;
    int n = 0;
    for (int pos = kDataStart; pos < h; pos += step, ++n) {
        const int index = r.m_nReceived + n;
        if (pairs) {
            values[2 * n] = GetReading(b, pos);
            values[2 * n + 1] = GetReading(b, pos + 2);
        } else if (keepHumidity) {
            values[2 * n] = GetReading(b, pos);
            values[2 * n + 1] = SampleAt(r.m_fHumi, index);
        } else {
            values[n] = GetReading(b, pos);
        }
    }
    return n;
}

} // namespace

bool SerialProtocol::HandleBlock(int length, int h)
{
    const std::uint8_t* b = m_byRx;
    const bool shortBlock = length == kBlockShortLength && (ChecksumA(b, h) || ChecksumB(b, h));
    const bool longBlock = length == kBlockLongLength && ChecksumA(b, h);
    if (!shortBlock && !longBlock)
        return false;
    CLoggerRecord& r = *m_pRecord;
    const LoggerType& type = LoggerTypeOf(r.m_nType);
    if (longBlock && !type.serialLongBlocks)
        return true;
    const bool pairs = longBlock && type.humidity;
    if (m_nReply == SERIAL_BLOCK)
        m_nReply = SERIAL_BLOCK + SERIAL_REPLY_ARRIVED;
    // The offset field has 16 bits: memory beyond 64 KiB wraps around.
    const int expected = (r.m_nReceived * (pairs ? 4 : 2)) & 0xFFFF;
    if (GetU16(b, 4) != expected) {
        Events().OnBlock(false);
        return true;
    }
    float values[kBlockLongLength];
    const int n = BlockValues(r, b, h, pairs, values);
    r.StoreSamples(r.m_nReceived, values, n);
    r.m_nReceived += n;
    if (r.m_nReceived >= r.m_nCount)
        r.m_nReceived = r.m_nCount;
    Events().OnBlock(true);
    return true;
}

bool SerialProtocol::HandleStatus(int length, int h)
{
    const std::uint8_t* b = m_byRx;
    const StatusLayout* layout = StatusLayoutOf(length);
    if (!layout)
        return false;
    if (!layout->checksumB && ChecksumA(b, h)) {
        const time64 clock = GetClock(b, layout->clock);
        if (length == 8)
            HandleStatus8(clock);
        else
            HandleStatus11(clock);
        return true;
    }
    if (layout->checksumB && ChecksumB(b, h))
        HandleStatus10(GetClock(b, layout->clock));
    return false; // the 10-byte frame is never taken whole
}

namespace {

bool IsClose(time64 clock, time64 now, int seconds)
{
    return now - clock < seconds;
}

} // namespace

void SerialProtocol::HandleStatus8(time64 clock)
{
    const std::uint8_t* b = m_byRx;
    CLoggerRecord& r = *m_pRecord;
    if (clock == 0)
        return;
    if (HasMark(b, kMarkClockSet) && IsClose(clock, Now(), 5)) {
        r.m_nLoggerFlag = b[8];
        if (m_nReply == SERIAL_SET_CLOCK)
            m_nReply = SERIAL_SET_CLOCK + SERIAL_REPLY_ARRIVED;
    }
    if (HasMark(b, kMarkStatus)) {
        m_nReply = 0;
        r.m_tLoggerClock = clock;
        Events().OnLoggerClock();
    }
}

void SerialProtocol::HandleStatus11(time64 clock)
{
    const std::uint8_t* b = m_byRx;
    CLoggerRecord& r = *m_pRecord;
    r.m_nRunState = b[17];
    r.m_nBattery = b[18];
    r.m_bStatusValid = 1;
    if (clock != 0)
        r.m_nLoggerFlag = b[17];
    if (HasMark(b, kMarkClockSet) && clock != 0 && IsClose(clock, Now(), 5) && m_nReply == SERIAL_SET_CLOCK)
        m_nReply = SERIAL_SET_CLOCK + SERIAL_REPLY_ARRIVED;
    if (HasMark(b, kMarkStatus)) {
        m_nReply = 0;
        r.m_nRowFlags |= RF_LOGGER_CLOCK;
        r.m_tLoggerClock = clock != 0 ? clock : MakeLocalTime(1980, 1, 1, 0, 0, 0);
        Events().OnLoggerClock();
    }
    if (HasMark(b, kMarkStop)) {
        m_nReply = m_nReply == SERIAL_STOP ? SERIAL_STOP + SERIAL_REPLY_ARRIVED : 0;
        Events().OnStopAnswered();
    }
}

void SerialProtocol::HandleStatus10(time64 clock)
{
    const std::uint8_t* b = m_byRx;
    CLoggerRecord& r = *m_pRecord;
    if (clock == 0)
        clock = MakeLocalTime(2001, 1, 1, 0, 0, 0);
    r.m_nRunState = b[8];
    r.m_nBattery = BatteryLevel(GetU16(b, 16));
    r.m_bStatusValid = 1;
    if (HasMark(b, kMarkClockSet) && IsClose(clock, Now(), 10) && m_nReply == SERIAL_SET_CLOCK)
        m_nReply = SERIAL_SET_CLOCK + SERIAL_REPLY_ARRIVED;
    const bool intervalSet = b[4] == 0 && b[5] == kMarkClockIntervalByte5;
    if (intervalSet && m_nReply == SERIAL_SET_CLOCK)
        Events().OnIntervalSet();
    if (HasMark(b, kMarkStop))
        Events().OnStopAnswered();
    if (HasMark(b, kMarkStatus) || intervalSet) {
        m_nReply = 0;
        r.m_nRowFlags |= RF_LOGGER_CLOCK;
        r.m_tLoggerClock = clock;
        Events().OnLoggerClock();
    }
}

bool SerialProtocol::HandleDescription(int length, int h)
{
    const std::uint8_t* b = m_byRx;
    if (length != kDescriptionLength || !ChecksumA(b, h))
        return false;
    CLoggerRecord& r = *m_pRecord;
    char text[60] = {};
    std::memcpy(text, b + kDataStart, kDescriptionLength);
    r.m_strValue[ROW_DESCRIPTION] = FromAnsi(QByteArray(text));
    r.m_nRowFlags |= RF_DESCRIPTION;
    r.m_bDescRead = 1;
    r.m_strDescription = r.m_strValue[ROW_DESCRIPTION].isEmpty() ? QStringLiteral("  ") : r.m_strValue[ROW_DESCRIPTION];
    if (m_nReply == SERIAL_READ_DESC || m_nReply == SERIAL_WRITE_DESC)
        m_nReply += SERIAL_REPLY_ARRIVED;
    return true;
}

bool SerialProtocol::HandleSettingsReply(int length, int h)
{
    if ((length != 42 && length != 52) || !ChecksumA(m_byRx, h))
        return false;
    if (m_nReply == SERIAL_WRITE_SETTINGS)
        m_nReply = SERIAL_WRITE_SETTINGS + SERIAL_REPLY_ARRIVED;
    return true;
}
