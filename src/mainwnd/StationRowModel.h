#pragma once

#include "station/StationRow.h"

#include <QAbstractTableModel>
#include <cstdint>
#include <vector>

// The station list: one row per logger the station has seen, in the order
// they came, with its link and port, ID, type, state, samples, excursions
// and the files written. Rows are kept from the station's events.
class CStationRowModel : public QAbstractTableModel {
public:
    enum Column { Link, Id, Type, State, Samples, Excursions, Files, ColumnCount };
    // The data file of a row, empty when it has none.
    static constexpr int DataFileRole = Qt::UserRole;

    explicit CStationRowModel(std::uint16_t language, QObject* parent = nullptr);

    // Adds the row of a logger seen first, or updates the one with its key.
    void Update(const StationRow& row);
    void Clear();
    const std::vector<StationRow>& Rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // "downloading 37 %", "archived", "failed: REASON", ...
    static QString StateText(const StationRow& row, std::uint16_t language);

private:
    QString Text(const StationRow& row, int column) const;
    QString ToolTip(const StationRow& row, int column) const;

    std::uint16_t m_language;
    std::vector<StationRow> m_rows;
};
