#include "mainwnd/StationRowModel.h"

#include "base/TextTable.h"
#include "record/LoggerType.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

constexpr TextId kCaptions[] = {TextId::StationLinkColumn,    TextId::StationIdColumn,
                                TextId::StationTypeColumn,    TextId::StationStateColumn,
                                TextId::StationSamplesColumn, TextId::StationExcursionsColumn,
                                TextId::StationFilesColumn};
static_assert(std::size(kCaptions) == CStationRowModel::ColumnCount);

bool Filed(const StationRow& row)
{
    return row.state == StationState::Archived || row.state == StationState::AlreadyArchived;
}

int Percent(const StationRow& row)
{
    return row.total > 0 ? static_cast<int>(100LL * row.received / row.total) : 0;
}

// The files of a row: the first by its name, the others, which share its
// name and folder, by their suffixes ("X_20261210-1046.tavo, .pdf, .csv");
// the tool tip gives them whole.
QString FilesText(const QStringList& files)
{
    QStringList parts;
    for (const QString& file : files)
        parts << (parts.isEmpty() ? QFileInfo(file).fileName() : QLatin1Char('.') + QFileInfo(file).suffix());
    return parts.join(QStringLiteral(", "));
}

} // namespace

CStationRowModel::CStationRowModel(std::uint16_t language, QObject* parent)
    : QAbstractTableModel(parent), m_language(language)
{
}

void CStationRowModel::Update(const StationRow& row)
{
    const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), row.key,
                                     [](const StationRow& r, int key) { return r.key < key; });
    const int at = static_cast<int>(it - m_rows.begin());
    if (it != m_rows.end() && it->key == row.key) {
        *it = row;
        emit dataChanged(index(at, 0), index(at, ColumnCount - 1));
        return;
    }
    beginInsertRows({}, at, at);
    m_rows.insert(it, row);
    endInsertRows();
}

void CStationRowModel::Clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

int CStationRowModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CStationRowModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString CStationRowModel::StateText(const StationRow& row, std::uint16_t language)
{
    switch (row.state) {
    case StationState::Identifying: return GetText(TextId::StateIdentifying, language);
    case StationState::Downloading: return GetText(TextId::StateDownloading, language).arg(Percent(row));
    case StationState::Failed: return GetText(TextId::StateFailed, language).arg(row.reason);
    case StationState::Archived:
    case StationState::AlreadyArchived: {
        const QString text = GetText(row.state == StationState::Archived ? TextId::StateArchived : TextId::StateAlreadyArchived, language);
        // A warning beside a filed mission (the index could not take it).
        return row.reason.isEmpty() ? text : QStringLiteral("%1 (%2)").arg(text, row.reason);
    }
    }
    return {};
}

QString CStationRowModel::Text(const StationRow& row, int column) const
{
    switch (column) {
    case Link: {
        const QString link = GetText(row.usb ? TextId::LinkUsb : TextId::LinkSerial, m_language).arg(row.port);
        return row.attached ? link : QStringLiteral("%1, %2").arg(link, GetText(TextId::Unplugged, m_language));
    }
    case Id: return row.logger;
    case Type: return IsKnownType(row.type) ? GetText(LoggerTypeOf(row.type).textId, m_language).trimmed() : QString();
    case State: return StateText(row, m_language);
    case Samples: return Filed(row) ? QString::number(row.samples) : QString();
    case Excursions: return Filed(row) ? QString::number(row.excursions) : QString();
    case Files: return FilesText(row.files);
    default: return {};
    }
}

QString CStationRowModel::ToolTip(const StationRow& row, int column) const
{
    switch (column) {
    case State: return StateText(row, m_language);
    case Files: {
        QStringList paths;
        for (const QString& file : row.files)
            paths << QDir::toNativeSeparators(file);
        return paths.join(QLatin1Char('\n'));
    }
    default: return {};
    }
}

QVariant CStationRowModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const StationRow& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole: return Text(row, index.column());
    case Qt::ToolTipRole: {
        const QString tip = ToolTip(row, index.column());
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    case Qt::TextAlignmentRole:
        if (index.column() == Samples || index.column() == Excursions)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case DataFileRole: return row.dataFile;
    default: return {};
    }
}

QVariant CStationRowModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return GetText(kCaptions[section], m_language);
}
