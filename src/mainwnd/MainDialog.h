#pragma once

#include "base/Messages.h"
#include "mainwnd/CommandKeys.h"
#include "mainwnd/ControlId.h"
#include "mainwnd/StationPreferences.h"
#include "mainwnd/WindowAudit.h"
#include "views/ControlTable.h"
#include "views/DialogScale.h"
#include "workflow/LoggerConnection.h"
#include "workflow/WorkflowView.h"

#include <QDialog>
#include <QFont>
#include <QSize>
#include <functional>
#include <map>
#include <vector>

class CAlarmFormView;
class CArchiveWindow;
class CWindowArchive;
class CBannerStatic;
class CBatteryStrip;
class CColourStatic;
class CDataListPage;
class CFocusRing;
class CGraphPage;
class CStationRowModel;
class CStationRunner;
class CStationView;
struct StationEvent;
class CSummaryPage;
class CTabHost;
class QLabel;
class QProgressBar;
class QTimer;

// The main window: banner, command buttons, the tabbed summary and data
// pages, the battery strip, the graph page, the logger clock statics, the
// status line and the progress bar. It shows state and forwards commands;
// it owns the logger workflow, which drives it through the view methods
// below and runs on its timers and posted messages.
class CMainDialog : public QDialog, public IWorkflowView, public ITimerHost {
public:
    using enum ControlId;

    // screen: the size the window is fitted to (the primary screen's when
    // empty). The window is built but looks for no logger until Start.
    // display: the unit and language the window starts in; the unit buttons
    // change its unit.
    explicit CMainDialog(const DisplaySettings& display, QSize screen = {}, QWidget* parent = nullptr);
    const DisplaySettings& Display() const { return m_display; }
    ~CMainDialog() override;

    // The last step of start-up: registers the device notifications, looks
    // for a logger that is already plugged in, then opens the command-line
    // file (a ".tavo" path, or empty). The notifications stay registered
    // until the dialog is destroyed.
    void Start(const QString& commandLine = {});
    // Takes the size, position and maximised state the settings kept from
    // the last run, when they kept any, and keeps them there again when the
    // window closes. Without it the window is fitted to the screen and
    // keeps nothing.
    void RememberPlacement();

    LoggerWorkflow& Workflow() { return m_workflow; }
    LoggerConnection& Connection() { return m_connection; }
    // The window timer of a workflow timer id, or null.
    QTimer* Timer(int id) const;

    // --- View operations for the workflow ---
    void SetStatusText(const QString& text) override;
    QString StatusText() const;
    // Enables or disables the buttons of the commands the change concerns.
    void CommandsChanged(const AvailableCommands& commands) override;
    void EnableButton(int id, bool on);
    bool IsButtonEnabled(int id) const;
    void SetProgress(int position) override;
    int Progress() const;
    // The summary page shows the connection's record (layout and values);
    // the data list and the graph are rebuilt from it.
    void ShowRecord() override;
    // The summary page copies the record's value texts again.
    void UpdateSummaryValues() override;
    // The data list and the graph take the record again.
    void RefreshDataViews() override;
    void BatteryChanged() override { RepaintBatteryStrip(); }
    void RepaintBatteryStrip();
    void PaintBanner();
    // A download completed: its samples are not saved yet.
    void RecordChanged() override
    {
        m_bUnsavedDownload = true;
        PaintBanner();
    }
    // Samples downloaded and not saved since (Exit asks only then).
    bool UnsavedDownload() const { return m_bUnsavedDownload; }
    void SetClockText(const QString& text) override;
    void SetRunStateText(const QString& text) override;
    void SetClockVisible(bool visible) override;
    void SetRunStateVisible(bool visible) override;
    // Posts the graph page's reset: complete data shown or not.
    void PostGraphReset(bool complete);
    void GraphReset(bool complete) override { PostGraphReset(complete); }
    // Adds (true) or removes (false) the "Area Summary" and "Area Data" tabs.
    void ShowAreaTabs(bool show);
    // Start Setting: the configuration dialog, modal (ConfigCommand.cpp).
    void OpenConfigDialog() override;
    void OpenPrintDialog() override;
    // Yes/No question; tests replace the asker.
    bool Ask(const QString& question);
    void SetAsker(std::function<bool(const QString&)> asker) { m_pfnAsk = std::move(asker); }

