#include "cli/JsonWriter.h"

#include <cmath>

QString JsonHundredths(double value)
{
    double rounded = std::round(value * 100.0) / 100.0;
    if (rounded == 0.0)
        rounded = 0.0; // no "-0.0"
    QString text = QString::number(rounded, 'f', 2);
    if (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    return text;
}

void CJsonWriter::BeforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_first.empty()) {
        if (!m_first.back())
            m_text += QLatin1String(", ");
        m_first.back() = false;
    }
}

CJsonWriter& CJsonWriter::BeginObject()
{
    BeforeValue();
    m_text += QLatin1Char('{');
    m_first.push_back(true);
    return *this;
}

CJsonWriter& CJsonWriter::EndObject()
{
    m_text += QLatin1Char('}');
    m_first.pop_back();
    return *this;
}

CJsonWriter& CJsonWriter::BeginArray()
{
    BeforeValue();
    m_text += QLatin1Char('[');
    m_first.push_back(true);
    return *this;
}

CJsonWriter& CJsonWriter::EndArray()
{
    m_text += QLatin1Char(']');
    m_first.pop_back();
    return *this;
}

CJsonWriter& CJsonWriter::Key(const char* key)
{
    BeforeValue();
    Quoted(QString::fromUtf8(key));
    m_text += QLatin1String(": ");
    m_afterKey = true;
    return *this;
}

CJsonWriter& CJsonWriter::String(const QString& value)
{
    BeforeValue();
    Quoted(value);
    return *this;
}

void CJsonWriter::Quoted(const QString& value)
{
    m_text += QLatin1Char('"');
    for (const QChar c : value) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            m_text += QLatin1Char('\\') + QString(c);
        else if (c.unicode() < 0x20)
            m_text += QString::asprintf("\\u%04x", c.unicode());
        else
            m_text += c;
    }
    m_text += QLatin1Char('"');
}

CJsonWriter& CJsonWriter::Integer(long long value)
{
    BeforeValue();
    m_text += QString::number(value);
    return *this;
}

CJsonWriter& CJsonWriter::Hundredths(double value)
{
    BeforeValue();
    m_text += JsonHundredths(value);
    return *this;
}

CJsonWriter& CJsonWriter::Bool(bool value)
{
    BeforeValue();
    m_text += value ? QLatin1String("true") : QLatin1String("false");
    return *this;
}

CJsonWriter& CJsonWriter::Null()
{
    BeforeValue();
    m_text += QLatin1String("null");
    return *this;
}

CJsonWriter& CJsonWriter::Raw(const QString& json)
{
    BeforeValue();
    m_text += json;
    return *this;
}
