#pragma once

#include <cstdint>
#include <string>

// The body of a data file is scrambled byte by byte with a key derived from
// the five header numbers; each byte also depends on its file offset and on
// the plain byte before it.
constexpr int HEADER_NUMBERS = 5;
constexpr int HEADER_SIZE = 15;

// (b0 x b1 div b2 + b3 x b4) mod 256. b2 must not be 0.
std::uint8_t KeyFromHeader(const std::uint8_t (&numbers)[HEADER_NUMBERS]);

// Scrambles plain text that starts right after the header.
std::string ScrambleBody(const std::string& plain, std::uint8_t key);
// The inverse; every decoded byte is 7-bit.
std::string UnscrambleBody(const char* data, std::size_t size, std::uint8_t key);
