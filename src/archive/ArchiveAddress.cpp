#include "archive/ArchiveAddress.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

namespace {

QString Decoded(const QString& text)
{
    return QUrl::fromPercentEncoding(text.toUtf8());
}

// A driver option value the connection string could misread: blanks,
// quotes and the separators of Qt's option list.
bool UnsafeOptionValue(const QString& value)
{
    static const QRegularExpression kUnsafe(QStringLiteral("[\\s'\";\\\\]"));
    return value.contains(kUnsafe);
}

bool ParseOptions(const QString& query, QStringList& options, QString& error)
{
    for (const QString& pair : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const QString key = Decoded(pair.section(QLatin1Char('='), 0, 0)).trimmed();
        const QString value = Decoded(pair.section(QLatin1Char('='), 1));
        if (key.compare(QLatin1String("password"), Qt::CaseInsensitive) == 0) {
            error = QStringLiteral("the archive address must not carry a password: the PostgreSQL client "
                                   "reads it from ~/.pgpass, PGPASSFILE, PGPASSWORD or a service file");
            return false;
        }
        if (key.isEmpty() || !pair.contains(QLatin1Char('=')) || UnsafeOptionValue(key) || UnsafeOptionValue(value)) {
            error = QStringLiteral("the archive address option '%1' is not of the form key=value").arg(key);
            return false;
        }
        options << key + QLatin1Char('=') + value;
    }
    return true;
}

bool ParsePostgres(const QString& text, ArchiveAddress& address, QString& error)
{
    static const QRegularExpression kUrl(
        QStringLiteral("^postgres(?:ql)?://([^@/?]*)@(\\[[^\\]]*\\]|[^/:?]*)(?::([0-9]{1,5}))?/([^?/]+)(?:\\?(.*))?$"));
    const QRegularExpressionMatch m = kUrl.match(text);
    const QString userPart = text.section(QLatin1Char('@'), 0, 0);
    if (text.contains(QLatin1Char('@')) && userPart.mid(userPart.indexOf(QLatin1String("://")) + 3).contains(QLatin1Char(':'))) {
        error = QStringLiteral("the archive address must not carry a password: the PostgreSQL client "
                               "reads it from ~/.pgpass, PGPASSFILE, PGPASSWORD or a service file");
        return false;
    }
    if (!m.hasMatch() || m.captured(1).isEmpty()) {
        error = QStringLiteral("the archive address must be postgresql://USER@HOST[:PORT]/DATABASE[?OPTIONS]");
        return false;
    }
    address.kind = ArchiveAddress::Kind::Postgres;
    address.user = Decoded(m.captured(1));
    address.host = Decoded(m.captured(2));
    if (address.host.startsWith(QLatin1Char('[')))
        address.host = address.host.mid(1, address.host.size() - 2);
    address.port = m.captured(3).toInt();
    address.database = Decoded(m.captured(4));
    if (m.hasCaptured(3) && (address.port < 1 || address.port > 65535)) {
        error = QStringLiteral("the archive address's port must be 1 to 65535");
        return false;
    }
    return ParseOptions(m.captured(5), address.options, error);
}

} // namespace

QString ArchiveAddress::Display() const
{
    if (kind == Kind::Sqlite)
        return path;
    QString text = user + QLatin1Char('@') + host;
    if (port > 0)
        text += QLatin1Char(':') + QString::number(port);
    return text + QLatin1Char('/') + database;
}

bool ParseArchiveAddress(const QString& text, ArchiveAddress& address, QString& error)
{
    address = ArchiveAddress();
    if (text.startsWith(QLatin1String("postgres://")) || text.startsWith(QLatin1String("postgresql://")))
        return ParsePostgres(text, address, error);
    QString path = text;
    if (path.startsWith(QLatin1String("sqlite:")))
        path = path.mid(7);
    if (path.startsWith(QLatin1String("//")))
        path = path.mid(2);
    if (path.isEmpty() || path.contains(QLatin1String("://"))) {
        error = QStringLiteral("the archive address must be a SQLite file or postgresql://USER@HOST[:PORT]/DATABASE");
        return false;
    }
    address.path = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    return true;
}

QString DefaultArchivePath()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data + QStringLiteral("/halvern-th/archive.sqlite");
}

QString DefaultArchiveAddress()
{
    const QString chosen = qEnvironmentVariable("HALVERN_ARCHIVE_DB");
    return chosen.isEmpty() ? DefaultArchivePath() : chosen;
}
