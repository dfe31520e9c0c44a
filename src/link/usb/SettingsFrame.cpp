#include "link/usb/SettingsFrame.h"

#include "base/CodePage.h"
#include "link/usb/UsbEncoding.h"
#include "link/usb/UsbFrames.h"

#include <cstring>

namespace {

constexpr int kIdLength = 11;
constexpr int kDescriptionChars = 48;

void PutHeader(UsbFrame& frame, int length)
{
    frame.bytes.fill(0);
    std::memcpy(frame.bytes.data(), usbframe::kWriteSettings, 4);
    frame.length = length;
}

void PutId(std::uint8_t* p, const QString& id)
{
    for (int i = 0; i < kIdLength; ++i)
        p[i] = i < id.size() ? static_cast<std::uint8_t>(id[i].unicode() & 0xFF) : 0;
}

} // namespace

int ClockRateCode(const QString& id)
{
    const QString pair = id.mid(1, 2);
    if (pair == QLatin1String("25"))
        return 5;
    if (pair == QLatin1String("50"))
        return 10;
    if (pair == QLatin1String("99"))
        return 20;
    return 0;
}

bool BuildClockFrame(const QString& id, time64 now, UsbFrame& frame)
{
    const int rate = ClockRateCode(id);
    if (!rate)
        return false;
    PutHeader(frame, usbframe::kClockFrame);
    PutId(frame.bytes.data() + 7, id);
    usbcode::EncodeTime7(now, frame.bytes.data() + 18);
    frame.bytes[25] = static_cast<std::uint8_t>(rate);
    return true;
}

int DescriptionBytes(const QString& text, std::uint8_t (&out)[50])
{
    std::memset(out, 0, sizeof out);
    QString kept = text.left(kDescriptionChars);
    QByteArray bytes = ToOem(kept);
    // A double-byte character must not be cut in half at the end.
    while (bytes.size() > usbframe::kDescriptionBytes && !kept.isEmpty()) {
        kept.chop(1);
        bytes = ToOem(kept);
    }
    std::memcpy(out, bytes.constData(), static_cast<size_t>(bytes.size()));
    return static_cast<int>(kept.size());
}
