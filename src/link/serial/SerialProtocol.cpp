#include "link/serial/SerialProtocol.h"

#include "link/serial/SerialLayouts.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace {

constexpr int kMinBuffered = 7;
constexpr int kHeadLength = 4; // FF and the signature

const serial::Signature* const kReplySignatures[] = {
    &serial::kSigInfo, &serial::kSigBlock, &serial::kSigStatus,
    &serial::kSigDescription, &serial::kSigSettings, &serial::kSigSkip,
};

bool Matches(const std::uint8_t* bytes, const serial::Signature& sig)
{
    return bytes[0] == sig[0] && bytes[1] == sig[1] && bytes[2] == sig[2];
}

bool IsReplyHead(const std::uint8_t* bytes)
{
    if (bytes[0] != 0xFF)
        return false;
    return std::any_of(std::begin(kReplySignatures), std::end(kReplySignatures),
                       [bytes](const serial::Signature* sig) { return Matches(bytes + 1, *sig); });
}

} // namespace

SerialProtocol::SerialProtocol(CLoggerRecord* record, ISerialEvents* events)
    : m_pRecord(record), m_pEvents(events)
{
}

time64 SerialProtocol::Now() const
{
    return m_fnNow ? m_fnNow() : static_cast<time64>(std::time(nullptr));
}

ISerialEvents& SerialProtocol::Events() const
{
    static ISerialEvents ignored;
    return m_pEvents ? *m_pEvents : ignored;
}

bool SerialProtocol::Receive(const std::uint8_t* bytes, int count)
{
    if (count > 0 && m_nRxLen + count <= kRxSize) {
        std::copy_n(bytes, count, m_byRx + m_nRxLen);
        m_nRxLen += count;
    }
    return Report(Parse());
}

bool SerialProtocol::LineQuiet()
{
    bool gaveUp = false;
    bool bInfo = false;
    // Parse has taken every complete frame, so a head still at the front
    // starts one that stays incomplete.
    while (m_nRxLen >= kHeadLength && Synchronise()) {
        gaveUp = true;
        m_byRx[0] = 0;
        bInfo = Parse() || bInfo;
    }
    ClearReceive();
    return gaveUp && Report(bInfo);
}

bool SerialProtocol::Report(bool bInfo)
{
    if (m_nReply & SERIAL_REPLY_ARRIVED)
        Events().OnReplyArrived();
    if (bInfo)
        Events().OnInformation();
    return bInfo;
}

void SerialProtocol::Consume(int count)
{
    count = std::min(count, m_nRxLen);
    std::memmove(m_byRx, m_byRx + count, static_cast<size_t>(m_nRxLen - count));
    m_nRxLen -= count;
}

// Drops the bytes before the first frame head; without a head it keeps only
// the last 3 bytes, which may be the start of one.
bool SerialProtocol::Synchronise()
{
    int j = 0;
    while (j + 3 < m_nRxLen && !IsReplyHead(m_byRx + j))
        ++j;
    const bool found = j + 3 < m_nRxLen;
    if (!found)
        j = m_nRxLen - 3;
    Consume(j);
    return found;
}

bool SerialProtocol::Parse()
{
    bool bInfoDecoded = false;
    if (m_nRxLen >= kMinBuffered) {
        // Every pass either waits for more bytes or removes at least the
        // first byte of the frame at the front, so the loop ends.
        while (m_nRxLen >= kHeadLength) {
            if (!Synchronise() || m_nRxLen <= 10 || m_nRxLen < m_byRx[serial::kLengthByte] + 10)
                break;
            const int h = m_byRx[serial::kLengthByte] + serial::kDataStart;
            const bool accepted = HandleFrame(bInfoDecoded);
            m_byRx[0] = 0;
            if (accepted && h > serial::kDataStart)
                Consume(h); // the checksum bytes are skipped by the next synchronisation
        }
    }
    return bInfoDecoded;
}

bool SerialProtocol::HandleFrame(bool& bInfoDecoded)
{
    const std::uint8_t* b = m_byRx;
    const int length = b[serial::kLengthByte];
    const int h = length + serial::kDataStart;
    if (Matches(b + 1, serial::kSigInfo)) {
        const bool plain = b[4] == 0 && b[5] == 0 && b[6] == 0;
        const bool stopVariant = b[4] == 'S' && b[5] == 'T' && b[6] == 0;
        return (plain || stopVariant) && HandleInfo(h, bInfoDecoded);
    }
    if (Matches(b + 1, serial::kSigBlock))
        return HandleBlock(length, h);
    if (Matches(b + 1, serial::kSigStatus))
        return HandleStatus(length, h);
    if (Matches(b + 1, serial::kSigDescription))
        return b[4] == 0xBA && b[5] == 0x6A && b[6] == 0x5A && HandleDescription(length, h);
    if (Matches(b + 1, serial::kSigSettings))
        return b[4] == 0xCB && b[5] == 0 && b[6] == 0 && HandleSettingsReply(length, h);
    return false; // FF B8 68 C8: recognised only to keep the synchronisation
}
