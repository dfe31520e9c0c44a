#pragma once

#include <cstdint>

class CLoggerRecord;

// The information block of each logger type as a table of fields and data
// byte positions, read by one decoder. The steps of a type run in the order
// the table lists them; an invalid start time ends the decoding there.
namespace infolayout {

enum class Field : std::uint8_t {
    ClearStartRow, ClearStopRow, ClearIntervalRow,
    Start, Stop,
    IntervalByte, IntervalWord,
    HighLimitSignMag, LowLimitSignMag, // type 1
    HighLimit, LowLimit, NoTempLimits,
    HumiHighLimit, HumiLowLimit,
    TempMax, TempMin, TempAvg,
    HumiMax, HumiMin, HumiAvg,
    Count,
};

struct Step {
    Field field;
    int offset; // data byte position; unused by the Clear/No steps
};

struct Layout {
    int type;
    int dataBytes;      // data bytes the type's reply carries
    int bytesPerSample; // used memory / this = sample count
    const Step* steps;
    int stepCount;
};

// The layout of a USB type code 1..4, or nullptr.
const Layout* ForType(int type);

enum class Result { Ok, UnknownType, BadStart };

// Decodes the data bytes of a reply (at least layout.dataBytes of them) into
// record, following the steps of the type the record's m_nType holds. Sets
// fields, row texts and row flags; stops at an invalid start time.
Result Decode(const std::uint8_t* data, CLoggerRecord& record);

} // namespace infolayout
