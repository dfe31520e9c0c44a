#pragma once

#include <QByteArray>
#include <QString>

// The text a PDF file shows, read back from its page contents: enough of the
// format to find a line such as a report's fingerprint, not a general reader.
//
// Handled: objects in the file body (not in object streams), streams stored
// plainly or with FlateDecode, text shown with Tj, ', " and TJ, in a font
// with a ToUnicode map (code units of its code space; a PDF printed through
// Qt shows glyph numbers so) or else byte for byte as Latin-1 (libHaru's
// WinAnsi texts). Each text object (BT .. ET) ends a line.
//
// False, with the reason in why, when the bytes are no PDF or the file is
// truncated (it has no end-of-file marker) or a page content cannot be
// decompressed.
bool ReadPdfText(const QByteArray& pdf, QString& text, QString* why = nullptr);
