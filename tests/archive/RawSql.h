#pragma once

#include "archive/ArchiveAddress.h"

#include <QStringList>
#include <vector>

// Statements run on an archive past the program's code, over a connection
// of their own as the address's user: what someone with a database tool
// and that user's rights could do to it. Whether each one succeeded; none
// when the connection cannot be made (a test failure of its own).
std::vector<bool> RunRawSql(const ArchiveAddress& address, const QStringList& statements);
