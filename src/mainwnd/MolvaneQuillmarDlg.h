#pragma once

#include "app/Messages.h"

#include <QDialog>
#include <QFont>
#include <QSize>
#include <functional>
#include <map>

class CBannerStatic;
class CBatteryStrip;
class CColourStatic;
class CDataFormView;
class CDataModelView;
class CSummFormView;
class CTabHost;
class QLabel;
class QProgressBar;

// The main window: banner, command buttons, the tabbed summary and data
// pages, the battery strip, the graph page, the logger clock statics, the
// status line and the progress bar. It shows state and forwards commands;
// the logger workflow drives it through the view methods below.
class CMolvaneQuillmarDlg : public QDialog {
public:
    enum ControlId {
        IDC_BANNER = 1001, IDC_UNIT_C = 1002, IDC_UNIT_F = 1003, IDC_DOWNLOAD = 1004, IDC_SAVE = 1005,
        IDC_OPEN = 1006, IDC_PRINT = 1007, IDC_START_SETTING = 1008, IDC_TABS = 1011, IDC_PROGRESS = 1015,
        IDC_BATTERY = 1016, IDC_STATUS = 1019, IDC_GRAPH_FRAME = 1022, IDC_CALIBRATE = 1129,
        IDC_UNIT_GROUP = 1130, IDC_LOGGER_CLOCK = 1134, IDC_RUN_STATE = 1135, IDCANCEL = 2,
    };

    // screen: the size the window is fitted to (the primary screen's when
    // empty). commandLine: a data file to open at start, or empty.
    explicit CMolvaneQuillmarDlg(QSize screen = {}, const QString& commandLine = {}, QWidget* parent = nullptr);
    ~CMolvaneQuillmarDlg() override;

    // --- View operations for the workflow ---
    void SetStatusText(const QString& text);
    QString StatusText() const;
    void EnableButton(int id, bool on);
    bool IsButtonEnabled(int id) const;
    void SetProgress(int position);
    int Progress() const;
    // Summary page shows g_LoggerRecord (layout and values), the data list
    // and the graph are rebuilt from it.
    void ShowRecord();
    // The summary page copies g_LoggerRecord's value texts again.
    void UpdateSummaryValues();
    // The data list and the graph take g_LoggerRecord again.
    void RefreshDataViews();
    void RepaintBatteryStrip();
    void PaintBanner();
    void RedrawBanner() { PaintBanner(); }
    void SetClockText(const QString& text);
    void SetRunStateText(const QString& text);
    void SetClockVisible(bool visible);
    void SetRunStateVisible(bool visible);
    void ShowClockStatics(bool show);
    // Posts the graph page's reset: complete data shown or not.
    void PostGraphReset(bool complete);
    // Adds (true) or removes (false) the "Area Summary" and "Area Data" tabs.
    void ShowAreaTabs(bool show);
    // Yes/No question; tests replace the asker.
    bool Ask(const QString& question);
    void SetAsker(std::function<bool(const QString&)> asker) { m_pfnAsk = std::move(asker); }
    // Messages that the dialog does not handle itself (everything but
    // WMU_AREA) go to this handler.
    void SetMessageHandler(std::function<void(const Message&)> handler) { m_pfnMessage = std::move(handler); }

    // --- Commands ---
    void OnOpen();
    void OpenDataFile(const QString& path, const QString& name);
    // The command-line text: opens the file when it names a ".tavo" file.
    void OpenCommandLineFile(const QString& commandLine);
    // Unit radios: switch the temperature unit and re-format the pages.
    void OnUnitChosen(const QString& unit);
    void OnTabChanged(int index);
    void ShowAbout();
    // Chooses the file for Open; tests replace the file dialog.
    void SetOpenFileChooser(std::function<QString(const QString& startFolder)> chooser)
    {
        m_pfnChooseFile = std::move(chooser);
    }
    QString OpenStartFolder() const;

    // --- Parts ---
    CSummFormView* Summary() const { return m_pSummary; }
    CDataFormView* DataList() const { return m_pDataList; }
    CSummFormView* AreaSummary() const { return m_pAreaSummary; }
    CDataFormView* AreaDataList() const { return m_pAreaDataList; }
    CDataModelView* Graph() const { return m_pGraph; }
    CTabHost* Tabs() const { return m_pTabs; }
    CBatteryStrip* BatteryStrip() const { return m_pBattery; }
    QWidget* Control(int id) const;
    float Scale() const { return m_fScale; }

    int m_bMayConfigure = 0;
    bool m_bDownloading = false;

public:
    void reject() override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreatePages();
    void SetStartTexts();
    void ScaleToScreen(QSize screen);
    void RescalePages();
    void ConnectCommands();

    std::map<int, QWidget*> m_controls;
    CBannerStatic* m_pBanner = nullptr;
    CTabHost* m_pTabs = nullptr;
    CBatteryStrip* m_pBattery = nullptr;
    CColourStatic* m_pClock = nullptr;
    CColourStatic* m_pRunState = nullptr;
    QLabel* m_pStatus = nullptr;
    QProgressBar* m_pProgress = nullptr;
    CSummFormView* m_pSummary = nullptr;
    CDataFormView* m_pDataList = nullptr;
    CSummFormView* m_pAreaSummary = nullptr;
    CDataFormView* m_pAreaDataList = nullptr;
    CDataModelView* m_pGraph = nullptr;

    QFont m_scaledFont;
    float m_fScale = 1.0f;
    QSize m_screen;
    QSize m_scaledSize;
    QString m_strLastFolder;
    std::function<bool(const QString&)> m_pfnAsk;
    std::function<void(const Message&)> m_pfnMessage;
    std::function<QString(const QString&)> m_pfnChooseFile;
};
