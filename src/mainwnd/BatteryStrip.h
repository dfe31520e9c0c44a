#pragma once

#include <QFrame>
#include <QString>
#include <cstdint>

class CLoggerRecord;
class LoggerWorkflow;
class QPainter;

// Bars shown for a battery level (0..7) of a logger with this ID, 0 to 3.
// "I" loggers (ID beginning with "I" or "i", or "I" second) need one level
// more per bar.
int BatteryBars(int level, const QString& id);

// Whether the strip shows a battery at all: a linked logger whose type
// reports its battery or whose ID begins with "i".
bool BatteryStripShowsLogger(bool connected, int type, const QString& id);

// Paints the strip into a width x height area at the painter's origin.
// active false: one plain colour; otherwise the battery outline and the
// level bars stacked upward above it.
void PaintBatteryStrip(QPainter& painter, int width, int height, bool active, int level, const QString& id);

// The strip's tooltip: the battery level in words (full, good, low, very
// low by the bars shown), or why there is none: no logger linked, a logger
// that does not report it, a level not read yet.
struct BatteryReading {
    bool linked = false;
    int type = 0;
    QString id;
    int level = 0;
    bool read = false; // a level has been read from the logger
};
QString BatteryLevelText(const BatteryReading& reading, std::uint16_t language);

// The narrow strip between the pages and the graph, painted from a record
// (idle without one) and whether the workflow has a logger linked (none
// without a workflow).
class CBatteryStrip : public QFrame {
public:
    explicit CBatteryStrip(QWidget* parent = nullptr);
    void SetRecord(CLoggerRecord* record) { m_pRecord = record; }
    void SetWorkflow(const LoggerWorkflow* workflow) { m_pWorkflow = workflow; }
    void SetLanguage(std::uint16_t language) { m_nLanguage = language; }
    // What the tooltip says now.
    QString ToolTipText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    CLoggerRecord* m_pRecord = nullptr;
    const LoggerWorkflow* m_pWorkflow = nullptr;
    std::uint16_t m_nLanguage = 0;
};
