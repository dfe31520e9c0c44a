#pragma once

#include <cstdint>

namespace usbcode {

// Decodes the reply to a sample-block request of nBytes (1..40): a 7-byte
// echo, then nBytes / 2 big-endian readings, which go to out. False, and out
// untouched, when replyLength is not exactly the echo plus nBytes: a short
// reply would turn into made-up samples.
bool DecodeBlock(const std::uint8_t* reply, int replyLength, int nBytes, float* out);

} // namespace usbcode
