#pragma once

#include "base/DisplaySettings.h"
#include "record/Excursions.h"

#include <QAbstractTableModel>

// The Alarms page's rows: one excursion per row (limit, start, end,
// duration, peak), texts made in the display's unit and language when a cell
// is asked for.
// Start and end show their date above their time.
class AlarmTableModel : public QAbstractTableModel {
public:
    explicit AlarmTableModel(const DisplaySettings& display, QObject* parent = nullptr);

    static constexpr int kColumns = 5;

    // Takes the excursions of a new search.
    void SetReport(AlarmReport report);
    const AlarmReport& Report() const { return m_report; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const DisplaySettings& m_display;
    AlarmReport m_report;
};

// "> 46.40°F", "< 30.00%RH": the limit an excursion went past (the unit
// tells the channel), kept short so that the table fits its page.
QString ExcursionLimitCell(const Excursion& e, TempUnit unit);
