#pragma once

#include "archive/Archive.h"

#include <QAbstractTableModel>
#include <vector>

// The archive's missions as a table for a view: rows are fetched a page at
// a time as the view scrolls to them (canFetchMore/fetchMore), so a large
// archive costs only what is shown. Sorting asks the database again.
class CMissionModel : public QAbstractTableModel {
public:
    enum Column { ColId, ColStart, ColStop, ColSamples, ColExcursions, ColFile, ColumnCount };

    explicit CMissionModel(CArchive& archive, QObject* parent = nullptr);

    void SetPageSize(int rows) { m_pageSize = rows; }
    // Shows the missions of filter from the first page; false with error
    // set (and the table empty) when the archive fails.
    bool SetFilter(const ArchiveFilter& filter, QString& error);
    // Shows no missions, asking the archive nothing (for an archive that
    // cannot be opened).
    void Clear();
    // How many missions the filter lists in all, fetched or not.
    qint64 Total() const { return m_total; }
    const MissionRow& Row(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    const QString& LastError() const { return m_error; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    bool Reload(QString& error);

    CArchive& m_archive;
    ArchiveFilter m_filter;
    MissionPage m_page;
    int m_pageSize = 200;
    qint64 m_total = 0;
    std::vector<MissionRow> m_rows;
    QString m_error;
};
