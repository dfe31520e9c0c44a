#include "archive/AuditQueue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray LineOf(const AuditEntry& e)
{
    QJsonObject object{{"time", e.time},     {"user", e.user},     {"host", e.host},
                       {"action", e.action}, {"logger", e.logger}, {"detail", QJsonDocument::fromJson(e.detail.toUtf8()).object()}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

bool EntryOfLine(const QByteArray& line, AuditEntry& e)
{
    QJsonParseError parsed;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &parsed);
    const QJsonObject o = doc.object();
    if (parsed.error != QJsonParseError::NoError || !doc.isObject() || !o.value("detail").isObject())
        return false;
    for (const char* key : {"time", "user", "host", "action", "logger"})
        if (!o.value(QLatin1String(key)).isString())
            return false;
    e.time = o.value("time").toString();
    e.user = o.value("user").toString();
    e.host = o.value("host").toString();
    e.action = o.value("action").toString();
    e.logger = o.value("logger").toString();
    e.detail = QString::fromUtf8(QJsonDocument(o.value("detail").toObject()).toJson(QJsonDocument::Compact));
    return true;
}

QString SystemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Makes a rename or removal in folder last past a crash.
bool SyncFolder(const QString& folder, QString& error)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (!ok)
        error = QStringLiteral("cannot flush the folder %1: %2").arg(folder, SystemError());
    if (fd >= 0)
        ::close(fd);
    return ok;
}

} // namespace

CAuditQueue::CAuditQueue(QString path) : m_path(std::move(path)) {}

bool CAuditQueue::Read(std::vector<AuditEntry>& entries, QString& error) const
{
    entries.clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read the audit queue %1: %2").arg(m_path, file.errorString());
        return false;
    }
    int number = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        ++number;
        if (line.isEmpty())
            continue;
        AuditEntry e;
        if (!EntryOfLine(line, e)) {
            error = QStringLiteral("the audit queue %1 has a line that is no entry (line %2)").arg(m_path).arg(number);
            return false;
        }
        entries.push_back(e);
    }
    return true;
}

bool CAuditQueue::Add(const AuditEntry& entry, QString& error)
{
    std::vector<AuditEntry> entries;
    if (!Read(entries, error))
        return false;
    entries.push_back(entry);
    return Write(entries, error);
}

bool CAuditQueue::Drop(std::size_t count, QString& error)
{
    std::vector<AuditEntry> entries;
    if (!Read(entries, error))
        return false;
    entries.erase(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(std::min(count, entries.size())));
    return Write(entries, error);
}

bool CAuditQueue::Write(const std::vector<AuditEntry>& entries, QString& error)
{
    const QString folder = QFileInfo(m_path).absolutePath();
    if (entries.empty()) {
        if (QFile::exists(m_path) && !QFile::remove(m_path)) {
            error = QStringLiteral("cannot empty the audit queue %1").arg(m_path);
            return false;
        }
        return SyncFolder(folder, error);
    }
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("cannot make the folder %1").arg(folder);
        return false;
    }
    QSaveFile file(m_path);
    QByteArray text;
    for (const AuditEntry& e : entries)
        text += LineOf(e);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush();
    if (!written || ::fsync(file.handle()) != 0) {
        error = QStringLiteral("cannot write the audit queue %1: %2")
                    .arg(m_path, written ? SystemError() : file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = QStringLiteral("cannot write the audit queue %1: %2").arg(m_path, file.errorString());
        return false;
    }
    return SyncFolder(folder, error);
}

QString DefaultAuditQueuePath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/halvern-th/audit-queue.jsonl");
}
