// The audit trail in the archive: appending at the end of one chain,
// listing, and checking the chain.
#include "archive/Archive.h"

#include "base/AuditEvent.h"

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlQuery>

const QString kAuditFirstPrev(64, QLatin1Char('0'));

QString AuditEntryHash(const AuditEntry& e)
{
    const QChar n = QLatin1Char('\n');
    const QString text = e.prev + n + QString::number(e.seq) + n + e.time + n + e.user + n + e.host + n + e.action
                         + n + e.logger + n + e.detail;
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex());
}

namespace {

const char kColumns[] = "SELECT seq, at, os_user, host, action, logger_id, detail, prev, hash FROM audit_trail";

AuditEntry EntryOf(const QSqlQuery& q)
{
    AuditEntry e;
    e.seq = q.value(0).toLongLong();
    e.time = q.value(1).toString();
    e.user = q.value(2).toString();
    e.host = q.value(3).toString();
    e.action = q.value(4).toString();
    e.logger = q.value(5).toString();
    e.detail = q.value(6).toString();
    e.prev = q.value(7).toString();
    e.hash = q.value(8).toString();
    return e;
}

// The first fault of entry e where expected was the next seq and prev the
// hash it must link to; empty when it has none.
QString Fault(const AuditEntry& e, qint64 expected, const QString& prev)
{
    if (e.seq > expected + 1)
        return QStringLiteral("entries %1..%2 are missing").arg(expected).arg(e.seq - 1);
    if (e.seq > expected)
        return QStringLiteral("entry %1 is missing").arg(expected);
    if (e.seq < expected)
        return QStringLiteral("entry %1 is out of sequence (expected %2)").arg(e.seq).arg(expected);
    if (AuditEntryHash(e) != e.hash)
        return QStringLiteral("entry %1: its hash does not match its contents").arg(e.seq);
    if (e.prev != prev)
        return e.seq == 1 ? QStringLiteral("entry 1: its link to the start of the trail does not match")
                          : QStringLiteral("entry %1: its link to entry %2 does not match").arg(e.seq).arg(e.seq - 1);
    return {};
}

} // namespace

bool CArchive::AppendAudit(std::vector<AuditEntry>& entries, QString& error)
{
    if (entries.empty())
        return true;
    if (!Exec(m_dialect.BeginWrite(), error))
        return false;
    if (!m_dialect.AuditLock().isEmpty() && !Exec(m_dialect.AuditLock(), error))
        return Rollback();
    // Read under the lock: no other append can come between this and the insert.
    QSqlQuery last(Database());
    last.prepare(QStringLiteral("SELECT seq, hash FROM audit_trail ORDER BY seq DESC LIMIT 1"));
    if (!Exec(last, error))
        return Rollback();
    qint64 seq = 0;
    QString prev = kAuditFirstPrev;
    if (last.next()) {
        seq = last.value(0).toLongLong();
        prev = last.value(1).toString();
    }
    last.finish();
    QSqlQuery insert(Database());
    insert.prepare(QStringLiteral("INSERT INTO audit_trail (seq, at, os_user, host, action, logger_id, detail, prev, hash)"
                                  " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (AuditEntry& e : entries) {
        e.seq = ++seq;
        e.prev = prev;
        e.hash = AuditEntryHash(e);
        prev = e.hash;
        for (const QVariant& value : {QVariant(e.seq), QVariant(e.time), QVariant(e.user), QVariant(e.host),
                                      QVariant(e.action), QVariant(e.logger), QVariant(e.detail), QVariant(e.prev),
                                      QVariant(e.hash)})
            insert.addBindValue(value);
        if (!Exec(insert, error))
            return Rollback();
    }
    return Exec(QStringLiteral("COMMIT"), error) || Rollback();
}

bool CArchive::ListAudit(const AuditFilter& filter, std::vector<AuditEntry>& entries, QString& error)
{
    QStringList where;
    QVariantList values;
    if (!filter.loggerId.isEmpty()) {
        where << QStringLiteral("logger_id = ?");
        values << filter.loggerId;
    }
    // The times are all of one form, so they compare as text.
    if (filter.from) {
        where << QStringLiteral("at >= ?");
        values << AuditTime(*filter.from);
    }
    if (filter.to) {
        where << QStringLiteral("at <= ?");
        values << AuditTime(*filter.to);
    }
    QSqlQuery query(Database());
    query.setForwardOnly(true);
    query.prepare(QString::fromLatin1(kColumns)
                  + (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND ")))
                  + QStringLiteral(" ORDER BY seq"));
    for (const QVariant& value : values)
        query.addBindValue(value);
    entries.clear();
    if (!Exec(query, error))
        return false;
    while (query.next())
        entries.push_back(EntryOf(query));
    return true;
}

bool CArchive::VerifyAudit(AuditVerdict& verdict, QString& error)
{
    verdict = AuditVerdict();
    QSqlQuery query(Database());
    query.setForwardOnly(true);
    query.prepare(QString::fromLatin1(kColumns) + QStringLiteral(" ORDER BY seq"));
    if (!Exec(query, error))
        return false;
    QString prev = kAuditFirstPrev;
    while (query.next()) {
        const AuditEntry e = EntryOf(query);
        if (const QString fault = Fault(e, verdict.entries + 1, prev); !fault.isEmpty()) {
            verdict.intact = false;
            verdict.seq = std::min(e.seq, verdict.entries + 1);
            verdict.problem = fault;
            return true;
        }
        ++verdict.entries;
        prev = e.hash;
    }
    return true;
}
