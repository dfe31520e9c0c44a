#include "report/pdf/PdfDocument.h"

#include "base/CodePage.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The library's error codes a user can act on; the others are named by number.
QString ErrorText(HPDF_STATUS error, HPDF_STATUS detail)
{
    switch (error) {
    case HPDF_FAILD_TO_ALLOC_MEM:
        return QStringLiteral("out of memory");
    case HPDF_FILE_IO_ERROR:
        return QStringLiteral("cannot write the document");
    case HPDF_PAGE_OUT_OF_RANGE:
    case HPDF_PAGE_INVALID_SIZE:
        return QStringLiteral("invalid page size");
    default:
        return QString::asprintf("PDF library error 0x%04X (detail %u)", static_cast<unsigned>(error), static_cast<unsigned>(detail));
    }
}

bool IsLatin(QChar c)
{
    return c.unicode() < 0x100;
}

// WinAnsi bytes of a Latin-1 run: control characters (which the font has no
// glyph for) become '?'.
QByteArray WinAnsi(const QString& run)
{
    QByteArray bytes = run.toLatin1();
    for (char& b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u < 0x20 || (u >= 0x7F && u < 0xA0))
            b = '?';
    }
    return bytes;
}

// The bytes of a run in its font's encoding.
QByteArray RunBytes(const QString& run, bool latin)
{
    return latin ? WinAnsi(run) : EncodeAs(run, "GB2312", QByteArrayLiteral("\xA3\xBF"));
}

// Calls f(run, latin) for each run of text that one font shows: Latin-1
// characters in one, any others in the other.
template <typename F>
void ForEachRun(const QString& text, F&& f)
{
    qsizetype begin = 0;
    while (begin < text.size()) {
        const bool latin = IsLatin(text[begin]);
        qsizetype end = begin + 1;
        while (end < text.size() && IsLatin(text[end]) == latin)
            ++end;
        f(text.mid(begin, end - begin), latin);
        begin = end;
    }
}

} // namespace

CPdfDocument::CPdfDocument()
    : m_doc(HPDF_New(&CPdfDocument::OnError, this))
{
    if (!m_doc) {
        m_error = QStringLiteral("cannot create the PDF document");
        return;
    }
    HPDF_SetCompressionMode(m_doc, HPDF_COMP_ALL);
    m_latin = HPDF_GetFont(m_doc, "Helvetica", "WinAnsiEncoding");
}

CPdfDocument::~CPdfDocument()
{
    if (m_doc)
        HPDF_Free(m_doc);
}

void CPdfDocument::OnError(HPDF_STATUS error, HPDF_STATUS detail, void* self)
{
    auto* doc = static_cast<CPdfDocument*>(self);
    // Reading the finished file back ends at its end: no fault.
    if (error == HPDF_STREAM_EOF)
        return;
    if (doc->m_error.isEmpty())
        doc->m_error = ErrorText(error, detail);
}

HPDF_Font CPdfDocument::CjkFont()
{
    if (!m_cjk && Ok()) {
        HPDF_UseCNSEncodings(m_doc);
        HPDF_UseCNSFonts(m_doc);
        m_cjk = HPDF_GetFont(m_doc, "SimSun", "GB-EUC-H");
    }
    return m_cjk;
}

HPDF_Page CPdfDocument::AddPage(float w, float h)
{
    if (!Ok())
        return nullptr;
    HPDF_Page page = HPDF_AddPage(m_doc);
    HPDF_Page_SetWidth(page, w);
    HPDF_Page_SetHeight(page, h);
    return Ok() ? page : nullptr;
}

void CPdfDocument::SetFontSize(HPDF_Page page, float size)
{
    m_fontSize = size;
    if (page && m_latin)
        HPDF_Page_SetFontAndSize(page, m_latin, size);
}

void CPdfDocument::ShowRun(HPDF_Page page, const QString& run, bool latin)
{
    HPDF_Font font = RunFont(latin);
    if (!font)
        return;
    HPDF_Page_SetFontAndSize(page, font, m_fontSize);
    HPDF_Page_ShowText(page, RunBytes(run, latin).constData());
}

void CPdfDocument::Text(HPDF_Page page, float x, float y, const QString& text)
{
    if (!page || text.isEmpty() || !Ok())
        return;
    HPDF_Page_BeginText(page);
    HPDF_Page_MoveTextPos(page, x, y - 10);
    ForEachRun(text, [&](const QString& run, bool latin) { ShowRun(page, run, latin); });
    HPDF_Page_EndText(page);
    // The next text starts in the Latin font, as SetFontSize left it.
    HPDF_Page_SetFontAndSize(page, m_latin, m_fontSize);
}

float CPdfDocument::TextWidth(const QString& text)
{
    HPDF_UINT units = 0; // thousandths of the font size
    ForEachRun(text, [&](const QString& run, bool latin) {
        if (HPDF_Font font = Ok() ? RunFont(latin) : nullptr) {
            const QByteArray bytes = RunBytes(run, latin);
            units += HPDF_Font_TextWidth(font, reinterpret_cast<const HPDF_BYTE*>(bytes.constData()),
                                         static_cast<HPDF_UINT>(bytes.size())).width;
        }
    });
    return static_cast<float>(units) * m_fontSize / 1000;
}

void CPdfDocument::TextInCell(HPDF_Page page, float x, float y, const QString& text, float right)
{
    const float width = TextWidth(text);
    if (width <= right - x) {
        Text(page, x, y, text);
        return;
    }
    const float size = m_fontSize;
    SetFontSize(page, std::max(0.5f, std::floor(size * (right - x) / width * 2) / 2));
    Text(page, x, y, text);
    SetFontSize(page, size);
}

void CPdfDocument::SetInfo(const QString& title, const QString& subject, const QString& creator)
{
    if (!Ok())
        return;
    // Info strings are written in the current encoding, as UTF-16 when it
    // is a multi-byte one: UTF-8 takes any text.
    HPDF_UseUTFEncodings(m_doc);
    HPDF_SetCurrentEncoder(m_doc, "UTF-8");
    const std::pair<HPDF_InfoType, const QString&> entries[] = {
        {HPDF_INFO_TITLE, title}, {HPDF_INFO_SUBJECT, subject}, {HPDF_INFO_CREATOR, creator}};
    for (const auto& [type, text] : entries)
        if (!text.isEmpty())
            HPDF_SetInfoAttr(m_doc, type, text.toUtf8().constData());
}

bool CPdfDocument::Save(QByteArray& out)
{
    if (!Ok())
        return false;
    if (HPDF_SaveToStream(m_doc) != HPDF_OK || !Ok())
        return false;
    out.resize(static_cast<qsizetype>(HPDF_GetStreamSize(m_doc)));
    HPDF_UINT32 size = static_cast<HPDF_UINT32>(out.size());
    HPDF_ResetStream(m_doc);
    const HPDF_STATUS rc = HPDF_ReadFromStream(m_doc, reinterpret_cast<HPDF_BYTE*>(out.data()), &size);
    if ((rc != HPDF_OK && rc != HPDF_STREAM_EOF) || size != static_cast<HPDF_UINT32>(out.size())) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("cannot read the document back from memory");
        return false;
    }
    return true;
}
