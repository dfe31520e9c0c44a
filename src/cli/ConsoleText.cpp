#include "cli/ConsoleText.h"

#include <QByteArray>
#include <cerrno>

namespace {

int g_stdoutError = 0;

} // namespace

void Print(std::FILE* out, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out);
    if (out == stdout && std::ferror(out) && g_stdoutError == 0)
        g_stdoutError = errno;
}

int StandardOutputError()
{
    return g_stdoutError;
}

void PrintNow(std::FILE* out, const QString& text)
{
    Print(out, text);
    std::fflush(out);
}
