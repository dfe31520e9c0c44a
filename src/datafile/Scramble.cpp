#include "datafile/Scramble.h"

#include <array>
#include <bit>

namespace {

constexpr std::uint8_t kFirstPrev = 0x21; // '!' stands before the first byte
constexpr std::uint8_t kEof = 0x1A;       // never stored as is

std::uint8_t OffsetMask(std::size_t i)
{
    const std::size_t m = i + HEADER_SIZE;
    return static_cast<std::uint8_t>(((m >> 8) ^ m) & 0xFF);
}

// Each byte goes through seven rounds of "flip bit j when bit j of the
// offset mask is set, then rotate the low seven bits left by one". After
// seven rotations every bit is back in place and each flip has landed on
// bit 0, so the rounds amount to flipping bit 0 by the parity of the mask's
// low seven bits (bit 7 of the byte is dropped by the final 0x7F).
std::uint8_t MaskParity(std::uint8_t mask)
{
    static constexpr auto kParity = [] {
        std::array<std::uint8_t, 128> table{};
        for (unsigned m = 0; m < 128; ++m)
            table[m] = static_cast<std::uint8_t>(std::popcount(m) & 1);
        return table;
    }();
    return kParity[mask & 0x7F];
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
        std::uint8_t c = (p ^ MaskParity(OffsetMask(i)) ^ k) & 0x7F;
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
