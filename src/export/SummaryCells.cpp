#include "export/SummaryCells.h"

#include "export/NumberFormats.h"
#include "record/TimeText.h"
#include "record/Units.h"

#include <QRegularExpression>
#include <algorithm>
#include <initializer_list>
#include <xlsxwriter.h>

namespace {

constexpr double kSecondsPerDay = 86400.0;

SummaryCell Number(const QString& text, double number, const QByteArray& format, bool time = false)
{
    SummaryCell cell = SummaryTextCell(text);
    cell.numeric = true;
    cell.time = time;
    cell.number = number;
    cell.format = format;
    return cell;
}

SummaryCell Count(const QString& text)
{
    bool ok = false;
    const qlonglong count = text.toLongLong(&ok);
    // "007" or "+7" would show differently as a number.
    if (!ok || QString::number(count) != text)
        return SummaryTextCell(text);
    return Number(text, static_cast<double>(count), {});
}

// "-12.34°C": a value in hundredths and one of units. The cell holds the
// value the text shows, so the format shows the same text again.
SummaryCell UnitValue(const QString& text, std::initializer_list<QString> units)
{
    static const QRegularExpression value(QStringLiteral("^(-?\\d+\\.\\d\\d)(.+)$"));
    const QRegularExpressionMatch m = value.match(text);
    if (!m.hasMatch())
        return SummaryTextCell(text);
    const QString digits = m.captured(1);
    const QString unit = m.captured(2);
    const double number = digits.toDouble();
    if (std::find(units.begin(), units.end(), unit) == units.end())
        return SummaryTextCell(text);
    // Too many digits for a double, or a negative zero, which shows without its sign.
    if (QString::asprintf("%.2f", number) != digits || (number == 0 && digits.startsWith('-')))
        return SummaryTextCell(text);
    return Number(text, number, UnitFormat(unit));
}

// The local time t as a serial (days since 1899-12-30), converted as the
// data sheet's times are.
double LocalSerial(time64 t)
{
    const LocalTm l = ToLocal(t);
    lxw_datetime cell{l.year, l.month, l.day, l.hour, l.minute, static_cast<double>(l.second)};
    return lxw_datetime_to_excel_datetime(&cell);
}

// A start or stop row: the text shows t with one blank or two before the time.
SummaryCell DateTime(const QString& text, time64 t)
{
    const int year = ToLocal(t).year;
    if (year < 1900 || year > 9999)
        return SummaryTextCell(text);
    if (text == FormatDateTime(t))
        return Number(text, LocalSerial(t), kDateTimeFormat, true);
    if (text == FormatSummaryTime(t))
        return Number(text, LocalSerial(t), kWideDateTimeFormat, true);
    return SummaryTextCell(text);
}

SummaryCell Interval(const QString& text, time64 seconds)
{
    if (seconds < 0 || text != FormatInterval(seconds))
        return SummaryTextCell(text);
    return Number(text, static_cast<double>(seconds) / kSecondsPerDay, kIntervalFormat, true);
}

} // namespace

SummaryCell SummaryTextCell(const QString& text)
{
    SummaryCell cell;
    cell.text = text;
    return cell;
}

SummaryCell SummaryValueCell(const CLoggerRecord& record, int row, const QString& text)
{
    if (text.isEmpty())
        return SummaryTextCell(text);
    switch (row) {
    case ROW_START: return DateTime(text, record.m_tStart);
    case ROW_STOP: return DateTime(text, record.m_tStop);
    case ROW_INTERVAL: return Interval(text, record.m_tsInterval);
    case ROW_COUNT: return Count(text);
    case ROW_MAX:
    case ROW_MIN:
    case ROW_AVG:
    case ROW_HIGH_LIMIT:
    case ROW_LOW_LIMIT:
    case ROW_MKT: return UnitValue(text, {kUnitC, kUnitF});
    case ROW_HUMI_MAX:
    case ROW_HUMI_MIN:
    case ROW_HUMI_AVG:
    case ROW_HUMI_HIGH_LIMIT:
    case ROW_HUMI_LOW_LIMIT: return UnitValue(text, {kUnitRH});
    default: return SummaryTextCell(text);
    }
}
