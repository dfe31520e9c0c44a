#include "views/AlarmFormView.h"

#include "record/ExcursionText.h"
#include "record/TimeText.h"
#include "views/AlarmTableModel.h"
#include "views/DialogScale.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString Part(AlarmText caption, const QString& value, std::uint16_t language)
{
    return GetAlarmText(caption, language) + QLatin1Char(' ') + value;
}

// Two lines per channel in force, or the note that no alarm is set.
QString TotalsLines(const AlarmReport& report, std::uint16_t language)
{
    QStringList lines;
    const QString gap = QStringLiteral("   ");
    for (const AlarmChannel channel : {AlarmChannel::Temperature, AlarmChannel::Humidity}) {
        const ChannelTotals& t = report.Totals(channel);
        if (!t.inForce)
            continue;
        lines << ChannelText(channel, language) + QStringLiteral(":  ")
                + Part(AlarmText::Excursions, QString::number(t.excursions), language) + gap
                + Part(AlarmText::Longest, FormatDuration(t.longest), language);
        lines << gap + Part(AlarmText::TimeAbove, FormatDuration(t.above), language) + gap
                + Part(AlarmText::TimeBelow, FormatDuration(t.below), language);
    }
    return lines.isEmpty() ? GetAlarmText(AlarmText::NoAlarm, language) : lines.join(QLatin1Char('\n'));
}

} // namespace

CAlarmFormView::CAlarmFormView(const DisplaySettings& display, QWidget* parent)
    : QWidget(parent), m_display(display), m_pTotals(new QLabel(this)), m_pList(new QTableView(this)),
      m_pModel(new AlarmTableModel(display, this))
{
    setFont(DialogFont());
    m_pTotals->setWordWrap(true);
    m_pTotals->setObjectName(QStringLiteral("alarm_totals"));
    m_pList->setObjectName(QStringLiteral("alarm_list"));
    m_pList->setModel(m_pModel);
    m_pList->verticalHeader()->hide();
    m_pList->horizontalHeader()->setHighlightSections(false);
    m_pList->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pList->setWordWrap(false);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pList->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_pTotals);
    layout->addWidget(m_pList, 1);
    m_pTotals->setText(GetAlarmText(AlarmText::NoAlarm, display.language));
}

void CAlarmFormView::SetRecord(const CLoggerRecord* record)
{
    m_pRecord = record;
    if (!record)
        return;
    m_pModel->SetReport(FindExcursions(*record));
    m_pTotals->setText(TotalsLines(m_pModel->Report(), m_display.language));
}

void CAlarmFormView::Rescale(float scale)
{
    const QFont font = ScaledFont(DialogFont(), scale);
    m_pTotals->setFont(font);
    m_pList->setFont(font);
    m_pList->horizontalHeader()->setFont(font);
    m_pList->verticalHeader()->setDefaultSectionSize(2 * QFontMetrics(font).height() + 6); // two-line times
}
