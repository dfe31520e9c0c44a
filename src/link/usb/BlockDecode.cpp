#include "link/usb/BlockDecode.h"

#include "link/usb/UsbEncoding.h"
#include "link/usb/UsbFrames.h"

namespace usbcode {

bool DecodeBlock(const std::uint8_t* reply, int replyLength, int nBytes, float* out)
{
    if (replyLength != usbframe::kEchoLength + nBytes)
        return false;
    const std::uint8_t* data = reply + usbframe::kEchoLength;
    for (int k = 0; k < nBytes / 2; ++k)
        out[k] = DecodeReading(data + 2 * k);
    return true;
}

} // namespace usbcode
