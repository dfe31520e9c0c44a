#pragma once

#include <QDir>
#include <QDirIterator>
#include <QStringList>

// Every file under root, hidden ones included, relative to it, sorted.
inline QStringList Tree(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}
