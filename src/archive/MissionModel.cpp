#include "archive/MissionModel.h"

#include "record/TimeText.h"

// sort() takes a column as the order of the same number.
static_assert(static_cast<int>(MissionOrder::LoggerId) == CMissionModel::ColId
              && static_cast<int>(MissionOrder::File) == CMissionModel::ColFile);

CMissionModel::CMissionModel(CArchive& archive, QObject* parent) : QAbstractTableModel(parent), m_archive(archive) {}

bool CMissionModel::SetFilter(const ArchiveFilter& filter, QString& error)
{
    m_filter = filter;
    return Reload(error);
}

void CMissionModel::Clear()
{
    beginResetModel();
    m_rows.clear();
    m_total = 0;
    m_error.clear();
    endResetModel();
}

bool CMissionModel::Reload(QString& error)
{
    beginResetModel();
    m_rows.clear();
    m_total = 0;
    m_page.offset = 0;
    m_page.limit = m_pageSize;
    bool ok = m_archive.Count(m_filter, m_total, error) && m_archive.Page(m_filter, m_page, m_rows, error);
    if (!ok) {
        m_rows.clear();
        m_total = 0;
    }
    m_error = ok ? QString() : error;
    endResetModel();
    return ok;
}

int CMissionModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CMissionModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CMissionModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole)
        return {};
    const MissionRow& row = Row(index.row());
    switch (index.column()) {
    case ColId:
        return row.loggerId;
    case ColStart:
        return FormatDateTime(row.start);
    case ColStop:
        return FormatDateTime(row.stop);
    case ColSamples:
        return row.samples;
    case ColExcursions:
        return row.Excursions();
    case ColFile:
        return row.missing ? row.file + QStringLiteral(" (missing)") : row.file;
    default:
        return {};
    }
}

QVariant CMissionModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const kHeaders[ColumnCount] = {"ID", "Start", "Stop", "Samples", "Excursions", "File"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(kHeaders[section]);
}

bool CMissionModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && static_cast<qint64>(m_rows.size()) < m_total;
}

void CMissionModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    MissionPage next = m_page;
    next.offset = static_cast<int>(m_rows.size());
    std::vector<MissionRow> page;
    if (!m_archive.Page(m_filter, next, page, m_error) || page.empty()) {
        m_total = static_cast<qint64>(m_rows.size()); // the archive changed or failed: stop here
        return;
    }
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
    m_rows.insert(m_rows.end(), page.begin(), page.end());
    endInsertRows();
}

void CMissionModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    m_page.order = static_cast<MissionOrder>(column);
    m_page.descending = order == Qt::DescendingOrder;
    QString error;
    Reload(error);
}
