#include "archive/Archive.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

namespace {

std::atomic<int> g_nextConnection{0};

// The driver's text on one line: libpq ends its messages with newlines.
QString OneLine(const QString& text)
{
    return text.simplified();
}

// SQLite's primary result codes the messages name.
enum SqliteCode { SqliteBusy = 5, SqliteLocked = 6, SqliteReadOnly = 8, SqliteCantOpen = 14, SqliteNotADb = 26 };

} // namespace

CArchive::CArchive() = default;

CArchive::~CArchive()
{
    Close();
}

QSqlDatabase CArchive::Database() const
{
    return QSqlDatabase::database(m_name, false);
}

void CArchive::Close()
{
    if (m_name.isEmpty())
        return;
    {
        QSqlDatabase db = Database();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_name.clear();
}

bool CArchive::Open(const ArchiveAddress& address, QString& error)
{
    Close();
    m_address = address;
    m_dialect = CArchiveDialect(address.kind);
    m_name = QStringLiteral("halvern-archive-%1").arg(g_nextConnection++);
    QSqlDatabase db = QSqlDatabase::addDatabase(m_dialect.Driver(), m_name);
    if (!db.isValid()) {
        error = QStringLiteral("the Qt SQL driver %1 is not installed (Debian package %2)")
                    .arg(m_dialect.Driver(), address.kind == ArchiveAddress::Kind::Sqlite
                                                 ? QStringLiteral("libqt6sql6-sqlite")
                                                 : QStringLiteral("libqt6sql6-psql"));
        return false;
    }
    if (address.kind == ArchiveAddress::Kind::Sqlite) {
        const QString folder = QFileInfo(address.path).absolutePath();
        if (!QDir().mkpath(folder)) {
            error = QStringLiteral("cannot make the archive's folder %1").arg(folder);
            return false;
        }
        db.setDatabaseName(address.path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeoutMs));
    } else {
        db.setHostName(address.host);
        if (address.port > 0)
            db.setPort(address.port);
        db.setUserName(address.user);
        db.setDatabaseName(address.database);
        db.setConnectOptions(address.options.join(QLatin1Char(';')));
    }
    if (!db.open())
        return ConnectFailure(error);
    for (const QString& statement : m_dialect.Setup()) {
        QSqlQuery setup(db);
        setup.exec(statement);
    }
    return Migrate(error);
}

bool CArchive::ConnectFailure(QString& error) const
{
    const QSqlError sqlError = Database().lastError();
    const QString text = OneLine(sqlError.driverText() + QLatin1Char(' ') + sqlError.databaseText());
    if (m_address.kind == ArchiveAddress::Kind::Sqlite) {
        error = Failure(sqlError);
    } else if (text.contains(QLatin1String("password authentication failed"))
               || text.contains(QLatin1String("no password supplied"))) {
        error = QStringLiteral("the archive server refused the password of %1 for %2 (the password comes from "
                               "~/.pgpass, PGPASSFILE or PGPASSWORD)")
                    .arg(m_address.user, m_address.Display());
    } else {
        error = QStringLiteral("cannot connect to the archive server %1: %2").arg(m_address.Display(), OneLine(sqlError.databaseText()));
    }
    return false;
}

QString CArchive::Failure(const QSqlError& sqlError) const
{
    const QString where = m_address.Display();
    if (m_address.kind == ArchiveAddress::Kind::Sqlite) {
        switch (sqlError.nativeErrorCode().toInt() & 0xff) {
        case SqliteBusy:
        case SqliteLocked:
            return QStringLiteral("the archive %1 is locked by another program; try again when it is done").arg(where);
        case SqliteReadOnly:
            return QStringLiteral("the archive %1 is read-only: it can be listed but not added to").arg(where);
        case SqliteCantOpen:
            return QStringLiteral("cannot open the archive %1").arg(where);
        case SqliteNotADb:
            return QStringLiteral("%1 is not an archive (not a SQLite database)").arg(where);
        default:
            break;
        }
    }
    return QStringLiteral("the archive %1 failed: %2").arg(where, OneLine(sqlError.databaseText()));
}

bool CArchive::Exec(QSqlQuery& query, QString& error)
{
    if (query.exec())
        return true;
    error = Failure(query.lastError());
    return false;
}

bool CArchive::Exec(const QString& sql, QString& error)
{
    QSqlQuery query(Database());
    if (query.exec(sql))
        return true;
    error = Failure(query.lastError());
    return false;
}

bool CArchive::Rollback()
{
    QString ignored;
    Exec(QStringLiteral("ROLLBACK"), ignored);
    return false;
}
