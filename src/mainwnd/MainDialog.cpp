#include "mainwnd/MainDialog.h"

#include "base/TextTable.h"
#include "mainwnd/AboutDlg.h"
#include "mainwnd/BatteryStrip.h"
#include "mainwnd/ProgressField.h"
#include "views/DialogScale.h"
#include "base/QtMessagePoster.h"
#include "mainwnd/Statics.h"
#include "mainwnd/StationRunner.h"
#include "views/SummaryPage.h"
#include "mainwnd/TabHost.h"
#include "record/LoggerRecord.h"
#include "record/Units.h"
#include "views/DataListPage.h"
#include "views/GraphPage.h"
#include "views/AlarmFormView.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QCheckBox>
#include <QTabBar>
#include <QTimer>
#include <utility>

namespace {
const QColor kDialogColour(82, 105, 118);
} // namespace

CMainDialog::CMainDialog(const DisplaySettings& display, QSize screen, QWidget* parent)
    : QDialog(parent), m_display(display)
{
    Q_INIT_RESOURCE(halvern);
    setWindowTitle(QStringLiteral("Halvern Software TH"));
    // Fitted to the screen at start; it can be resized, maximized and
    // minimized, and its controls follow its size.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/halvern/icon.png")));
    setFont(DialogFont());

    auto* about = new QAction(QStringLiteral("&About Halvern Software TH..."), this);
    about->setShortcut(QKeySequence::HelpContents);
    connect(about, &QAction::triggered, this, &CMainDialog::ShowAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    SetMessageReceiver(MessageTarget::MainDialog, this);
    m_prefs = LoadStationPreferences(QSettings());

    CreateControls();
    m_pBattery->SetWorkflow(&m_workflow);
    m_pBattery->SetRecord(&m_connection.Record());
    CreatePages();
    SetStartTexts();
    CreateTimers();
    m_connection.Record().Reset();
    m_connection.Range().Reset();

    m_pGraph = new CGraphPage(m_connection.Record(), m_connection.Range(), m_display, Control(IDC_GRAPH_FRAME));
    m_pGraph->setGeometry(0, 0, 930, 600);
    m_pGraph->show();
    // Queued, so the tabs change after the graph's reset has finished.
    connect(m_pGraph, &CGraphPage::AreaTabsWanted, this, &CMainDialog::ShowAreaTabs,
            Qt::QueuedConnection);
    connect(m_pGraph, &CGraphPage::StatusWanted, this, &CMainDialog::SetStatusText);

    m_pSummary->m_pRecord = &m_connection.Record();
    m_pSummary->UpdateLayout();
    m_pSummary->SetCaptions();
    m_pDataList->SetRecord(&m_connection.Record());
    m_pAreaSummary->hide();
    m_pAreaDataList->hide();
    m_pAreaSummary->SetCaptions();
    m_pAreaDataList->SetRecord(&m_connection.Range());
    m_pAlarms->SetRecord(&m_connection.Record());

    if (!screen.isValid() && QGuiApplication::primaryScreen())
        screen = QGuiApplication::primaryScreen()->size();
    m_screen = screen.isValid() ? screen : QSize(1920, 1080);
    ScaleToScreen(m_screen);
    ConnectCommands();
    CreateKeys();
    CreateStation();

    Control(IDC_DOWNLOAD)->setFocus();
    SetStatusText(GetText(ToInt(TextId::Ready), m_display.language));
}

CMainDialog::~CMainDialog()
{
    // The station lets go of its loggers while the window it tells is whole.
    delete m_pStation;
    m_pStation = nullptr;
    for (const auto& [id, timer] : m_timers)
        timer->stop();
    if (m_bStarted)
        m_workflow.Shutdown();
    ForgetMessageReceiver(this);
}

void CMainDialog::Start(const QString& commandLine)
{
    m_bStarted = true;
    if (Automatic())
        StartStation();
    else
        m_workflow.Startup();
    OpenCommandLineFile(commandLine);
}

void CMainDialog::ConnectCommands()
{
    const auto onClick = [this](int id, auto command) {
        connect(Control<QAbstractButton>(id), &QAbstractButton::clicked, this, command);
    };
    onClick(IDC_OPEN, [this] { OnOpen(); });
    onClick(IDC_SAVE, [this] { OnSave(); });
    onClick(IDCANCEL, [this] { reject(); });
    onClick(IDC_DOWNLOAD, [this] { m_workflow.Download(); });
    onClick(IDC_CALIBRATE, [this] { m_workflow.CalibrateTime(); });
    onClick(IDC_UNIT_C, [this] { m_workflow.SetUnitCelsius(); });
    onClick(IDC_UNIT_F, [this] { m_workflow.SetUnitFahrenheit(); });
    onClick(IDC_START_SETTING, [this] { m_workflow.StartSetting(); });
    onClick(IDC_PRINT, [this] { m_workflow.Print(); });
    connect(Control<QCheckBox>(IDC_AUTOMATIC), &QCheckBox::clicked, this, [this](bool on) { SetAutomatic(on); });
    onClick(IDC_STATION_SETTINGS, [this] { OnStationSettings(); });
    onClick(IDC_ARCHIVE, [this] { ShowArchiveView(); });
    connect(m_pTabs->Bar(), &QTabBar::currentChanged, this, &CMainDialog::OnTabChanged);
}

void CMainDialog::SetStatusText(const QString& text)
{
    m_pStatus->setText(text);
}

QString CMainDialog::StatusText() const
{
    return m_pStatus->text();
}

void CMainDialog::CommandsChanged(const AvailableCommands& commands)
{
    static constexpr std::pair<WorkflowCommand, ControlId> kButtons[] = {
        {WorkflowCommand::Download, IDC_DOWNLOAD},
        {WorkflowCommand::Open, IDC_OPEN},
        {WorkflowCommand::StartSetting, IDC_START_SETTING},
        {WorkflowCommand::Calibrate, IDC_CALIBRATE},
    };
    for (const auto& [command, id] : kButtons)
        if (commands.Concerns(command))
            EnableButton(id, commands.Available(command));
    // Not while the window's own download runs.
    if (commands.Concerns(WorkflowCommand::Open))
        EnableButton(IDC_AUTOMATIC, commands.Available(WorkflowCommand::Open));
}

void CMainDialog::EnableButton(int id, bool on)
{
    if (QWidget* w = Control(id))
        w->setEnabled(on);
}

bool CMainDialog::IsButtonEnabled(int id) const
{
    const QWidget* w = Control(id);
    return w && w->isEnabled();
}

void CMainDialog::SetProgress(int position)
{
    const CLoggerRecord& r = m_connection.Record();
    Control<CProgressField>(IDC_PROGRESS)->Show(position, r.m_nReceived, r.m_nCount, m_display.language);
    m_pGraph->SamplesArrived(); // the graph shows what has arrived so far
}

int CMainDialog::Progress() const
{
    return Control<CProgressField>(IDC_PROGRESS)->Position();
}

void CMainDialog::ShowRecord()
{
    m_pSummary->m_pRecord = &m_connection.Record();
    m_pSummary->UpdateLayout();
    m_pSummary->UpdateValues();
    RefreshDataViews();
}

void CMainDialog::UpdateSummaryValues()
{
    m_pSummary->UpdateValues();
    m_pSummary->update();
}

void CMainDialog::RefreshDataViews()
{
    m_pDataList->SetRecord(&m_connection.Record());
    m_pAlarms->SetRecord(&m_connection.Record());
    m_pGraph->Refresh();
}

void CMainDialog::RepaintBatteryStrip()
{
    m_pBattery->update();
}

void CMainDialog::PaintBanner()
{
    if (!m_pBanner->Picture().isNull())
        m_pBanner->update();
}

void CMainDialog::SetClockText(const QString& text)
{
    m_pClock->SetText(text);
}

void CMainDialog::SetRunStateText(const QString& text)
{
    m_pRunState->SetText(text);
}

void CMainDialog::SetClockVisible(bool visible)
{
    m_pClock->setVisible(visible);
}

void CMainDialog::SetRunStateVisible(bool visible)
{
    m_pRunState->setVisible(visible);
}

void CMainDialog::PostGraphReset(bool complete)
{
    // Queued: the reset comes after what the current handler still does.
    QMetaObject::invokeMethod(m_pGraph, [graph = m_pGraph, complete] { graph->OnGraphReset(complete); },
                              Qt::QueuedConnection);
}

bool CMainDialog::Ask(const QString& question)
{
    if (m_pfnAsk)
        return m_pfnAsk(question);
    return QMessageBox::question(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

void CMainDialog::ShowAbout()
{
    CAboutDlg about(KeyList(), this);
    about.exec();
}

void CMainDialog::reject()
{
    // Asked only when leaving would lose samples: a download not saved.
    if (!m_bUnsavedDownload || Ask(GetText(ToInt(TextId::SureToExit), m_display.language)))
        QDialog::reject();
}

void CMainDialog::closeEvent(QCloseEvent* event)
{
    // The close box asks like Exit; reject() closes the dialog on Yes.
    event->ignore();
    if (isVisible())
        reject();
}

void CMainDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kDialogColour);
}

bool CMainDialog::event(QEvent* event)
{
    if (event->type() == MessageEvent::EventType()) {
        // While the station runs, the window's own connection has let go of
        // every device and takes no message.
        const Message& message = static_cast<MessageEvent*>(event)->message();
        if (m_pStation && m_pStation->Running())
            m_pStation->OnMessage(message);
        else
            m_workflow.OnMessage(message);
        return true;
    }
    return QDialog::event(event);
}
