#pragma once

#include "archive/Archive.h"
#include "base/DisplaySettings.h"

#include <QTimer>
#include <QWidget>
#include <functional>

class CArchiveTableModel;
class CAuditTrailPane;
class COverlayGraph;
class CWindowArchive;
class QCheckBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;

// The Archive view, a window of its own: the archive's missions in a table
// the database sorts and pages, filtered by logger ID, time range and
// alarms; a double click opens a mission in the main window; the missions
// selected can be overlaid on one graph below the table, or the audit
// trail of a mission or a logger listed there.
class CArchiveWindow : public QWidget {
    Q_OBJECT

public:
    // Opens a data file in the main window; message is what its status line
    // then says. False when the file was not opened.
    using Opener = std::function<bool(const QString& path, QString& message)>;

    // display: the main window's unit and language, followed as they change.
    CArchiveWindow(CWindowArchive& archive, const DisplaySettings& display, Opener open, QWidget* parent = nullptr);

    // Opens the archive if needed and lists the missions the filters let
    // through; when the archive cannot be opened the table is empty and the
    // view says why.
    void Reload();
    ArchiveFilter Filter() const;
    // Opens the mission of a table row in the main window.
    void OpenRow(int row);
    // Overlays the missions of the selected rows (1 .. the graph's most).
    void OverlaySelected();
    // The audit trail of the selected mission (its logger, from its start to
    // an hour after its stop), or with none selected of the logger ID typed
    // in the filter within the filter's times.
    void ShowTrail();
    // The settings dialog of the archive's address; a new address is opened at once.
    void EditSettings();

    QTableView* Table() const { return m_pTable; }
    CArchiveTableModel* Model() const { return m_pModel; }
    COverlayGraph* Overlay() const { return m_pOverlay; }
    QLineEdit* IdFilter() const { return m_pId; }
    QCheckBox* FromCheck() const { return m_pFromOn; }
    QDateTimeEdit* FromEdit() const { return m_pFrom; }
    QCheckBox* ToCheck() const { return m_pToOn; }
    QDateTimeEdit* ToEdit() const { return m_pTo; }
    QCheckBox* AlarmsCheck() const { return m_pAlarms; }
    QPushButton* OverlayButton() const { return m_pOverlayButton; }
    QPushButton* TrailButton() const { return m_pTrailButton; }
    CAuditTrailPane* Trail() const { return m_pTrail; }
    QTabWidget* LowerTabs() const { return m_pLower; }
    QRadioButton* ElapsedChoice() const { return m_pElapsed; }
    QRadioButton* HumidityChoice() const { return m_pHumidity; }
    QString TotalText() const;
    QString StatusText() const;

protected:
    bool event(QEvent* event) override;

private:
    QWidget* MakeFilterRow();
    QWidget* MakeOverlayPane();
    QWidget* MakeLowerTabs();
    bool TrailFilter(AuditFilter& filter) const;
    void SetColumnWidths();
    void SetStatus(const QString& text);
    void ShowAddress();
    std::uint16_t Language() const { return m_display.language; }

    CWindowArchive& m_archive;
    const DisplaySettings& m_display;
    Opener m_open;
    CArchiveTableModel* m_pModel = nullptr;
    QTableView* m_pTable = nullptr;
    COverlayGraph* m_pOverlay = nullptr;
    QLabel* m_pAddress = nullptr;
    QLineEdit* m_pId = nullptr;
    QCheckBox* m_pFromOn = nullptr;
    QDateTimeEdit* m_pFrom = nullptr;
    QCheckBox* m_pToOn = nullptr;
    QDateTimeEdit* m_pTo = nullptr;
    QCheckBox* m_pAlarms = nullptr;
    QLabel* m_pTotal = nullptr;
    QPushButton* m_pOpenButton = nullptr;
    QPushButton* m_pOverlayButton = nullptr;
    QPushButton* m_pTrailButton = nullptr;
    QTabWidget* m_pLower = nullptr;
    CAuditTrailPane* m_pTrail = nullptr;
    QRadioButton* m_pElapsed = nullptr;
    QRadioButton* m_pTemperature = nullptr;
    QRadioButton* m_pHumidity = nullptr;
    QLabel* m_pStatus = nullptr;
    QTimer m_idTyping; // the ID filter applies a moment after the last key
};
