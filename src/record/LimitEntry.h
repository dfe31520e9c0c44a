#pragma once

#include <QString>
#include <optional>

// Alarm limits as the user types them, turned into what a logger stores:
// hundredths of a degree C or of %RH in 16 bits.

// The hundredths nearest to value (a value in degrees F is converted to
// degrees C first); empty when the result does not fit the 16 bits a logger
// keeps a limit in (-327.67 .. 327.67) or value is not finite.
std::optional<int> LimitHundredths(double value, bool fahrenheit);

struct LimitEntry {
    bool ok = false;
    int hundredths = 0;
    QString error; // names the field when !ok
};

// Reads the text of the limit field `field` ("upper temperature limit", ...).
// An empty text is 0; a text that is not a decimal number, or whose value a
// logger cannot hold, is refused with a message that names the field.
LimitEntry ReadLimit(const QString& text, bool fahrenheit, const QString& field);

// A lower and an upper limit read together: refused as ReadLimit refuses,
// or with wrongOrder (and reversed set) when the lower one is above the
// upper one (equal limits are accepted; they mean no alarm).
struct LimitPair {
    bool ok = false;
    int low = 0;
    int high = 0;
    QString error;
    bool reversed = false;
};
LimitPair ReadLimitPair(const QString& lowText, const QString& highText, bool fahrenheit, const QString& quantity,
                        const QString& wrongOrder);
