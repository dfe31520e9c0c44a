#pragma once

#include "record/LoggerRecord.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <string>

// Building and taking apart data files by the format's own definition,
// independently of the program's writer and reader.
namespace fixture {

// Header text for five numbers, each "%3d".
QByteArray Header(const int (&numbers)[5]);
// (b0 x b1 div b2 + b3 x b4) mod 256.
std::uint8_t Key(const int (&numbers)[5]);

// The seven-bit form of the scrambling: c = (p ^ f ^ (key ^ prev)) & 0x7F
// with f the parity of the low seven bits of ((m >> 8) ^ m), m = offset + 15,
// and 0x1A stored as 0x9A.
QByteArray Scramble(const std::string& plain, std::uint8_t key);
std::string Unscramble(const QByteArray& file, std::uint8_t key);

// A whole file: header, scrambled body and, when withTrailer, the 60-byte
// description (raw bytes) and the 4-byte end marker.
QByteArray File(const int (&numbers)[5], const std::string& body, bool withTrailer,
                const QByteArray& description = {}, std::uint32_t marker = 0);

// "%4.2f" padded with blanks to seven characters.
std::string Value(double v);

// Fills a record with a plausible mission of count samples.
void FillRecord(CLoggerRecord& r, const QString& id, int type, int count);

} // namespace fixture
