#pragma once

#include "base/DisplaySettings.h"

#include <QFont>
#include <QWidget>
#include <cstdint>

class CLoggerRecord;
class QTableView;
class SampleTableModel;

// The data list page: one sample per row (number, time, temperature and,
// for a temperature+humidity logger, humidity), cells formatted on demand.
class CDataListPage : public QWidget {
public:
    explicit CDataListPage(const DisplaySettings& display, QWidget* parent = nullptr);

    // Shows the record (a null record is only stored): columns and row count
    // are rebuilt from scratch, the columns are fitted to the list's width.
    void SetRecord(CLoggerRecord* record);
    // Fits the list to the main window's scale, taller by the room the
    // window has beyond its template, and its columns to its width; keeps
    // the origin, the rows shown and the selection.
    void Rescale(float scale, int originX, int originY, QSize room = QSize(0, 0));

    CLoggerRecord* Record() const { return m_pRecord; }
    int ColumnCount() const { return m_byColumns; }
    QTableView* List() const { return m_pList; }
    SampleTableModel* Model() const { return m_pModel; }
    float Scale() const { return m_fScale; }

    static constexpr int IDC_LIST = 1081;
    // Width the columns share: the list less its frame and vertical scroll bar.
    int ListRoom() const;

private:
    void FitColumnsToList();

    const DisplaySettings& m_display;

    CLoggerRecord* m_pRecord = nullptr;
    std::uint8_t m_byColumns = 0;
    QTableView* m_pList;
    SampleTableModel* m_pModel;
    float m_fScale = 1.0f;
    int m_nOriginX = 0;
    int m_nOriginY = 0;
    QFont m_listFont;
};
