#pragma once

#include <QString>

// The data file named by a command-line text: quotes stripped, the
// extension taken after the last dot and the name after the last path
// separator. Extensions compare case-sensitively.
struct CommandLineFile {
    QString path;
    QString name;
    QString ext;
    bool IsDataFile() const { return ext == QLatin1String("tavo"); }
};

CommandLineFile ParseCommandLineFile(const QString& commandLine);

// Extension after the last dot of a file name ("" without a dot).
QString ExtensionOf(const QString& fileName);
// File name after the last '/' or '\\'.
QString FileNameOf(const QString& path);
