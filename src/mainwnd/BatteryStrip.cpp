#include "mainwnd/BatteryStrip.h"

#include "base/TextTable.h"
#include "record/LoggerRecord.h"
#include "record/LoggerType.h"
#include "workflow/LoggerWorkflow.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPolygon>
#include <QToolTip>

namespace {

const QColor kIdle(132, 155, 168);
const QColor kBackground(10, 10, 40);
const QColor kDivider(250, 250, 50);
const QColor kOutline(250, 50, 50);
const QColor kBarColour[3] = {QColor(250, 80, 0), QColor(150, 150, 0), QColor(150, 200, 0)};

bool IsILogger(const QString& id)
{
    return id.startsWith(QLatin1Char('I')) || id.startsWith(QLatin1Char('i'))
        || (id.size() > 1 && id[1] == QLatin1Char('I'));
}

} // namespace

int BatteryBars(int level, const QString& id)
{
    const int bars = level - (IsILogger(id) ? 4 : 3);
    return bars > 3 ? 3 : (bars < 0 ? 0 : bars);
}

bool BatteryStripShowsLogger(bool connected, int type, const QString& id)
{
    if (!connected)
        return false;
    return LoggerTypeOf(type).reportsBattery || id.startsWith(QLatin1Char('i'));
}

void PaintBatteryStrip(QPainter& painter, int width, int height, bool active, int level, const QString& id)
{
    if (!active) {
        painter.fillRect(0, 0, width, height, kIdle);
        return;
    }
    painter.fillRect(0, 0, width, height, kBackground);
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const float u = w / 15.0f;
    const float q = h / 4.0f;
    const int x1 = static_cast<int>(u), x4 = static_cast<int>(4 * u);
    const int x11 = static_cast<int>(11 * u), x14 = static_cast<int>(14 * u);
    const int yTop = static_cast<int>(0.75f * h + h / 16.0f);
    const int yMid = static_cast<int>(0.75f * h + h / 32.0f);
    const int yBottom = static_cast<int>(0.75f * h + 21.0f * q / 23.0f);

    painter.setPen(QPen(kDivider, 1));
    for (const int x : {x1 + (x4 - x1) / 2, x4, x4 + (x4 - x1) / 2})
        painter.drawLine(x, yTop, x, yBottom);

    painter.setPen(QPen(kOutline, 3));
    const QPolygon outline({{x1, yTop}, {x4, yTop}, {x4, yMid}, {x11, yMid}, {x11, yTop},
                            {x14, yTop}, {x14, yBottom}, {x1, yBottom}, {x1, yTop}});
    painter.drawPolyline(outline);
    painter.drawLine(x4, yTop, x11, yTop);

    const int bars = BatteryBars(level, id);
    for (int i = 0; i < bars; ++i) {
        const int bottom = static_cast<int>(0.75f * h - static_cast<float>(i) * q);
        const int top = static_cast<int>(0.75f * h - static_cast<float>(i) * q - 0.98f * q);
        painter.fillRect(0, top, width, bottom - top, kBarColour[i]);
    }
}

QString BatteryLevelText(const BatteryReading& reading, std::uint16_t language)
{
    static constexpr TextId kByBars[] = {TextId::BatteryVeryLow, TextId::BatteryLow, TextId::BatteryGood,
                                         TextId::BatteryFull};
    TextId text = TextId::BatteryNoLogger;
    if (!reading.linked)
        text = TextId::BatteryNoLogger;
    else if (!BatteryStripShowsLogger(true, reading.type, reading.id))
        text = TextId::BatteryNotReported;
    else if (!reading.read)
        text = TextId::BatteryNotRead;
    else
        text = kByBars[BatteryBars(reading.level % 8, reading.id)];
    return GetText(text, language);
}

CBatteryStrip::CBatteryStrip(QWidget* parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
}

void CBatteryStrip::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    const QRect area = contentsRect();
    QPainter painter(this);
    painter.translate(area.topLeft());
    if (!m_pRecord) {
        PaintBatteryStrip(painter, area.width(), area.height(), false, 0, QString());
        return;
    }
    CLoggerRecord& r = *m_pRecord;
    const QString& id = r.m_strValue[ROW_ID];
    const bool linked = m_pWorkflow && m_pWorkflow->LoggerLinked();
    const bool active = BatteryStripShowsLogger(linked, r.m_nType, id);
    if (active)
        r.m_nBattery %= 8;
    PaintBatteryStrip(painter, area.width(), area.height(), active, r.m_nBattery, id);
}

QString CBatteryStrip::ToolTipText() const
{
    BatteryReading reading;
    reading.linked = m_pWorkflow && m_pWorkflow->LoggerLinked();
    if (m_pRecord) {
        reading.type = m_pRecord->m_nType;
        reading.id = m_pRecord->m_strValue[ROW_ID];
        reading.level = m_pRecord->m_nBattery;
        // The USB status poll reads the level without marking the status
        // read; identification sets the level to 0 until a reading comes.
        reading.read = m_pRecord->m_bStatusValid != 0 || m_pRecord->m_nBattery != 0;
    }
    return BatteryLevelText(reading, m_nLanguage);
}

bool CBatteryStrip::event(QEvent* event)
{
    // Asked for when shown, so it follows the logger without being kept.
    if (event->type() == QEvent::ToolTip) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), ToolTipText(), this);
        return true;
    }
    return QFrame::event(event);
}
