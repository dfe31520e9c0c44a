#include "report/pdf/PdfDocument.h"

#include "base/CodePage.h"

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
    HPDF_Font font = latin ? m_latin : CjkFont();
    if (!font)
        return;
    HPDF_Page_SetFontAndSize(page, font, m_fontSize);
    const QByteArray bytes = latin ? WinAnsi(run) : EncodeAs(run, "GB2312", QByteArrayLiteral("\xA3\xBF"));
    HPDF_Page_ShowText(page, bytes.constData());
}

void CPdfDocument::Text(HPDF_Page page, float x, float y, const QString& text)
{
    if (!page || text.isEmpty() || !Ok())
        return;
    HPDF_Page_BeginText(page);
    HPDF_Page_MoveTextPos(page, x, y - 10);
    qsizetype begin = 0;
    while (begin < text.size()) {
        const bool latin = IsLatin(text[begin]);
        qsizetype end = begin + 1;
        while (end < text.size() && IsLatin(text[end]) == latin)
            ++end;
        ShowRun(page, text.mid(begin, end - begin), latin);
        begin = end;
    }
    HPDF_Page_EndText(page);
    // The next text starts in the Latin font, as SetFontSize left it.
    HPDF_Page_SetFontAndSize(page, m_latin, m_fontSize);
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
