#include "sim/serial/SerialReplyFrames.h"

#include "base/CodePage.h"
#include "link/serial/SerialLayouts.h"

#include <algorithm>
#include <cmath>

namespace serial {

namespace {

QByteArray NewFrame(const Signature& sig, const std::uint8_t sub[3], int length)
{
    QByteArray frame(length + kDataStart + 2, '\0');
    auto* b = reinterpret_cast<std::uint8_t*>(frame.data());
    b[0] = 0xFF;
    for (int i = 0; i < 3; ++i) {
        b[1 + i] = sig[i];
        b[4 + i] = sub[i];
    }
    b[kLengthByte] = static_cast<std::uint8_t>(length);
    return frame;
}

std::uint8_t* Bytes(QByteArray& frame)
{
    return reinterpret_cast<std::uint8_t*>(frame.data());
}

void Seal(QByteArray& frame, bool bChecksumB = false)
{
    PutChecksum(Bytes(frame), static_cast<int>(frame.size()) - 2, bChecksumB);
}

const InfoLayout& LayoutFor(const VirtualSerialConfig& c)
{
    switch (c.type) {
    case 2: return InfoLayoutOf(c.type2LongInfo ? InfoKind::Type3 : InfoKind::Type2);
    case 4: return InfoLayoutOf(InfoKind::Type4);
    case 5:
    case 6: return InfoLayoutOf(InfoKind::Type56);
    default: return InfoLayoutOf(InfoKind::Type3);
    }
}

void PutStats(std::uint8_t* b, const InfoLayout& L, const std::vector<float>& v, int avgPos, int maxPos, int minPos)
{
    if (v.empty())
        return;
    double sum = 0;
    for (float x : v)
        sum += x;
    PutReading(b, maxPos, *std::max_element(v.begin(), v.end()));
    PutReading(b, minPos, *std::min_element(v.begin(), v.end()));
    if (avgPos != kNone)
        PutReading(b, avgPos, static_cast<float>(sum / v.size()));
    else if (L.sum != kNone)
        PutI32(b, L.sum, static_cast<std::int32_t>(std::lround(sum * 100.0)));
}

} // namespace

int BlockSamples(int type)
{
    return type == 3 ? 32 : 16;
}

int BytesPerSample(int type)
{
    return type == 4 ? 4 : 2;
}

int BlockCount(const VirtualSerialConfig& config)
{
    const int per = BlockSamples(config.type);
    return (config.SampleCount() + per - 1) / per;
}

int StatusLength(int type)
{
    if (type == 2)
        return 8;
    return type == 3 || type == 4 ? 11 : 10;
}

QByteArray BuildInfoFrame(const VirtualSerialConfig& c, const std::uint8_t subCode[3])
{
    const InfoLayout& L = LayoutFor(c);
    QByteArray frame = NewFrame(kSigInfo, subCode, L.h - kDataStart);
    std::uint8_t* b = Bytes(frame);
    const QByteArray id = c.EffectiveId().toLatin1();
    std::copy_n(id.constData(), kIdLength, b + kInfoId);
    const int count = c.SampleCount();
    const time64 interval = static_cast<time64>(c.intervalMinutes) * 60;
    PutInfoTime(b, kInfoStart, c.start);
    PutInfoTime(b, L.stop, c.start + std::max(0, count - 1) * interval);
    if (L.intervalWidth == 1)
        b[L.interval] = static_cast<std::uint8_t>(c.intervalMinutes);
    else
        PutU16(b, L.interval, c.intervalMinutes);
    if (L.highLimit != kNone) {
        PutReading(b, L.highLimit, c.highLimit);
        PutReading(b, L.lowLimit, c.lowLimit);
    }
    if (L.humiHighLimit != kNone) {
        PutReading(b, L.humiHighLimit, c.humiHighLimit);
        PutReading(b, L.humiLowLimit, c.humiLowLimit);
    }
    PutStats(b, L, c.temps, L.avg, L.max, L.min);
    if (L.humiMax != kNone)
        PutStats(b, L, c.humis, L.humiAvg, L.humiMax, L.humiMin);
    PutU16(b, L.count, c.countField >= 0 ? c.countField : count);
    b[L.status] = static_cast<std::uint8_t>(L.statusIsRunState ? c.runState : c.statusByte);
    Seal(frame);
    return frame;
}

QByteArray BuildBlockFrame(const VirtualSerialConfig& c, int index)
{
    const int per = BlockSamples(c.type);
    const int step = BytesPerSample(c.type);
    const std::uint8_t sub[3] = {0, 0, 0};
    QByteArray frame = NewFrame(kSigBlock, sub, per * step == 32 ? kBlockShortLength : kBlockLongLength);
    std::uint8_t* b = Bytes(frame);
    const int first = index * per;
    PutU16(b, 4, (first * step) & 0xFFFF);
    for (int k = 0; k < per && first + k < c.SampleCount(); ++k) {
        const int pos = kDataStart + k * step;
        PutReading(b, pos, c.temps[first + k]);
        if (c.type == 4)
            PutReading(b, pos + 2, first + k < static_cast<int>(c.humis.size()) ? c.humis[first + k] : 0.0f);
    }
    Seal(frame);
    return frame;
}

QByteArray BuildStatusFrame(const VirtualSerialConfig& c, const std::uint8_t mark[3], time64 clock, int length)
{
    const StatusLayout* layout = StatusLayoutOf(length);
    QByteArray frame = NewFrame(kSigStatus, mark, length);
    std::uint8_t* b = Bytes(frame);
    PutClock(b, layout->clock, clock);
    b[layout->status] = static_cast<std::uint8_t>(length == 8 ? c.statusByte : c.runState);
    if (layout->battery != kNone)
        b[layout->battery] = static_cast<std::uint8_t>(c.batteryLevel);
    if (layout->batteryRaw != kNone)
        PutU16(b, layout->batteryRaw, c.batteryRaw);
    Seal(frame, layout->checksumB);
    return frame;
}

QByteArray BuildDescriptionFrame(const QString& description)
{
    const std::uint8_t sub[3] = {0xBA, 0x6A, 0x5A};
    QByteArray frame = NewFrame(kSigDescription, sub, kDescriptionLength);
    const QByteArray text = ToAnsi(description).left(kDescriptionLength);
    std::copy_n(text.constData(), text.size(), frame.data() + kDataStart);
    Seal(frame);
    return frame;
}

QByteArray BuildSettingsReply(const QByteArray& payload)
{
    const std::uint8_t sub[3] = {0xCB, 0x00, 0x00};
    QByteArray frame = NewFrame(kSigSettings, sub, 42);
    std::copy_n(payload.constData(), std::min<qsizetype>(payload.size(), 42), frame.data() + kDataStart);
    Seal(frame);
    return frame;
}

} // namespace serial
