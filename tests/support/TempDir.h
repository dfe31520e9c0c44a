#pragma once
#include <QTemporaryDir>
#include <QString>

// A fresh folder per test, removed afterwards.
class TempDir {
public:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString root() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};
