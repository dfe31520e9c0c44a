#pragma once

#include "views/GraphFrame.h"

#include <QImage>
#include <QWidget>
#include <map>

class CLoggerRecord;
class QCheckBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

// The graph page: temperature (and humidity) of g_LoggerRecord over time,
// drawn into an off-screen frame with a value scale, alarm limits, a cursor
// and its readouts, above the zoom, scroll and range-selection controls.
class CDataModelView : public QWidget {
    Q_OBJECT

public:
    enum ControlId {
        IDC_SHOW_TEMP = 1028, IDC_SHOW_HUMI = 1029, IDC_TEMP_READOUT = 1030, IDC_HUMI_READOUT = 1031,
        IDC_FIRST_SAMPLE = 1032, IDC_ZOOM_IN = 1033, IDC_ZOOM_OUT = 1034, IDC_AUTOSCALE = 1035,
        IDC_TEMP_UNIT = 1036, IDC_HUMI_UNIT = 1037, IDC_SAVE_SELECTION = 1136,
        IDC_SELECTION_START = 1137, IDC_SELECTION_END = 1138,
    };

    explicit CDataModelView(QWidget* parent = nullptr);
    ~CDataModelView() override;

    // Shows the record afresh: curve check boxes by type, zoom 1, first
    // sample 0, the trackbar's range, then a new frame.
    void Refresh();
    // Fits controls and frame to the main window's scale.
    void Rescale(float scale, int originX, int originY);
    // Draws a frame into the off-screen image (no window update).
    void Redraw();
    // Rewrites the two cursor readouts from the last frame.
    void UpdateReadouts();
    // The main dialog's graph reset: wParam 1 = complete data shown.
    void OnGraphReset(std::intptr_t wParam, std::intptr_t lParam);

    // The range-selection flag: "Save Selection" checked, pickers live.
    bool IsSelectionOn() const { return m_bSelectionOn != 0; }
    void SetSelectionOn(bool on) { m_bSelectionOn = on ? 1 : 0; }
    GraphViewState& State() { return m_state; }
    const GraphPoints& Points() const { return m_points; }
    const GraphGeometry& Geometry() const { return m_geometry; }
    const QImage& Frame() const { return m_frame; }
    float Scale() const { return m_geometry.scale; }
    QWidget* Control(int id) const;
    // The record drawn; g_LoggerRecord unless a test sets another.
    void SetRecord(CLoggerRecord* record) { m_pRecord = record; }

signals:
    // The "Area Summary" and "Area Data" tabs are to be added (true) or
    // removed (false): a range selection was made or cleared.
    void AreaTabsWanted(bool show);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreateControls();
    void ColourUnitLabels();
    QCheckBox* Check(int id) const;

    CLoggerRecord* m_pRecord;
    std::map<int, QWidget*> m_controls;
    GraphViewState m_state;
    GraphGeometry m_geometry;
    GraphPoints m_points;
    QImage m_frame;
    QFont m_scaleFont;
    QFont m_pageFont;
    int m_bSelectionOn = 0;
    int m_nOriginX = 0;
    int m_nOriginY = 0;
};
