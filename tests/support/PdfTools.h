#pragma once

// Reads PDF files back with poppler and qpdf, as a user's viewer would.
#include <QProcess>
#include <QString>
#include <QStringList>

struct ToolRun {
    int code = -1;
    QString out;
};

inline ToolRun RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput())};
}

// The text of a PDF file in reading order, pages split by form feeds.
inline QString PdfText(const QString& pdf)
{
    return RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).out;
}

inline int PdfPages(const QString& pdf)
{
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf}).out;
    for (const QString& line : info.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

// qpdf --check exits 0 for a sound file (2 for errors, 3 for warnings).
inline int QpdfCheck(const QString& pdf)
{
    return RunTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf}).code;
}
