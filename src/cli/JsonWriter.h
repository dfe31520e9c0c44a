#pragma once

#include <QString>
#include <vector>

// Writes one JSON value as text on one line, keys in the order given:
// {"a": 1, "b": [2.5, "x"]}. Numbers come as whole numbers or as decimals
// rounded to 0.01 (at least one decimal: 8.0, 9.5, 46.44); strings are
// escaped, everything else is kept as UTF-8.
class CJsonWriter {
public:
    CJsonWriter& BeginObject();
    CJsonWriter& EndObject();
    CJsonWriter& BeginArray();
    CJsonWriter& EndArray();
    // The key of the next value inside an object.
    CJsonWriter& Key(const char* key);

    CJsonWriter& String(const QString& value);
    CJsonWriter& Integer(long long value);
    CJsonWriter& Hundredths(double value);
    CJsonWriter& Bool(bool value);
    CJsonWriter& Null();
    // A value that is JSON text already (an object kept as text), as it is.
    CJsonWriter& Raw(const QString& json);

    const QString& Text() const { return m_text; }

private:
    void BeforeValue();
    void Quoted(const QString& value);

    QString m_text;
    std::vector<bool> m_first; // per open object or array: no member yet
    bool m_afterKey = false;
};

// "%.2f" of value rounded to 0.01, without trailing zeros past the first decimal.
QString JsonHundredths(double value);