    // --- Timer host for the workflow: ids 1, 2, 4, 5, 6 ---
    // A timer ticks every `milliseconds` until killed; setting it again
    // restarts it with the new period.
    void SetTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;

    // --- Commands ---
    void OnOpen();
    // Reads the data file at path and shows it; name is what the status line
    // calls it. False when the file was refused: the status line says why
    // and the window keeps showing what it showed.
    bool OpenDataFile(const QString& path, const QString& name);
    // The command-line text: opens the file when it names a ".tavo" file.
    void OpenCommandLineFile(const QString& commandLine);
    void OnTabChanged(int index);
    // The pages the tabs show, in the order they take when all are there.
    enum class TabPage { Summary, Data, Alarms, AreaSummary, AreaData, Station };
    // Makes page's tab the current one and shows its page (when it has a tab).
    void SelectTab(TabPage page);
    void ShowAbout();
    // The keys of the window with what they do, as the About box lists them.
    std::vector<KeyListLine> KeyList() const;
    // Chooses the file for Open; tests replace the file dialog.
    void SetOpenFileChooser(std::function<QString(const QString& startFolder)> chooser)
    {
        m_pfnChooseFile = std::move(chooser);
    }
    QString OpenStartFolder() const;
    // Save: the record (or the selected range) to a file of the kind chosen.
    void OnSave();
    // Chooses the file for Save: the proposed path and the filters in, the
    // path and the filter chosen out (an empty path: cancelled). Tests
    // replace the file dialog.
    struct SaveChoice {
        QString path;
        QString filter;
    };
    void SetSaveFileChooser(std::function<SaveChoice(const QString& proposed, const QStringList& filters)> chooser)
    {
        m_pfnChooseSaveFile = std::move(chooser);
    }

    // --- Automatic mode (MainDialogAutomatic.cpp) ---
    // On: the window's own connection lets go of its logger and of hot-plug,
    // and a receiving station takes every logger, downloads it and files it
    // into the archive folder with its reports, showing them in the Station
    // tab. Off: the station stops and the window looks for a logger as at
    // start. remember: the choice is kept in the settings for the next run.
    // Before Start, this only decides what Start begins with.
    void SetAutomatic(bool on, bool remember = true);
    bool Automatic() const { return m_prefs.automatic; }
    // Station...: the settings dialog, modal; OK applies them.
    void OnStationSettings();
    // Keeps settings for the station and restarts a running one with them.
    void ApplyStationSettings(const StationSettings& settings);
    CStationRunner* Station() const { return m_pStation; }
    CStationRowModel* StationRows() const { return m_pStationRows; }
    CStationView* StationView() const { return m_pStationView; }
    // --- Mission archive (MainDialogArchive.cpp) ---
    // The archive Save indexes its data files into and the Archive view lists.
    CWindowArchive& WindowArchive();
    // Shows the Archive view, made on first use.
    void ShowArchiveView();
    CArchiveWindow* ArchiveView() const { return m_pArchiveView; }
    // Opens a data file of the archive as Open does; a missing file says so
    // on the status line. message: what the status line says afterwards.
    bool OpenArchivedMission(const QString& path, QString& message);

