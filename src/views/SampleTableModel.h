#pragma once

#include "base/DisplaySettings.h"

#include <QAbstractTableModel>

class CLoggerRecord;

// The data list's rows, formatted from the record each time a cell is
// asked for; nothing is stored per row.
class SampleTableModel : public QAbstractTableModel {
public:
    explicit SampleTableModel(const DisplaySettings& display, QObject* parent = nullptr);

    // Rebuilds the columns (3, or 4 with humidity) and the row count
    // (the record's received samples) from scratch.
    void SetRecord(const CLoggerRecord* record);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const DisplaySettings& m_display;
    const CLoggerRecord* m_pRecord = nullptr;
    int m_nRows = 0;
    int m_nColumns = 0;
};
