#include "report/pdf/PdfText.h"

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QMap>
#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>
#include <zlib.h>

namespace {

constexpr qsizetype kEofWindow = 1024;
// No page content of a report comes near this; a stream that inflates past
// it is refused rather than filling the memory.
constexpr qsizetype kMaxInflated = qsizetype(256) << 20;

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

int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

qsizetype SkipSpaces(QByteArrayView s, qsizetype i)
{
    while (i < s.size() && IsSpace(s[i]))
        ++i;
    return i;
}

// A literal string from the '(' at i: its bytes into out (when given);
// returns the index after the closing ')' (the end when there is none).
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

// A hex string from the '<' at i; returns the index after its '>'.
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

// The index after the dictionary that starts with "<<" at i; -1 when it
// does not end.
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

// The index right after key (a name such as "/Length") in dict, from from
// on; -1 when it is not there. "/Font" does not find "/FontFile2".
qsizetype FindKey(QByteArrayView dict, QByteArrayView key, qsizetype from = 0)
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

// "N G R" at i: N, and the index after it; -1 when there is none.
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

bool Inflate(QByteArrayView in, QByteArray& out)
{
    z_stream z{};
    if (in.size() > UINT_MAX || inflateInit(&z) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    out.resize(std::min(kMaxInflated, std::max<qsizetype>(4096, in.size() * 4)));
    int rc = Z_OK;
    while (rc == Z_OK) {
        if (z.total_out == static_cast<uLong>(out.size())) {
            if (out.size() >= kMaxInflated)
                break;
            out.resize(std::min(out.size() * 2, kMaxInflated));
        }
        z.next_out = reinterpret_cast<Bytef*>(out.data() + z.total_out);
        z.avail_out = static_cast<uInt>(out.size() - static_cast<qsizetype>(z.total_out));
        rc = inflate(&z, Z_NO_FLUSH);
        if (rc == Z_BUF_ERROR && z.avail_in == 0)
            break; // the data ends before the stream's end
    }
    out.resize(static_cast<qsizetype>(z.total_out));
    inflateEnd(&z);
    return rc == Z_STREAM_END;
}

struct PdfObject {
    QByteArrayView dict;   // "<< .. >>", empty when the object is none
    QByteArrayView stream; // the raw stream data, up to "endstream"
    bool hasStream = false;
};

// The objects of the file body in order of number (a later one replaces an earlier:
// an incremental update).
QMap<long long, PdfObject> IndexObjects(QByteArrayView s)
{
    QMap<long long, PdfObject> objects;
    qsizetype pos = 0;
    while ((pos = s.indexOf(QByteArrayView("obj"), pos)) >= 0) {
        const qsizetype after = pos + 3;
        qsizetype j = pos - 1;
        const bool spaced = j >= 0 && IsSpace(s[j]);
        while (j >= 0 && IsSpace(s[j]))
            --j;
        const qsizetype genEnd = j;
        while (j >= 0 && IsDigit(s[j]))
            --j;
        const bool gen = j < genEnd && j >= 0 && IsSpace(s[j]);
        while (j >= 0 && IsSpace(s[j]))
            --j;
        const qsizetype numEnd = j;
        while (j >= 0 && IsDigit(s[j]))
            --j;
        const bool num = j < numEnd && (j < 0 || IsSpace(s[j]) || IsDelimiter(s[j]));
        if (!spaced || !gen || !num || (after < s.size() && !IsSpace(s[after]) && !IsDelimiter(s[after]))) {
            pos = after;
            continue;
        }
        long long number = -1;
        ReadInt(s, j + 1, number);
        PdfObject object;
        qsizetype p = SkipSpaces(s, after);
        if (s.sliced(p).startsWith("<<")) {
            const qsizetype end = DictEnd(s, p);
            if (end < 0)
                break;
            object.dict = s.sliced(p, end - p);
            p = SkipSpaces(s, end);
            if (s.sliced(p).startsWith("stream")) {
                p += 6;
                if (p < s.size() && s[p] == '\r')
                    ++p;
                if (p < s.size() && s[p] == '\n')
                    ++p;
                qsizetype stop = s.indexOf(QByteArrayView("endstream"), p);
                if (stop < 0)
                    stop = s.size();
                object.stream = s.sliced(p, stop - p);
                object.hasStream = true;
                p = stop;
            }
        }
        objects.insert(number, object);
        pos = std::max(p, after);
    }
    return objects;
}

// A font's ToUnicode map: codes of `bytes` bytes to their text.
struct CMap {
    int bytes = 2;
    QHash<quint32, QString> text;
};

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

class PdfReader {
public:
    explicit PdfReader(QByteArrayView file)
        : m_objects(IndexObjects(file))
    {
    }

    bool Read(QString& text, QString* why)
    {
        FindFonts();
        for (const PdfObject& object : std::as_const(m_objects)) {
            for (const long long content : ContentRefs(object.dict)) {
                QByteArray data;
                if (!Stream(content, data)) {
                    if (why)
                        *why = QStringLiteral("damaged: the content of a page cannot be read");
                    return false;
                }
                ShowText(data, text);
            }
        }
        return true;
    }

private:
    // The decoded data of stream object number; false when it is missing
    // or cannot be decoded.
    bool Stream(long long number, QByteArray& out) const
    {
        const auto it = m_objects.find(number);
        if (it == m_objects.end() || !it->hasStream)
            return false;
        if (FindKey(it->dict, "/FlateDecode") >= 0)
            return Inflate(it->stream, out);
        if (FindKey(it->dict, "/Filter") >= 0)
            return false; // a filter this reader does not know
        out = it->stream.toByteArray();
        return true;
    }

    // The font resources (name to font object) and the fonts' text maps.
    void FindFonts()
    {
        for (auto it = m_objects.cbegin(); it != m_objects.cend(); ++it) {
            const QByteArrayView dict = it->dict;
            for (qsizetype at = FindKey(dict, "/Font"); at >= 0; at = FindKey(dict, "/Font", at)) {
                qsizetype p = SkipSpaces(dict, at);
                QByteArrayView fonts;
                if (dict.sliced(p).startsWith("<<")) {
                    const qsizetype end = DictEnd(dict, p);
                    fonts = end < 0 ? QByteArrayView() : dict.sliced(p, end - p);
                } else if (const long long ref = ReadRef(dict, p); ref >= 0 && m_objects.contains(ref)) {
                    fonts = m_objects.value(ref).dict;
                }
                AddFontNames(fonts);
            }
            qsizetype p = FindKey(dict, "/ToUnicode");
            if (p < 0)
                continue;
            QByteArray data;
            if (const long long ref = ReadRef(dict, p); ref >= 0 && Stream(ref, data))
                m_maps.insert(it.key(), ParseCMap(data));
        }
    }

    // "<< /F1 5 0 R /F2 7 0 R >>"
    void AddFontNames(QByteArrayView fonts)
    {
        for (qsizetype i = 2; i < fonts.size();) {
            if (fonts[i] != '/') {
                ++i;
                continue;
            }
            qsizetype end = i + 1;
            while (end < fonts.size() && !IsSpace(fonts[end]) && !IsDelimiter(fonts[end]))
                ++end;
            const QByteArray name = fonts.sliced(i + 1, end - i - 1).toByteArray();
            i = end;
            if (const long long ref = ReadRef(fonts, i); ref >= 0)
                m_fontNames.insert(name, ref);
        }
    }

    // The streams of a page's /Contents: one reference or an array of them.
    static QList<long long> ContentRefs(QByteArrayView dict)
    {
        QList<long long> refs;
        qsizetype p = FindKey(dict, "/Contents");
        if (p < 0)
            return refs;
        p = SkipSpaces(dict, p);
        if (p < dict.size() && dict[p] == '[') {
            ++p;
            for (long long ref; (ref = ReadRef(dict, p)) >= 0;)
                refs << ref;
        } else if (const long long ref = ReadRef(dict, p); ref >= 0) {
            refs << ref;
        }
        return refs;
    }

    QString Decode(const QByteArray& bytes, const QByteArray& font) const
    {
        const auto name = m_fontNames.find(font);
        const auto map = name == m_fontNames.end() ? m_maps.end() : m_maps.find(*name);
        if (map == m_maps.end())
            return QString::fromLatin1(bytes);
        QString out;
        for (qsizetype i = 0; i + map->bytes <= bytes.size(); i += map->bytes)
            out += map->text.value(Code(bytes.mid(i, map->bytes)), QString(QChar::ReplacementCharacter));
        return out;
    }

    // Appends the texts a content stream shows; a line per text object.
    void ShowText(QByteArrayView s, QString& text) const
    {
        QByteArray font, name;
        QList<QByteArray> strings;
        for (qsizetype i = 0; i < s.size();) {
            const char c = s[i];
            if (IsSpace(c) || c == '[' || c == ']' || c == '{' || c == '}' || c == ')') {
                ++i;
            } else if (c == '%') {
                while (i < s.size() && s[i] != '\n' && s[i] != '\r')
                    ++i;
            } else if (c == '(') {
                strings << QByteArray();
                i = ReadLiteral(s, i, &strings.back());
            } else if (c == '<' && i + 1 < s.size() && s[i + 1] == '<') {
                const qsizetype end = DictEnd(s, i);
                i = end < 0 ? s.size() : end;
            } else if (c == '<') {
                strings << QByteArray();
                i = ReadHex(s, i, &strings.back());
            } else if (c == '>') {
                ++i;
            } else {
                qsizetype end = i + 1;
                while (end < s.size() && !IsSpace(s[end]) && !IsDelimiter(s[end]))
                    ++end;
                const QByteArrayView token = s.sliced(i, end - i);
                i = end;
                if (c == '/') {
                    name = token.sliced(1).toByteArray();
                    continue;
                }
                if (IsDigit(c) || c == '-' || c == '+' || c == '.')
                    continue;
                if (token == "Tf") {
                    font = name;
                } else if (token == "Tj" || token == "TJ" || token == "'" || token == "\"") {
                    for (const QByteArray& shown : std::as_const(strings))
                        text += Decode(shown, font);
                } else if (token == "ET") {
                    text += QLatin1Char('\n');
                }
                strings.clear();
            }
        }
    }

    QMap<long long, PdfObject> m_objects;
    QHash<QByteArray, long long> m_fontNames;
    QHash<long long, CMap> m_maps;
};

} // namespace

bool ReadPdfText(const QByteArray& pdf, QString& text, QString* why)
{
    auto fail = [why](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    text.clear();
    if (!pdf.startsWith("%PDF-"))
        return fail(QStringLiteral("not a PDF file"));
    if (!pdf.right(kEofWindow).contains("%%EOF"))
        return fail(QStringLiteral("truncated: the PDF file ends before its end-of-file marker"));
    PdfReader reader(pdf);
    return reader.Read(text, why);
}
