#pragma once

#include "views/ControlTable.h"
#include "views/GraphFrame.h"

#include "record/LoggerRecord.h"

#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <functional>

class QCheckBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

// The graph page: temperature (and humidity) of a record over time,
// drawn into an off-screen frame with a value scale, alarm limits, a cursor
// and its readouts, above the zoom, scroll and range-selection controls.
class CGraphPage : public QWidget {
    Q_OBJECT

public:
    enum ControlId {
        IDC_SHOW_TEMP = 1028, IDC_SHOW_HUMI = 1029, IDC_TEMP_READOUT = 1030, IDC_HUMI_READOUT = 1031,
        IDC_FIRST_SAMPLE = 1032, IDC_ZOOM_IN = 1033, IDC_ZOOM_OUT = 1034, IDC_AUTOSCALE = 1035,
        IDC_TEMP_UNIT = 1036, IDC_HUMI_UNIT = 1037, IDC_SAVE_SELECTION = 1136,
        IDC_SELECTION_START = 1137, IDC_SELECTION_END = 1138,
    };

    // Draws record in display's unit; a range selected in it is built into range.
    CGraphPage(CLoggerRecord& record, CLoggerRecord& range, const DisplaySettings& display, QWidget* parent = nullptr);
    ~CGraphPage() override;

    // Shows the record afresh: curve check boxes by type, zoom 1, first
    // sample 0, the trackbar's range, then a new frame.
    void Refresh();
    // Places controls and frame at the main window's scale from their
    // dialog units; the plot takes the room the window has beyond its
    // template, the controls below it move down.
    void Rescale(float scale, int originX, int originY, QSize room = QSize(0, 0));
    // Draws a frame into the off-screen image (no window update).
    void Redraw();
    // Rewrites the two cursor readouts from the last frame.
    void UpdateReadouts();
    // The graph starts over on its record: the selection is offered when the
    // complete data is shown; the pickers show the record's times and the
    // range is emptied.
    void OnGraphReset(bool complete);
    // Samples arrived during a download: the trackbar's range grows and the
    // page is repainted.
    void SamplesArrived();

    // --- Zoom, scroll and cursor (each redraws and rewrites the readouts) ---
    void ZoomIn();
    void ZoomOut();
    // One zoom step around page x: the sample under it stays put.
    void ZoomAt(int pageX, bool in);
    // Zoom divisor 1, first sample 0.
    void ResetZoom();
    void OnTrackbar(int position);
    // Moves the cursor by `step` samples, scrolling it into view.
    void MoveCursor(int step);
    // The sample shown at page x.
    int SampleAtX(int pageX) const;
    // Page x of a sample on the current view.
    int XOfSample(int sample) const;

    // --- Range selection ---
    void OnSaveSelectionClicked(bool checked);
    // A picker was edited: the selection is rebuilt 2000 ms after the last edit.
    void OnPickerChanged();
    void OnSelectionTimer();
    QTimer* SelectionTimer() { return &m_selectionTimer; }
    // Sets both pickers and selects that range, turning the selection on.
    void SelectTimeRange(time64 from, time64 to);
    // Shows a short notice ("Time Over"); tests replace the message box.
    void SetNotifier(std::function<void(const QString&)> notify) { m_pfnNotify = std::move(notify); }

    // The range-selection flag: "Save Selection" checked, pickers live.
    bool IsSelectionOn() const { return m_bSelectionOn != 0; }
    void SetSelectionOn(bool on) { m_bSelectionOn = on ? 1 : 0; }
    GraphViewState& State() { return m_state; }
    const GraphPoints& Points() const { return m_points; }
    const GraphGeometry& Geometry() const { return m_geometry; }
    const QImage& Frame() const { return m_frame; }
    float Scale() const { return m_geometry.scale; }
    template <class W = QWidget>
    W* Control(int id) const { return m_controls.Get<W>(id); }

signals:
    // The "Area Summary" and "Area Data" tabs are to be added (true) or
    // removed (false): a range selection was made or cleared.
    void AreaTabsWanted(bool show);
    // A text for the main window's status line (a refused selection).
    void StatusWanted(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // A mouse gesture on the plot: a click, a drag that pans, or a
    // Shift-drag that selects a time range.
    struct Drag {
        bool active = false;
        bool selecting = false;
        bool moved = false;
        QPoint start;
        int x = 0;
        int firstSample = 0;
        int clickX = 0;
        int clickY = 0;
    };

    void CreateControls();
    void ConnectControls();
    void ColourUnitLabels();
    QCheckBox* Check(int id) const;
    QDateTimeEdit* Picker(int id) const;
    bool AnyCurve() const { return m_state.showTemp || m_state.showHumi; }
    bool InPlot(QPoint pos) const;
    // Redraws the frame, rewrites the readouts and repaints the page.
    void Show();
    // First sample and trackbar position together.
    void SetFirstSample(int first);
    void SetPickers(time64 start, time64 stop);
    // The pickers show the shown record's start and stop.
    void ShowRecordTimes();
    void EnablePickers(bool on);
    // Builds the range record from the pickers; false (area emptied, status
    // said) when the end lies before the start.
    bool BuildSelection();
    void Notify(const QString& text);
    void PanTo(int x);

    CLoggerRecord* m_pRecord;
    CLoggerRecord* m_pRange;
    const DisplaySettings& m_display;
    ControlTable m_controls;
    GraphViewState m_state;
    GraphGeometry m_geometry;
    GraphPoints m_points;
    QImage m_frame;
    QFont m_scaleFont;
    QFont m_pageFont;
    int m_bSelectionOn = 0;
    int m_nOriginX = 0;
    int m_nOriginY = 0;
    QTimer m_selectionTimer;
    std::function<void(const QString&)> m_pfnNotify;
    Drag m_drag;
    int m_nWheelAngle = 0;
};
