// Feeds arbitrary bytes to the USB reply decoders as CUsbLink hands them
// over: the first byte chooses the reply and, for an information reply, the
// logger type; the rest is the reply as read, echo first.
//   bit 7 clear: an information reply of type (bits 0-1) + 1, decoded and
//                finished as an identification does;
//   bit 7 set:   a sample-block reply; the second byte picks the bytes asked for.
#include "link/usb/BlockDecode.h"
#include "link/usb/InfoLayout.h"
#include "link/usb/UsbFrames.h"
#include "record/LoggerRecord.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kReplySize = 64;

void DecodeInfo(int type, const std::uint8_t* reply)
{
    CLoggerRecord r;
    const std::uint8_t* data = reply + usbframe::kEchoLength;
    r.m_strValue[ROW_ID] = QString::fromLatin1(reinterpret_cast<const char*>(data), 11);
    (void)TypeFromIdUsb(r.m_strValue[ROW_ID]);
    r.m_nType = type;
    if (infolayout::Decode(data, r) != infolayout::Result::Ok)
        return;
    r.FormatStatTexts(kDefaultDisplay.unit);
    r.BuildTimeTable();
}

void DecodeBlock(int nBytes, const std::uint8_t* reply, int replyLength)
{
    float out[20];
    (void)usbcode::DecodeBlock(reply, replyLength, nBytes, out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const bool block = (data[0] & 0x80) != 0;
    const std::size_t skip = block ? 2 : 1;
    // The link reads into a zeroed 64-byte buffer, so a short reply ends in zeros.
    std::uint8_t reply[kReplySize] = {};
    const std::size_t length = std::min<std::size_t>(size - skip, kReplySize);
    std::memcpy(reply, data + skip, length);
    if (block)
        DecodeBlock(1 + data[1] % 40, reply, static_cast<int>(length));
    else
        DecodeInfo(1 + (data[0] & 3), reply);
    return 0;
}
