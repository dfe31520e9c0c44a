#pragma once

#include "base/DisplaySettings.h"

#include <QFont>
#include <QWidget>

class AlarmTableModel;
class CLoggerRecord;
class QLabel;
class QTableView;

// The Alarms page: the totals of each channel whose alarm is in force, and
// below them a table of every excursion past an alarm limit.
class CAlarmFormView : public QWidget {
public:
    explicit CAlarmFormView(const DisplaySettings& display, QWidget* parent = nullptr);

    // Searches the record again and shows what it found, in the display's
    // unit and language (a null record is only stored).
    void SetRecord(const CLoggerRecord* record);
    // Scales the fonts with the main window; the page's own size comes
    // from its owner.
    void Rescale(float scale);

    const CLoggerRecord* Record() const { return m_pRecord; }
    QLabel* Totals() const { return m_pTotals; }
    QTableView* List() const { return m_pList; }
    AlarmTableModel* Model() const { return m_pModel; }

private:
    const DisplaySettings& m_display;
    const CLoggerRecord* m_pRecord = nullptr;
    QLabel* m_pTotals;
    QTableView* m_pList;
    AlarmTableModel* m_pModel;
};
