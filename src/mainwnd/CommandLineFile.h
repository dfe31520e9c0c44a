#pragma once

#include <QString>

// The data file named by a command-line text: quotes stripped, the
// extension taken after the last dot and the name after the last path
// separator. The extension compares without regard to case, as the
// desktop's file type does (RUN1.TAVO is a data file too).
struct CommandLineFile {
    QString path;
    QString name;
    QString ext;
    bool IsDataFile() const { return ext.compare(QLatin1String("tavo"), Qt::CaseInsensitive) == 0; }
};

CommandLineFile ParseCommandLineFile(const QString& commandLine);

// Extension after the last dot of a file name ("" without a dot).
QString ExtensionOf(const QString& fileName);
// File name after the last '/' or '\\'.
QString FileNameOf(const QString& path);
