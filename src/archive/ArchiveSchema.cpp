// The archive's schema and its migrations: step n brings an archive of
// schema version n - 1 to version n.
#include "archive/Archive.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

QStringList Version1(const CArchiveDialect& dialect)
{
    return {
        QStringLiteral("CREATE TABLE mission ("
                       "mission_key %1,"
                       " logger_id VARCHAR(32) NOT NULL,"
                       " logger_type INTEGER NOT NULL,"
                       " start_time BIGINT NOT NULL,"
                       " stop_time BIGINT NOT NULL,"
                       " interval_s BIGINT NOT NULL,"
                       " samples INTEGER NOT NULL,"
                       " temp_low DOUBLE PRECISION, temp_high DOUBLE PRECISION,"
                       " humi_low DOUBLE PRECISION, humi_high DOUBLE PRECISION,"
                       " temp_min DOUBLE PRECISION NOT NULL, temp_max DOUBLE PRECISION NOT NULL,"
                       " temp_avg DOUBLE PRECISION NOT NULL, temp_mkt DOUBLE PRECISION NOT NULL,"
                       " humi_min DOUBLE PRECISION, humi_max DOUBLE PRECISION, humi_avg DOUBLE PRECISION,"
                       " temp_excursions INTEGER NOT NULL, temp_excursion_s BIGINT NOT NULL,"
                       " humi_excursions INTEGER NOT NULL, humi_excursion_s BIGINT NOT NULL,"
                       " description TEXT NOT NULL,"
                       " file_path TEXT NOT NULL,"
                       " file_size BIGINT NOT NULL,"
                       " sha256 CHAR(64) NOT NULL,"
                       " archived_at BIGINT NOT NULL,"
                       " station TEXT NOT NULL,"
                       " UNIQUE (logger_id, start_time, sha256))")
            .arg(dialect.GeneratedKey()),
        QStringLiteral("CREATE INDEX mission_by_logger ON mission (logger_id, start_time)"),
        QStringLiteral("CREATE INDEX mission_by_time ON mission (start_time, stop_time)"),
        QStringLiteral("CREATE INDEX mission_by_sha ON mission (sha256)"),
    };
}

// The audit trail. Its entries are numbered by the program, so a station's
// role needs no more than SELECT and INSERT on it; texts are kept exactly
// as hashed.
QStringList Version2(const CArchiveDialect& dialect)
{
    return {
        QStringLiteral("CREATE TABLE audit_trail ("
                       "seq %1,"
                       " at TEXT NOT NULL,"
                       " os_user TEXT NOT NULL,"
                       " host TEXT NOT NULL,"
                       " action TEXT NOT NULL,"
                       " logger_id TEXT NOT NULL,"
                       " detail TEXT NOT NULL,"
                       " prev TEXT NOT NULL,"
                       " hash TEXT NOT NULL)")
            .arg(dialect.AssignedKey()),
        QStringLiteral("CREATE INDEX audit_by_logger ON audit_trail (logger_id, at)"),
        QStringLiteral("CREATE INDEX audit_by_time ON audit_trail (at)"),
    };
}

using Migration = QStringList (*)(const CArchiveDialect&);
const Migration kMigrations[] = {Version1, Version2};
static_assert(std::size(kMigrations) == CArchive::kSchemaVersion);

const QString kVersionTable = QStringLiteral("archive_schema");

} // namespace

bool CArchive::ReadVersion(int& version, QString& error)
{
    version = 0;
    if (!Database().tables().contains(kVersionTable))
        return true;
    QSqlQuery query(Database());
    query.prepare(QStringLiteral("SELECT MAX(version) FROM archive_schema"));
    if (!Exec(query, error))
        return false;
    if (query.next())
        version = query.value(0).toInt();
    return true;
}

bool CArchive::Migrate(QString& error)
{
    int version = 0;
    if (!ReadVersion(version, error))
        return false;
    if (version > kSchemaVersion) {
        error = QStringLiteral("the archive %1 has schema version %2, made by a newer version of this program, "
                               "which knows versions up to %3: update the program to use it")
                    .arg(m_address.Display())
                    .arg(version)
                    .arg(kSchemaVersion);
        return false;
    }
    if (version == kSchemaVersion)
        return true;
    if (!Exec(m_dialect.BeginWrite(), error))
        return false;
    if (!m_dialect.SchemaLock().isEmpty() && !Exec(m_dialect.SchemaLock(), error))
        return Rollback();
    // Another station may have migrated while this one waited for the lock.
    if (!ReadVersion(version, error) || !ApplyMigrations(version, error))
        return Rollback();
    return Exec(QStringLiteral("COMMIT"), error) || Rollback();
}

bool CArchive::ApplyMigrations(int from, QString& error)
{
    if (from >= kSchemaVersion)
        return true;
    if (from == 0 && !Exec(QStringLiteral("CREATE TABLE archive_schema (version INTEGER NOT NULL)"), error))
        return false;
    for (int step = from; step < kSchemaVersion; ++step)
        for (const QString& statement : kMigrations[step](m_dialect))
            if (!Exec(statement, error))
                return false;
    return Exec(QStringLiteral("DELETE FROM archive_schema"), error)
        && Exec(QStringLiteral("INSERT INTO archive_schema (version) VALUES (%1)").arg(kSchemaVersion), error);
}
