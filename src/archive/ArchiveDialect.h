#pragma once

#include "archive/ArchiveAddress.h"

#include <QString>

// Everything in which the archive's SQL differs between SQLite and
// PostgreSQL; the rest of the archive writes one SQL for both.
class CArchiveDialect {
public:
    explicit CArchiveDialect(ArchiveAddress::Kind kind) : m_kind(kind) {}

    ArchiveAddress::Kind Kind() const { return m_kind; }
    // The Qt SQL driver's name.
    QString Driver() const;
    // The column type of a generated row key.
    QString GeneratedKey() const;
    // The column type of a 64-bit key the program assigns itself; in SQLite
    // the row's own key, so that reading in key order reads the table in order.
    QString AssignedKey() const;
    // Starts a transaction that will write. SQLite takes its write lock at
    // once, so that two writers wait for each other instead of one failing
    // when its read lock cannot be raised.
    QString BeginWrite() const;
    // Serialises schema changes between connections inside a transaction;
    // empty where the transaction's own lock does it.
    QString SchemaLock() const;
    // Serialises appends to the audit trail inside a transaction (without
    // locking the table, which a station's role may not); empty where the
    // transaction's own lock does it.
    QString AuditLock() const;
    // Statements run once after connecting (empty entries skipped).
    QStringList Setup() const;

private:
    ArchiveAddress::Kind m_kind;
};
