#include "cli/ConsoleText.h"

#include <QByteArray>

void Print(std::FILE* out, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out);
}

void PrintNow(std::FILE* out, const QString& text)
{
    Print(out, text);
    std::fflush(out);
}
