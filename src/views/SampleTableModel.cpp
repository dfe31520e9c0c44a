#include "views/SampleTableModel.h"

#include "base/TextTable.h"
#include "record/LoggerRecord.h"
#include "record/SampleText.h"

SampleTableModel::SampleTableModel(const DisplaySettings& display, QObject* parent)
    : QAbstractTableModel(parent), m_display(display)
{
}

void SampleTableModel::SetRecord(const CLoggerRecord* record)
{
    beginResetModel();
    m_pRecord = record;
    m_nColumns = record ? SampleColumnCount(*record) : 0;
    m_nRows = record ? record->ReceivedRows() : 0;
    endResetModel();
}

int SampleTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_nRows;
}

int SampleTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_nColumns;
}

QVariant SampleTableModel::data(const QModelIndex& index, int role) const
{
    if (!m_pRecord || !index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return SampleCellText(*m_pRecord, index.row(), index.column(), m_display.unit);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

QVariant SampleTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole && section >= 0 && section < m_nColumns)
        return GetText(SampleColumnTextId(section), m_display.language);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}
