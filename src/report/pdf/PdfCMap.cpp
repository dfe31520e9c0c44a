#include "report/pdf/PdfCMap.h"

#include "report/pdf/PdfSyntax.h"

#include <QList>
#include <algorithm>

namespace {

using namespace pdf;

QString Utf16BE(const QByteArray& b)
{
    QString out;
    for (qsizetype i = 0; i + 1 < b.size(); i += 2)
        out += QChar(static_cast<char16_t>((static_cast<unsigned char>(b[i]) << 8) | static_cast<unsigned char>(b[i + 1])));
    return out;
}

quint32 Code(const QByteArray& b)
{
    quint32 code = 0;
    for (const char c : b)
        code = (code << 8) | static_cast<unsigned char>(c);
    return code;
}

// The hex strings of a CMap section from `from` up to its end keyword;
// arrays (of bfrange) are kept as one entry with their strings joined, marked by array.
struct CMapItem {
    QByteArray bytes;
    QList<QByteArray> array;
};

QList<CMapItem> SectionItems(QByteArrayView s, qsizetype from, QByteArrayView endKeyword)
{
    QList<CMapItem> items;
    const qsizetype end = s.indexOf(endKeyword, from);
    const qsizetype stop = end < 0 ? s.size() : end;
    for (qsizetype i = from; i < stop;) {
        if (s[i] == '<') {
            CMapItem item;
            i = ReadHex(s, i, &item.bytes);
            items << item;
        } else if (s[i] == '[') {
            CMapItem item;
            for (++i; i < stop && s[i] != ']';) {
                if (s[i] == '<') {
                    QByteArray b;
                    i = ReadHex(s, i, &b);
                    item.array << b;
                } else {
                    ++i;
                }
            }
            ++i;
            items << item;
        } else {
            ++i;
        }
    }
    return items;
}

} // namespace

namespace pdf {

CMap ParseCMap(QByteArrayView s)
{
    CMap map;
    if (const qsizetype at = s.indexOf(QByteArrayView("begincodespacerange")); at >= 0) {
        const QList<CMapItem> space = SectionItems(s, at, "endcodespacerange");
        if (!space.isEmpty() && !space[0].bytes.isEmpty())
            map.bytes = static_cast<int>(std::min<qsizetype>(4, space[0].bytes.size()));
    }
    for (qsizetype at = s.indexOf(QByteArrayView("beginbfchar")); at >= 0; at = s.indexOf(QByteArrayView("beginbfchar"), at + 1)) {
        const QList<CMapItem> items = SectionItems(s, at, "endbfchar");
        for (qsizetype k = 0; k + 1 < items.size(); k += 2)
            map.text.insert(Code(items[k].bytes), Utf16BE(items[k + 1].bytes));
    }
    for (qsizetype at = s.indexOf(QByteArrayView("beginbfrange")); at >= 0; at = s.indexOf(QByteArrayView("beginbfrange"), at + 1)) {
        const QList<CMapItem> items = SectionItems(s, at, "endbfrange");
        for (qsizetype k = 0; k + 2 < items.size(); k += 3) {
            const quint32 low = Code(items[k].bytes), high = Code(items[k + 1].bytes);
            if (high < low || high - low > 0xFFFF)
                continue;
            for (quint32 code = low; code <= high; ++code) {
                const quint32 n = code - low;
                if (!items[k + 2].array.isEmpty()) {
                    if (n < static_cast<quint32>(items[k + 2].array.size()))
                        map.text.insert(code, Utf16BE(items[k + 2].array[n]));
                    continue;
                }
                QString text = Utf16BE(items[k + 2].bytes);
                if (!text.isEmpty())
                    text.back() = QChar(static_cast<char16_t>(text.back().unicode() + n));
                map.text.insert(code, text);
            }
        }
    }
    return map;
}

QString CMap::Decode(const QByteArray& shown) const
{
    QString out;
    for (qsizetype i = 0; i + bytes <= shown.size(); i += bytes)
        out += text.value(Code(shown.mid(i, bytes)), QString(QChar::ReplacementCharacter));
    return out;
}

} // namespace pdf
