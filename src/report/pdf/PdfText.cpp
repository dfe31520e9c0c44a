#include "report/pdf/PdfText.h"

#include "report/pdf/PdfCMap.h"
#include "report/pdf/PdfObjects.h"
#include "report/pdf/PdfSyntax.h"

#include <QHash>
#include <QList>
#include <utility>

namespace {

using namespace pdf;

constexpr qsizetype kEofWindow = 1024;

class PdfReader {
public:
    explicit PdfReader(QByteArrayView file)
        : m_objects(IndexObjects(file))
    {
    }

    bool Read(QString& text, QString* why)
    {
        FindFonts();
        for (const pdf::Object& object : std::as_const(m_objects)) {
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
    bool Stream(long long number, QByteArray& out) const { return StreamData(m_objects, number, out); }

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
        return map == m_maps.end() ? QString::fromLatin1(bytes) : map->Decode(bytes);
    }

    // What a content stream has said so far: the font chosen, the last
    // name, the strings since the last operator.
    struct TextState {
        QByteArray font, name;
        QList<QByteArray> strings;
    };

    // Appends the texts a content stream shows; a line per text object.
    void ShowText(QByteArrayView s, QString& text) const
    {
        TextState state;
        for (qsizetype i = 0; i < s.size();)
            i = Next(s, i, state, text);
    }

    // Takes the token at i into state (a string, a name) or acts on it (an
    // operator); returns the index after it.
    qsizetype Next(QByteArrayView s, qsizetype i, TextState& state, QString& text) const
    {
        const char c = s[i];
        if (c == '(') {
            state.strings << QByteArray();
            return ReadLiteral(s, i, &state.strings.back());
        }
        if (c == '<' && i + 1 < s.size() && s[i + 1] == '<') {
            const qsizetype end = DictEnd(s, i);
            return end < 0 ? s.size() : end;
        }
        if (c == '<') {
            state.strings << QByteArray();
            return ReadHex(s, i, &state.strings.back());
        }
        if (c == '%') {
            while (i < s.size() && s[i] != '\n' && s[i] != '\r')
                ++i;
            return i;
        }
        if (c != '/' && (IsSpace(c) || IsDelimiter(c)))
            return i + 1;
        qsizetype end = i + 1;
        while (end < s.size() && !IsSpace(s[end]) && !IsDelimiter(s[end]))
            ++end;
        const QByteArrayView word = s.sliced(i, end - i);
        if (c == '/')
            state.name = word.sliced(1).toByteArray();
        else if (!IsDigit(c) && c != '-' && c != '+' && c != '.')
            Operator(word, state, text);
        return end;
    }

    void Operator(QByteArrayView op, TextState& state, QString& text) const
    {
        if (op == "Tf") {
            state.font = state.name;
        } else if (op == "Tj" || op == "TJ" || op == "'" || op == "\"") {
            for (const QByteArray& shown : std::as_const(state.strings))
                text += Decode(shown, state.font);
        } else if (op == "ET") {
            text += QLatin1Char('\n');
        }
        state.strings.clear();
    }

    QMap<long long, pdf::Object> m_objects;
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
