#include "mainwnd/CommandLineFile.h"

namespace {

qsizetype LastSeparator(const QString& path)
{
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

} // namespace

CommandLineFile ParseCommandLineFile(const QString& commandLine)
{
    CommandLineFile file;
    QString text = commandLine;
    if (text.isEmpty())
        return file;
    if (text.startsWith(QLatin1Char('"'))) {
        const qsizetype close = text.indexOf(QLatin1Char('"'), 1);
        if (close >= 2)
            text = text.mid(1, close - 1);
    }
    file.path = text;
    const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        file.ext = text.mid(dot + 1);
    const qsizetype slash = LastSeparator(text);
    if (slash > 0)
        file.name = text.mid(slash + 1);
    return file;
}

QString ExtensionOf(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.mid(dot + 1);
}

QString FileNameOf(const QString& path)
{
    return path.mid(LastSeparator(path) + 1);
}
