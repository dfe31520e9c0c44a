#pragma once

#include <QString>

// text with every control character (C0, DEL, C1: CR, LF, TAB, ESC, ...)
// replaced by U+FFFD, so a text from a logger or a file shows on one line
// and cannot steer a terminal.
QString PrintableText(const QString& text);
