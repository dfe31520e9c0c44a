#pragma once

#include "archive/ArchiveAddress.h"
#include "archive/ArchiveDialect.h"
#include "archive/AuditTrail.h"
#include "archive/MissionRow.h"

#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

// Which missions a listing shows: all of one logger ID, those overlapping a
// time range, those with at least one excursion; any combination.
struct ArchiveFilter {
    QString loggerId;
    std::optional<time64> from;
    std::optional<time64> to;
    bool alarmsOnly = false;
};

// The columns a page of missions can be ordered by; equal values keep the
// order in which the missions were indexed.
enum class MissionOrder { LoggerId, Start, Stop, Samples, Excursions, File };

struct MissionPage {
    MissionOrder order = MissionOrder::Start;
    bool descending = true;
    int offset = 0;
    int limit = 100;
};

// What importing one data file did.
struct ImportResult {
    enum Outcome {
        Indexed, // a new mission row
        Known,   // the file is indexed already (also when another station just did it)
        Moved,   // the file was indexed at a place where it is no longer: the path now names this one
        Damaged, // the reader refused the file: reason says why; nothing written
        Failed,  // the database failed: reason says why; nothing written
    };
    Outcome outcome = Failed;
    QString reason;
    MissionRow row; // the mission's row (Indexed, Known, Moved)
};

// The mission archive: an index of data files in a SQL database, SQLite or
// PostgreSQL, created and migrated by the program. The files stay the record;
// the index can be rebuilt by importing them again. Every failure is a
// message naming its cause, worded for the user, without any password.
class CArchive {
public:
    // The schema this program writes; an archive of a higher version is refused.
    static constexpr int kSchemaVersion = 2;

    CArchive();
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    // How long a SQLite writer waits for another one's lock before failing.
    void SetBusyTimeout(int ms) { m_busyTimeoutMs = ms; }

    // Connects (making the folder of a new SQLite file), then creates or
    // migrates the schema.
    bool Open(const ArchiveAddress& address, QString& error);
    void Close();
    // Opened and not closed since (also after a failed open, until Close).
    bool IsOpen() const { return !m_name.isEmpty(); }
    const ArchiveAddress& Address() const { return m_address; }

    // Indexes one data file, in one transaction. A file whose bytes are
    // indexed already is not read again.
    ImportResult Import(const QString& path);

    // Newest first; each row's missing flag tells whether its file is gone.
    bool List(const ArchiveFilter& filter, std::vector<MissionRow>& rows, QString& error);
    // One page of the missions a filter lists, in the page's order, with
    // the missing flags; and how many missions the filter lists in all.
    bool Page(const ArchiveFilter& filter, const MissionPage& page, std::vector<MissionRow>& rows, QString& error);
    bool Count(const ArchiveFilter& filter, qint64& count, QString& error);
    // The newest mission of a logger ID; found false when there is none.
    bool FindNewest(const QString& loggerId, MissionRow& row, bool& found, QString& error);
    // The mission of a data file: by its bytes when the file is there, else
    // by the path it was indexed at.
    bool FindFile(const QString& path, MissionRow& row, bool& found, QString& error);

    // The audit trail. Appends entries (time, user, host, action, logger and
    // detail filled in) at its end in one transaction, giving each its seq,
    // prev and hash; appends of other connections and stations wait for each
    // other, so the trail stays one chain. Nothing is written on failure.
    bool AppendAudit(std::vector<AuditEntry>& entries, QString& error);
    // The entries a filter lists, oldest first: a logger's, a mission's (its
    // logger and time range), or all.
    bool ListAudit(const AuditFilter& filter, std::vector<AuditEntry>& entries, QString& error);
    // Checks every entry's hash and link in order; false only when the
    // archive cannot be read.
    bool VerifyAudit(AuditVerdict& verdict, QString& error);

private:
    QSqlDatabase Database() const;
    bool Exec(QSqlQuery& query, QString& error);
    bool Exec(const QString& sql, QString& error);
    QString Failure(const QSqlError& sqlError) const;
    bool ConnectFailure(QString& error) const;
    bool Migrate(QString& error);
    bool ReadVersion(int& version, QString& error);
    bool ApplyMigrations(int from, QString& error);
    // tail follows the WHERE clause: ORDER BY, LIMIT (newest first when empty).
    bool Select(const QString& where, const QVariantList& values, const QString& tail, std::vector<MissionRow>& rows,
                QString& error);
    bool Insert(const MissionRow& row, bool& inserted, QString& error);
    bool UpdatePath(qint64 key, const QString& path, QString& error);
    ImportResult FromKnown(const MissionRow& known, const QString& path);
    // Ends the open transaction without writing; always false.
    bool Rollback();

    QString m_name; // the Qt SQL connection's name
    ArchiveAddress m_address;
    CArchiveDialect m_dialect{ArchiveAddress::Kind::Sqlite};
    int m_busyTimeoutMs = 5000;
};

// The .tavo files of the paths given: files as they are, folders searched
// recursively (sorted, so that runs are repeatable). Paths that do not
// exist are added to missing.
QStringList CollectDataFiles(const QStringList& paths, QStringList& missing);

// Indexes one data file as CArchive::Import does; when the database fails,
// connects to the same address again and tries once more, so a connection
// the server has cut since the last use (a restart, an idle timeout) costs
// no mission. The archive is left closed when that fails too.
ImportResult ImportReconnecting(CArchive& archive, const QString& path);