    // --- Parts ---
    CSummaryPage* Summary() const { return m_pSummary; }
    CDataListPage* DataList() const { return m_pDataList; }
    CSummaryPage* AreaSummary() const { return m_pAreaSummary; }
    CDataListPage* AreaDataList() const { return m_pAreaDataList; }
    CGraphPage* Graph() const { return m_pGraph; }
    CAlarmFormView* Alarms() const { return m_pAlarms; }
    CTabHost* Tabs() const { return m_pTabs; }
    CFocusRing* FocusRing() const { return m_pFocusRing; }
    CBatteryStrip* BatteryStrip() const { return m_pBattery; }
    template <class W = QWidget>
    W* Control(int id) const { return m_controls.Get<W>(id); }
    // The scale of the fit to the screen, which the dialogs opened from the
    // window take.
    float Scale() const { return m_fScale; }
    // The scale and the room beyond the template of the present placement.
    const WindowFit& Placement() const { return m_placed; }

public:
    void reject() override;
    void done(int result) override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void CreatePages();
    void SetStartTexts();
    // Fits the window to 90 % of the screen and centres it there; a size
    // below the fit to a 1366 x 768 screen is refused from then on.
    void ScaleToScreen(QSize screen);
    // Places every control and page from the template against this size.
    void PlaceControls(QSize size);
    void PlacePages();
    void ConnectCommands();
    // Shortcuts and access keys of the command buttons, and the tab order.
    void CreateKeys();
    void SetTabOrder();
    void CreateTimers();
    void ShowOnly(QWidget* page);
    void AddTab(TabPage page, const QString& text, int at = -1);
    void RemoveTab(TabPage page);
    TabPage PageOfTab(int index) const;
    int TabOf(TabPage page) const;
    void ShowStationTab(bool show);
    void WidenTabs(bool wide);
    void CreateStation();
    void StartStation();
    void StopStation();
    void ReleaseLogger();
    void OnStationEvent(const StationEvent& event);
    // Indexes a data file Save has written; a failure follows the save's
    // own message on the status line.
    void IndexSavedFile(const QString& path);

    ControlTable m_controls;
    CBannerStatic* m_pBanner = nullptr;
    CTabHost* m_pTabs = nullptr;
    CBatteryStrip* m_pBattery = nullptr;
    CColourStatic* m_pClock = nullptr;
    CColourStatic* m_pRunState = nullptr;
    QLabel* m_pStatus = nullptr;
    QProgressBar* m_pProgress = nullptr;
    CSummaryPage* m_pSummary = nullptr;
    CDataListPage* m_pDataList = nullptr;
    CSummaryPage* m_pAreaSummary = nullptr;
    CDataListPage* m_pAreaDataList = nullptr;
    CGraphPage* m_pGraph = nullptr;
    CAlarmFormView* m_pAlarms = nullptr;
    CStationRowModel* m_pStationRows = nullptr;
    CStationView* m_pStationView = nullptr;
    CStationRunner* m_pStation = nullptr;
    CFocusRing* m_pFocusRing = nullptr;
    StationPreferences m_prefs;
    CWindowArchive* m_pWindowArchive = nullptr;
    CArchiveWindow* m_pArchiveView = nullptr;

    QFont m_scaledFont;
    float m_fScale = 1.0f;
    QSize m_screen;
    WindowFit m_placed;     // the scale and room of the last placement
    QSize m_placedSize;     // the window size it was made for
    QSize m_tabPageSize;    // a tab page's size in the unscaled window
    QRect m_tabsNarrow; // the tab control's place among the others
    QString m_strLastFolder;
    std::function<bool(const QString&)> m_pfnAsk;
    std::function<QString(const QString&)> m_pfnChooseFile;
    std::function<SaveChoice(const QString&, const QStringList&)> m_pfnChooseSaveFile;
    std::map<int, QTimer*> m_timers;
    DisplaySettings m_display;
    LoggerConnection m_connection{*this, *this, m_display};
    LoggerWorkflow& m_workflow = m_connection.Workflow();
    CWindowAudit m_audit{*this, m_workflow};
    bool m_bStarted = false;
    bool m_bRememberPlacement = false;
    bool m_bUnsavedDownload = false;
};
