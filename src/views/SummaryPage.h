#pragma once

#include "base/DisplaySettings.h"
#include "views/ControlTable.h"

#include <QFont>
#include <QWidget>

class CLoggerRecord;
class QLabel;

// The summary page: caption and value texts of one record (header block,
// temperature group, humidity group).
class CSummaryPage : public QWidget {
public:
    explicit CSummaryPage(const DisplaySettings& display, QWidget* parent = nullptr);

    // The record shown; not owned, null until the main dialog sets it.
    CLoggerRecord* m_pRecord = nullptr;

    void SetCaptions();
    // Humidity captions and values only for a temperature+humidity record.
    void UpdateLayout();
    // Copies the record's value texts; rows without a value are blanked.
    void UpdateValues();
    // Places the controls from their dialog units at the main window's
    // scale; origin: where the page sits in the window.
    void Rescale(float scale, int originX, int originY);

    // The static with this control id (caption or value), or null.
    QLabel* Static(int id) const;
    template <class W = QWidget>
    W* Control(int id) const { return m_controls.Get<W>(id); }
    float Scale() const { return m_fScale; }

    // The statics that show the record's values.
    enum ValueId : int {
        IDC_ID_VALUE = 1043, IDC_START_VALUE = 1069, IDC_STOP_VALUE = 1070, IDC_INTERVAL_VALUE = 1071,
        IDC_COUNT_VALUE = 1047, IDC_MAX_VALUE = 1072, IDC_MIN_VALUE = 1049, IDC_AVG_VALUE = 1073,
        IDC_MKT_VALUE = 1082, IDC_HIGH_LIMIT_VALUE = 1074, IDC_LOW_LIMIT_VALUE = 1075,
        IDC_HUMI_MAX_VALUE = 1076, IDC_HUMI_MIN_VALUE = 1077, IDC_HUMI_AVG_VALUE = 1078,
        IDC_HUMI_HIGH_LIMIT_VALUE = 1079, IDC_HUMI_LOW_LIMIT_VALUE = 1080, IDC_DESCRIPTION_VALUE = 1113,
    };

private:
    void SetValue(int id, int row, int blankLength);

    const DisplaySettings& m_display;

    ControlTable m_controls;
    float m_fScale = 1.0f;
    int m_nOriginX = 0;
    int m_nOriginY = 0;
    QFont m_scaledFont;
};
