#include "datafile/Scramble.h"

namespace {

constexpr std::uint8_t kFirstPrev = 0x21; // '!' stands before the first byte
constexpr std::uint8_t kEof = 0x1A;       // never stored as is

std::uint8_t OffsetMask(std::size_t i)
{
    const std::size_t m = i + HEADER_SIZE;
    return static_cast<std::uint8_t>(((m >> 8) ^ m) & 0xFF);
}

// Seven rounds of "flip bit j when mask bit j is set, then rotate the low
// seven bits left by one".
std::uint8_t Mix(std::uint8_t p, std::uint8_t mask)
{
    unsigned a = p;
    for (int j = 0; j < 7; ++j) {
        if (mask & (1u << j))
            a ^= 1u << j;
        a = (a & 0x40) ? a * 2 + 1 : a * 2;
        a &= 0xFF;
    }
    return static_cast<std::uint8_t>(a);
}

// The seven rounds flip bit 0 of the plain byte once per set mask bit.
std::uint8_t MaskParity(std::uint8_t mask)
{
    unsigned bits = mask & 0x7F;
    unsigned parity = 0;
    while (bits) {
        parity ^= bits & 1u;
        bits >>= 1;
    }
    return static_cast<std::uint8_t>(parity);
}

} // namespace

std::uint8_t KeyFromHeader(const std::uint8_t (&b)[HEADER_NUMBERS])
{
    const unsigned value = static_cast<unsigned>(b[0]) * b[1] / b[2] + static_cast<unsigned>(b[3]) * b[4];
    return static_cast<std::uint8_t>(value % 256);
}

std::string ScrambleBody(const std::string& plain, std::uint8_t key)
{
    std::string out(plain.size(), '\0');
    std::uint8_t prev = kFirstPrev;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const auto p = static_cast<std::uint8_t>(plain[i]);
        const std::uint8_t k = key ^ prev;
        std::uint8_t c = (Mix(p, OffsetMask(i)) ^ k) & 0x7F;
        if (c == kEof)
            c = 0x9A;
        out[i] = static_cast<char>(c);
        prev = p;
    }
    return out;
}

std::string UnscrambleBody(const char* data, std::size_t size, std::uint8_t key)
{
    std::string out(size, '\0');
    std::uint8_t prev = kFirstPrev;
    for (std::size_t i = 0; i < size; ++i) {
        const auto c = static_cast<std::uint8_t>(data[i]);
        const std::uint8_t k = key ^ prev;
        const std::uint8_t p = ((c & 0x7F) ^ k ^ MaskParity(OffsetMask(i))) & 0x7F;
        out[i] = static_cast<char>(p);
        prev = p;
    }
    return out;
}
