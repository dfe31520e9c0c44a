#include "report/pdf/PdfTimeAxis.h"

#include "record/TimeTicks.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

constexpr float kLeft = 100;
constexpr float kRight = 500;
constexpr float kTimeRow = 425;
constexpr float kDateRow = 415;
// Points between neighbouring labels.
constexpr int kGap = 12;

QString TimeText(const LocalTm& l)
{
    return QString::asprintf("%.2d:%.2d", l.hour, l.minute);
}

// A label's two lines joined by a line break, the time first; an empty
// line leaves its row blank.
QString AxisLabel(const LocalTm& l, TimeUnit unit, bool date)
{
    const QChar nl = QLatin1Char('\n');
    switch (unit) {
    case TimeUnit::Year: return nl + QString::number(l.year);
    case TimeUnit::Month: return nl + QString::asprintf("%.4d-%.2d", l.year, l.month);
    case TimeUnit::Day: return nl + PdfDateText(l);
    default: break;
    }
    return date ? TimeText(l) + nl + PdfDateText(l) : TimeText(l);
}

void AddLabel(PdfTimeAxis& axis, const QString& lines, float boxLeft, float boxWidth, const PdfTextWidth& width)
{
    const QStringList rows = lines.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < rows.size() && i < 2; ++i) {
        if (rows[i].isEmpty())
            continue;
        const float w = width(rows[i]);
        // Centred in the label's box; the box is whole points wide, so a
        // line is kept from reaching past the plot's right edge.
        const float x = std::min(boxLeft + (boxWidth - w) / 2, kRight - w);
        axis.labels.push_back({x, i == 0 ? kTimeRow : kDateRow, rows[i]});
    }
}

} // namespace

QString PdfDateText(const LocalTm& l)
{
    return QString::asprintf("%.4d-%.2d-%.2d", l.year, l.month, l.day);
}

QString PdfDateTimeText(time64 t)
{
    const LocalTm l = ToLocal(t);
    return QString::asprintf("%.4d-%.2d-%.2d %.2d:%.2d", l.year, l.month, l.day, l.hour, l.minute);
}

PdfTimeAxis LayOutPdfTimeAxis(time64 start, time64 stop, const PdfTextWidth& width)
{
    PdfTimeAxis axis;
    // A column a point: x 100 .. 500.
    const TimeSpan span{start, stop, static_cast<int>(kRight - kLeft) + 1};
    const auto boxWidth = [&width](const QString& text) {
        float w = 0;
        for (const QString& line : text.split(QLatin1Char('\n')))
            w = std::max(w, width(line));
        return static_cast<int>(std::ceil(w));
    };
    if (span.IsEmpty()) {
        const QString label = AxisLabel(ToLocal(start), TimeUnit::Minute, true);
        axis.marks.push_back(kLeft);
        AddLabel(axis, label, kLeft, static_cast<float>(boxWidth(label)), width);
        return axis;
    }
    const double secondsPerPoint = static_cast<double>(stop - start) / (kRight - kLeft);
    const TimeAxisTicks ticks = ChooseTimeTicks(span, boxWidth, kGap, AxisLabel, FirstLabel::Dated);
    for (const TimeTick& tick : ticks.ticks) {
        axis.marks.push_back(kLeft + static_cast<float>(static_cast<double>(tick.time - start) / secondsPerPoint));
        if (!tick.text.isEmpty())
            AddLabel(axis, tick.text, kLeft + static_cast<float>(tick.left), static_cast<float>(tick.right - tick.left), width);
    }
    return axis;
}
