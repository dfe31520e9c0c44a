#include "report/pdf/PdfSyntax.h"

#include <algorithm>
#include <cstring>

namespace {

int HexValue(char c)
{
    if (pdf::IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

namespace pdf {

bool IsSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool IsDelimiter(char c)
{
    return c != '\0' && std::strchr("()<>[]{}/%", c) != nullptr;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

qsizetype SkipSpaces(QByteArrayView s, qsizetype i)
{
    while (i < s.size() && IsSpace(s[i]))
        ++i;
    return i;
}

qsizetype ReadLiteral(QByteArrayView s, qsizetype i, QByteArray* out)
{
    int depth = 1;
    for (++i; i < s.size();) {
        char c = s[i++];
        if (c == '\\') {
            if (i >= s.size())
                break;
            const char e = s[i++];
            switch (e) {
            case 'n': c = '\n'; break;
            case 'r': c = '\r'; break;
            case 't': c = '\t'; break;
            case 'b': c = '\b'; break;
            case 'f': c = '\f'; break;
            case '\r':
                if (i < s.size() && s[i] == '\n')
                    ++i;
                continue;
            case '\n':
                continue;
            default:
                if (e >= '0' && e <= '7') {
                    int v = e - '0';
                    for (int k = 0; k < 2 && i < s.size() && s[i] >= '0' && s[i] <= '7'; ++k)
                        v = v * 8 + (s[i++] - '0');
                    c = static_cast<char>(v);
                } else {
                    c = e;
                }
            }
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth == 0) {
            return i;
        }
        if (out)
            out->append(c);
    }
    return s.size();
}

qsizetype ReadHex(QByteArrayView s, qsizetype i, QByteArray* out)
{
    int high = -1;
    for (++i; i < s.size() && s[i] != '>'; ++i) {
        const int v = HexValue(s[i]);
        if (v < 0)
            continue;
        if (high < 0) {
            high = v;
        } else {
            if (out)
                out->append(static_cast<char>(high * 16 + v));
            high = -1;
        }
    }
    if (high >= 0 && out)
        out->append(static_cast<char>(high * 16));
    return std::min(i + 1, s.size());
}

qsizetype DictEnd(QByteArrayView s, qsizetype i)
{
    int depth = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '(') {
            i = ReadLiteral(s, i, nullptr);
        } else if (c == '<' && i + 1 < s.size() && s[i + 1] == '<') {
            ++depth;
            i += 2;
        } else if (c == '>' && i + 1 < s.size() && s[i + 1] == '>') {
            i += 2;
            if (--depth == 0)
                return i;
        } else if (c == '<') {
            i = ReadHex(s, i, nullptr);
        } else {
            ++i;
        }
    }
    return -1;
}

qsizetype FindKey(QByteArrayView dict, QByteArrayView key, qsizetype from)
{
    for (qsizetype at = dict.indexOf(key, from); at >= 0; at = dict.indexOf(key, at + 1)) {
        const qsizetype end = at + key.size();
        if (end >= dict.size() || IsSpace(dict[end]) || IsDelimiter(dict[end]))
            return end;
    }
    return -1;
}

qsizetype ReadInt(QByteArrayView s, qsizetype i, long long& value)
{
    value = -1;
    if (i >= s.size() || !IsDigit(s[i]))
        return i;
    value = 0;
    while (i < s.size() && IsDigit(s[i]) && value < (1LL << 40))
        value = value * 10 + (s[i++] - '0');
    return i;
}

long long ReadRef(QByteArrayView s, qsizetype& i)
{
    long long number = -1, generation = -1;
    qsizetype p = ReadInt(s, SkipSpaces(s, i), number);
    p = ReadInt(s, SkipSpaces(s, p), generation);
    p = SkipSpaces(s, p);
    if (number < 0 || generation < 0 || p >= s.size() || s[p] != 'R')
        return -1;
    i = p + 1;
    return number;
}

} // namespace pdf
