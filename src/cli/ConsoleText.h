#pragma once

#include <QString>
#include <cstdio>

// Writes text to a C stream as UTF-8.
void Print(std::FILE* out, const QString& text);
// The same, flushed at once (for lines another program or person waits on).
void PrintNow(std::FILE* out, const QString& text);
// The error of the first write through Print to standard output that
// failed; 0 when none did.
int StandardOutputError();
