#include "FileFixture.h"

#include "record/TimeText.h"

#include <cstdio>

namespace fixture {

QByteArray Header(const int (&numbers)[5])
{
    QByteArray out;
    for (int n : numbers)
        out += QByteArray::number(n).rightJustified(3, ' ');
    return out;
}

std::uint8_t Key(const int (&b)[5])
{
    return static_cast<std::uint8_t>((b[0] * b[1] / b[2] + b[3] * b[4]) % 256);
}

static int Parity7(unsigned m)
{
    unsigned mask = ((m >> 8) ^ m) & 0x7F;
    int ones = 0;
    for (; mask; mask &= mask - 1)
        ++ones;
    return ones & 1;
}

QByteArray Scramble(const std::string& plain, std::uint8_t key)
{
    QByteArray out;
    unsigned prev = 0x21;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const unsigned p = static_cast<unsigned char>(plain[i]);
        unsigned c = (p ^ static_cast<unsigned>(Parity7(static_cast<unsigned>(i) + 15)) ^ (key ^ prev)) & 0x7F;
        if (c == 0x1A)
            c = 0x9A;
        out += static_cast<char>(c);
        prev = p;
    }
    return out;
}

std::string Unscramble(const QByteArray& file, std::uint8_t key)
{
    std::string out;
    unsigned prev = 0x21;
    for (qsizetype i = 15; i < file.size(); ++i) {
        const unsigned c = static_cast<unsigned char>(file[i]) & 0x7F;
        const unsigned p = (c ^ static_cast<unsigned>(Parity7(static_cast<unsigned>(i))) ^ (key ^ prev)) & 0x7F;
        out += static_cast<char>(p);
        prev = p;
    }
    return out;
}

QByteArray File(const int (&numbers)[5], const std::string& body, bool withTrailer,
                const QByteArray& description, std::uint32_t marker)
{
    QByteArray out = Header(numbers) + Scramble(body, Key(numbers));
    if (withTrailer) {
        QByteArray desc = description.left(59);
        desc.append(60 - desc.size(), '\0');
        out += desc;
        for (int k = 0; k < 4; ++k)
            out += static_cast<char>((marker >> (8 * k)) & 0xFF);
    }
    return out;
}

std::string Value(double v)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%-7.2f", v);
    return buffer;
}

void FillRecord(CLoggerRecord& r, const QString& id, int type, int count)
{
    r.Reset();
    r.m_nType = type;
    r.m_strValue[ROW_ID] = id;
    r.m_strValue[ROW_DESCRIPTION] = QStringLiteral("Shelf 3");
    r.m_tsInterval = 10 * 60;
    r.m_tStart = MakeLocalTime(2024, 3, 5, 9, 41);
    r.m_tStop = r.m_tStart + (count > 0 ? count - 1 : 0) * r.m_tsInterval;
    r.SetCount(count);
    r.m_fLoggerMax = 30.25f;
    r.m_fLoggerMin = -5.5f;
    r.m_fLoggerAvg = 12.34f;
    r.m_fHighLimit = 8.0f;
    r.m_fLowLimit = 2.0f;
    r.m_fHumiMax = 80.5f;
    r.m_fHumiMin = 20.25f;
    r.m_fHumiAvg = 50.0f;
    r.m_fHumiHighLimit = 70.0f;
    r.m_fHumiLowLimit = 30.0f;
    for (int i = 0; i < count; ++i) {
        r.m_fTemp[i] = static_cast<float>((i % 4000) - 2000) / 100.0f; // -20.00 .. 19.99
        r.m_fHumi[i] = static_cast<float>(i % 10000) / 100.0f;
    }
}

} // namespace fixture
