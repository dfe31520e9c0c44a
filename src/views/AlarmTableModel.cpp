#include "views/AlarmTableModel.h"

#include "record/ExcursionText.h"
#include "record/TimeText.h"

namespace {

// The date above the time, so that the five columns fit the page.
QString TwoLineTime(time64 t)
{
    return FormatDateTime(t).replace(QLatin1Char(' '), QLatin1Char('\n'));
}

} // namespace

QString ExcursionLimitCell(const Excursion& e, TempUnit unit)
{
    return (e.limit == AlarmLimit::Upper ? QStringLiteral("> ") : QStringLiteral("< "))
        + AlarmValueText(e.channel, e.limitValue, unit);
}

AlarmTableModel::AlarmTableModel(const DisplaySettings& display, QObject* parent)
    : QAbstractTableModel(parent), m_display(display)
{
}

void AlarmTableModel::SetReport(AlarmReport report)
{
    beginResetModel();
    m_report = std::move(report);
    endResetModel();
}

int AlarmTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_report.excursions.size());
}

int AlarmTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant AlarmTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    const Excursion& e = m_report.excursions[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case 0:
        return ExcursionLimitCell(e, m_display.unit);
    case 1:
        return TwoLineTime(e.firstTime);
    case 2:
        return TwoLineTime(e.lastTime);
    case 3:
        return FormatDuration(e.duration);
    case 4:
        return AlarmValueText(e.channel, e.peak, m_display.unit);
    default:
        return {};
    }
}

QVariant AlarmTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    static const AlarmText kHeaders[kColumns] = {AlarmText::Limit, AlarmText::Start, AlarmText::End,
                                                 AlarmText::Duration, AlarmText::Peak};
    if (role == Qt::DisplayRole && section >= 0 && section < kColumns)
        return GetAlarmText(kHeaders[section], m_display.language);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}
