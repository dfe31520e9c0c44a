#include "mainwnd/AuditTrailModel.h"

#include "base/TextTable.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>

namespace {

QString OffsetText(int seconds)
{
    const QChar sign = seconds < 0 ? QLatin1Char('-') : QLatin1Char('+');
    const int minutes = std::abs(seconds) / 60;
    const QChar zero = QLatin1Char('0');
    return QStringLiteral("%1%2:%3").arg(sign).arg(minutes / 60, 2, 10, zero).arg(minutes % 60, 2, 10, zero);
}

QString ValueText(const QJsonValue& value);

QString ObjectText(const QJsonObject& object)
{
    QStringList parts;
    for (auto it = object.begin(); it != object.end(); ++it)
        parts << it.key() + QStringLiteral(": ") + ValueText(it.value());
    return parts.join(QStringLiteral(", "));
}

QString ValueText(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Object:
        return QLatin1Char('{') + ObjectText(value.toObject()) + QLatin1Char('}');
    case QJsonValue::Array: {
        QStringList items;
        for (const QJsonValue& item : value.toArray())
            items << ValueText(item);
        return QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']');
    }
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Null:
        return QStringLiteral("-");
    default: // numbers and true/false as JSON writes them
        return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
    }
}

} // namespace

QString LocalAuditTime(const QString& utc)
{
    const QDateTime at = QDateTime::fromString(utc, Qt::ISODate);
    if (!at.isValid())
        return utc;
    const QDateTime local = at.toLocalTime();
    return local.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + OffsetText(local.offsetFromUtc());
}

QString ReadableAuditDetail(const QString& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return json;
    return ObjectText(document.object());
}

CAuditTrailModel::CAuditTrailModel(std::uint16_t language, QObject* parent)
    : QAbstractTableModel(parent), m_language(language)
{
}

void CAuditTrailModel::SetEntries(std::vector<AuditEntry> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

int CAuditTrailModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int CAuditTrailModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CAuditTrailModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const AuditEntry& entry = Entry(index.row());
    if (role == Qt::DisplayRole)
        return Text(entry, index.column());
    if (role == Qt::ToolTipRole && index.column() == ColDetail)
        return entry.detail;
    if (role == Qt::ToolTipRole && index.column() == ColTime)
        return entry.time;
    return {};
}

QString CAuditTrailModel::Text(const AuditEntry& entry, int column) const
{
    switch (column) {
    case ColSeq:
        return QString::number(entry.seq);
    case ColTime:
        return LocalAuditTime(entry.time);
    case ColUser:
        return entry.user;
    case ColHost:
        return entry.host;
    case ColAction:
        return entry.action;
    case ColLogger:
        return entry.logger;
    case ColDetail:
        return ReadableAuditDetail(entry.detail);
    default:
        return {};
    }
}

QVariant CAuditTrailModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static constexpr TextId kCaptions[ColumnCount] = {TextId::TrailSeq,    TextId::TrailTime,   TextId::TrailUser,
                                                     TextId::TrailHost,   TextId::TrailAction, TextId::TrailLogger,
                                                     TextId::TrailDetail};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return GetText(kCaptions[section], m_language);
}
