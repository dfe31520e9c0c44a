#pragma once

#include <QByteArray>
#include <QString>

// Conversion between the program's wide texts and the 8-bit texts that
// loggers and data files carry. Both the "OEM" use (texts written to loggers
// and files) and the "ANSI" use (texts read back) use one code page: CP936
// (GBK) unless the environment variable HALVERN_CODEPAGE names another iconv
// encoding. Characters the code page cannot hold become '?'.
QByteArray ToOem(const QString& text);
QString FromOem(const QByteArray& bytes);
QByteArray ToAnsi(const QString& text);
QString FromAnsi(const QByteArray& bytes);

// text in the iconv encoding named; characters it cannot hold become
// replacement.
QByteArray EncodeAs(const QString& text, const char* encoding, const QByteArray& replacement);

// The iconv name of the code page in force.
QByteArray CodePageName();
