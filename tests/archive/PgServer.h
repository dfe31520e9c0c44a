#pragma once

#include "archive/ArchiveAddress.h"

#include <QString>

// A throw-away PostgreSQL server from the system's postgresql package: a
// cluster in a folder of its own under /tmp, listening only on a Unix
// socket in that folder, run as the unprivileged postgres user when the
// tests run as root. Started on first use, stopped when the test program ends.
namespace pgtest {

// The running server, or nullptr with why set when it cannot start.
bool Running(QString& why);
// A fresh empty database on it, as an archive address for the trusted user
// "postgres".
ArchiveAddress NewDatabase();
// The socket folder (the host of an address).
QString SocketFolder();
// Runs SQL as the superuser in database db; false when it fails.
bool Exec(const QString& db, const QString& sql);

} // namespace pgtest
