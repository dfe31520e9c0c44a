#include "base/AuditEvent.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

QString AuditTime(qint64 secondsSinceEpoch)
{
    return QDateTime::fromSecsSinceEpoch(secondsSinceEpoch, Qt::UTC).toString(Qt::ISODate);
}

QString FileSha256(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return {};
    return QString::fromLatin1(hash.result().toHex());
}

QJsonObject WrittenFile(const QString& path)
{
    QJsonObject written{{"file", path == QLatin1String("-") ? path : QFileInfo(path).absoluteFilePath()}};
    if (const QString sha = FileSha256(path); !sha.isEmpty())
        written.insert("sha256", sha);
    return written;
}
