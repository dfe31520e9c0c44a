#pragma once

#include <QFrame>
#include <QString>

class CLoggerRecord;
class QPainter;

// Bars shown for a battery level (0..7) of a logger with this ID, 0 to 3.
// "I" loggers (ID beginning with "I" or "i", or "I" second) need one level
// more per bar.
int BatteryBars(int level, const QString& id);

// Whether the strip shows a battery at all: a connected logger whose type
// reports its battery (1, 3, 4, 5, 6) or whose ID begins with "i".
bool BatteryStripShowsLogger(bool connected, int type, const QString& id);

// Paints the strip into a width x height area at the painter's origin.
// active false: one plain colour; otherwise the battery outline and the
// level bars stacked upward above it.
void PaintBatteryStrip(QPainter& painter, int width, int height, bool active, int level, const QString& id);

// The narrow strip between the pages and the graph, painted from a record
// (g_LoggerRecord unless set otherwise) and the link's connection flags.
class CBatteryStrip : public QFrame {
public:
    explicit CBatteryStrip(QWidget* parent = nullptr);
    void SetRecord(CLoggerRecord* record) { m_pRecord = record; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CLoggerRecord* m_pRecord;
};
