#include "PgServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace pgtest {
namespace {

// Users the tests connect as: the superuser, trusted on the socket, and one
// that must give the password "right-horse".
const char kPasswordUser[] = "pwuser";

QString BinFolder()
{
    QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(), [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
    return versions.isEmpty() ? QString() : QStringLiteral("/usr/lib/postgresql/%1/bin").arg(versions.last());
}

class Server : public ::testing::Environment {
public:
    bool Start(QString& why);
    void TearDown() override;

    QString folder;
    bool started = false;
    bool tried = false;
    QString failure;

private:
    bool Run(const QString& program, const QStringList& args, QString& why);
    bool asRoot = geteuid() == 0;
};

Server* g_server = nullptr;

bool Server::Run(const QString& program, const QStringList& args, QString& why)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (asRoot)
        p.start(QStringLiteral("runuser"), QStringList{"-u", "postgres", "--", program} + args);
    else
        p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        why = QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(p.readAll()));
        return false;
    }
    return true;
}

bool Server::Start(QString& why)
{
    const QString bin = BinFolder();
    if (bin.isEmpty()) {
        why = QStringLiteral("the postgresql package is not installed");
        return false;
    }
    QByteArray pattern = "/tmp/halvern-pg-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        why = QStringLiteral("cannot make a folder under /tmp");
        return false;
    }
    folder = QString::fromLocal8Bit(pattern);
    if (asRoot) {
        const passwd* pw = getpwnam("postgres");
        if (!pw || chown(pattern.constData(), pw->pw_uid, pw->pw_gid) != 0) {
            why = QStringLiteral("no postgres user to run the server as");
            return false;
        }
    }
    const QString data = folder + QStringLiteral("/data");
    if (!Run(bin + "/initdb", {"-D", data, "-U", "postgres", "--auth=trust", "-E", "UTF8", "--no-sync"}, why))
        return false;
    // The password user must give its password; everyone else is trusted.
    QFile hba(data + QStringLiteral("/pg_hba.conf"));
    if (!hba.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        why = QStringLiteral("cannot write pg_hba.conf");
        return false;
    }
    hba.write(QStringLiteral("local all %1 scram-sha-256\nlocal all all trust\n").arg(kPasswordUser).toUtf8());
    hba.close();
    if (!Run(bin + "/pg_ctl", {"-D", data, "-w", "-l", folder + "/log", "-o",
                               QStringLiteral("-k %1 -c listen_addresses= -c fsync=off").arg(folder), "start"},
             why))
        return false;
    started = true;
    return Exec(QStringLiteral("postgres"),
                QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD 'right-horse'").arg(kPasswordUser));
}

void Server::TearDown()
{
    if (started) {
        QString why;
        Run(BinFolder() + "/pg_ctl", {"-D", folder + "/data", "-m", "immediate", "-w", "stop"}, why);
    }
    if (!folder.isEmpty())
        QDir(folder).removeRecursively();
}

} // namespace

bool Running(QString& why)
{
    if (!g_server) {
        g_server = new Server;
        ::testing::AddGlobalTestEnvironment(g_server); // stops it at the end
    }
    if (!g_server->tried) {
        g_server->tried = true;
        g_server->Start(g_server->failure);
    }
    why = g_server->failure;
    return g_server->started && why.isEmpty();
}

QString SocketFolder()
{
    return g_server ? g_server->folder : QString();
}

bool Exec(const QString& db, const QString& sql)
{
    static int next = 0;
    const QString name = QStringLiteral("pgtest-%1").arg(next++);
    bool ok = false;
    {
        QSqlDatabase conn = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        conn.setHostName(SocketFolder());
        conn.setUserName(QStringLiteral("postgres"));
        conn.setDatabaseName(db);
        ok = conn.open();
        if (ok) {
            QSqlQuery query(conn);
            ok = query.exec(sql);
            if (!ok)
                ADD_FAILURE() << sql.toStdString() << ": " << query.lastError().text().toStdString();
        } else {
            ADD_FAILURE() << conn.lastError().text().toStdString();
        }
        conn.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

ArchiveAddress NewDatabase()
{
    static int next = 0;
    const QString db = QStringLiteral("archive_%1").arg(next++);
    Exec(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE %1").arg(db));
    ArchiveAddress address;
    address.kind = ArchiveAddress::Kind::Postgres;
    address.user = QStringLiteral("postgres");
    address.host = SocketFolder();
    address.database = db;
    return address;
}

} // namespace pgtest
