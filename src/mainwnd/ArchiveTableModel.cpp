#include "mainwnd/ArchiveTableModel.h"

#include "base/TextTable.h"

#include <QBrush>
#include <QColor>

CArchiveTableModel::CArchiveTableModel(CArchive& archive, std::uint16_t language, QObject* parent)
    : CMissionModel(archive, parent), m_language(language)
{
}

QVariant CArchiveTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const MissionRow& row = Row(index.row());
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == ColFile)
            return row.missing ? row.file + GetText(TextId::ArchiveMissing, m_language) : row.file;
        return CMissionModel::data(index, role);
    case Qt::ToolTipRole:
        return row.description.isEmpty() ? row.file : row.description + QLatin1Char('\n') + row.file;
    case Qt::TextAlignmentRole:
        if (index.column() == ColSamples || index.column() == ColExcursions)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (row.missing)
            return QBrush(QColor(0x80, 0x80, 0x80));
        if (index.column() == ColExcursions && row.Excursions() > 0)
            return QBrush(QColor(0xB0, 0x00, 0x20));
        return {};
    default:
        return {};
    }
}

QVariant CArchiveTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const TextId kCaptions[ColumnCount] = {
        TextId::ArchiveId, TextId::StartTimeColumn, TextId::StopTimeColumn,
        TextId::ArchiveSamples, TextId::ArchiveExcursions, TextId::ArchiveFile,
    };
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return CMissionModel::headerData(section, orientation, role);
    return GetText(kCaptions[section], m_language);
}
