#pragma once

#include <QByteArray>
#include <QString>
#include <hpdf.h>

// One libHaru document, freed with this object. Every library error is
// caught by the error handler and kept as a reason; drawing goes on
// harmlessly after one and the save refuses the document.
//
// Texts are written in runs: characters of Latin-1 in Helvetica with the
// WinAnsi encoding (so they extract as themselves), any other character
// (Chinese) in the CID font "SimSun" with "GB-EUC-H". No font is embedded.
class CPdfDocument {
public:
    CPdfDocument();
    ~CPdfDocument();
    CPdfDocument(const CPdfDocument&) = delete;
    CPdfDocument& operator=(const CPdfDocument&) = delete;

    // False once the document could not be created or the library reported an error.
    bool Ok() const { return m_doc != nullptr && m_error.isEmpty(); }
    const QString& Error() const { return m_error; }

    // Adds a page of w x h points; null after an error.
    HPDF_Page AddPage(float w, float h);
    // The font size of the texts that follow on page.
    void SetFontSize(HPDF_Page page, float size);
    // text with its baseline at (x, y - 10), in the current fill colour.
    void Text(HPDF_Page page, float x, float y, const QString& text);
    // The same in a cell whose right edge is at right: at the current size
    // where the text fits, else at the size (in half points) that fits.
    void TextInCell(HPDF_Page page, float x, float y, const QString& text, float right);
    // The width of text at the current size, in points.
    float TextWidth(const QString& text);

    // The document information; empty texts are left out. Call it after the
    // last text is drawn: it makes UTF-8 the document's current encoding.
    void SetInfo(const QString& title, const QString& subject, const QString& creator);

    // The whole file; false with Error() set when the library failed.
    bool Save(QByteArray& out);

private:
    static void OnError(HPDF_STATUS error, HPDF_STATUS detail, void* self);
    HPDF_Font CjkFont();
    HPDF_Font RunFont(bool latin) { return latin ? m_latin : CjkFont(); }
    void ShowRun(HPDF_Page page, const QString& run, bool latin);

    HPDF_Doc m_doc = nullptr;
    HPDF_Font m_latin = nullptr;
    HPDF_Font m_cjk = nullptr;
    float m_fontSize = 10;
    QString m_error;
};
