#include "RawSql.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

std::vector<bool> RunRawSql(const ArchiveAddress& address, const QStringList& statements)
{
    static int connections = 0;
    const QString name = QStringLiteral("raw-%1").arg(++connections);
    std::vector<bool> done;
    {
        const bool sqlite = address.kind == ArchiveAddress::Kind::Sqlite;
        QSqlDatabase db = QSqlDatabase::addDatabase(sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), name);
        if (sqlite) {
            db.setDatabaseName(address.path);
        } else {
            db.setHostName(address.host);
            if (address.port > 0)
                db.setPort(address.port);
            db.setUserName(address.user);
            db.setDatabaseName(address.database);
        }
        if (db.open()) {
            QSqlQuery query(db);
            for (const QString& sql : statements)
                done.push_back(query.exec(sql));
        } else {
            ADD_FAILURE() << "no raw connection to " << address.Display().toStdString();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return done;
}
