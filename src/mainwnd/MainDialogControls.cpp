// The main window's controls: the template (positions in dialog units),
// their creation, start texts and colours.
#include "mainwnd/MainDialog.h"

#include "base/TextTable.h"
#include "mainwnd/BatteryStrip.h"
#include "mainwnd/MainLayout.h"
#include "mainwnd/ProgressField.h"
#include "views/DialogScale.h"
#include "mainwnd/Statics.h"
#include "mainwnd/StationRowModel.h"
#include "mainwnd/StationView.h"
#include "views/SummaryPage.h"
#include "mainwnd/TabHost.h"
#include "record/LoggerRecord.h"
#include "record/Units.h"
#include "record/ExcursionText.h"
#include "views/AlarmFormView.h"
#include "views/DataListPage.h"
#include "views/GraphPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

namespace {

enum class Kind { Banner, Button, Check, Group, Radio, ClockStatic, Tabs, Battery, GraphFrame, Status, Progress };

struct ControlSpec {
    int id;
    Kind kind;
    const char* templateText;
    int x, y, w, h;
};

constexpr ControlSpec kControls[] = {
    {CMainDialog::IDC_BANNER, Kind::Banner, "", 0, 0, 606, 55},
    {CMainDialog::IDC_DOWNLOAD, Kind::Button, "Button1", 25, 63, 50, 14},
    {CMainDialog::IDC_SAVE, Kind::Button, "Button2", 91, 63, 50, 14},
    {CMainDialog::IDC_OPEN, Kind::Button, "Button3", 157, 63, 50, 14},
    {CMainDialog::IDC_PRINT, Kind::Button, "Button4", 223, 63, 50, 14},
    {CMainDialog::IDC_ARCHIVE, Kind::Button, "Archive", 280, 63, 38, 14},
    {CMainDialog::IDC_CALIBRATE, Kind::Button, "Calibration Time", 324, 63, 72, 14},
    {CMainDialog::IDC_START_SETTING, Kind::Button, "Button5", 432, 63, 59, 18},
    {CMainDialog::IDCANCEL, Kind::Button, "Button6", 525, 63, 59, 18},
    // Automatic mode and its settings, in the band between the buttons and the pages.
    {CMainDialog::IDC_AUTOMATIC, Kind::Check, "Automatic", 25, 80, 50, 10},
    {CMainDialog::IDC_STATION_SETTINGS, Kind::Button, "Station...", 91, 79, 50, 11},
    {CMainDialog::IDC_UNIT_GROUP, Kind::Group, "", 227, 91, 81, 21},
    {CMainDialog::IDC_UNIT_C, Kind::Radio, " C", 235, 99, 23, 10},
    {CMainDialog::IDC_UNIT_F, Kind::Radio, " F", 273, 99, 22, 10},
    {CMainDialog::IDC_LOGGER_CLOCK, Kind::ClockStatic, "**", 324, 97, 72, 11},
    // Wide enough for "Instrument has been unactivated" at every scale.
    {CMainDialog::IDC_RUN_STATE, Kind::ClockStatic, "**", 419, 97, 150, 11},
    {CMainDialog::IDC_TABS, Kind::Tabs, "", 1, 91, 207, 255},
    {CMainDialog::IDC_BATTERY, Kind::Battery, "", 209, 118, 15, 228},
    {CMainDialog::IDC_GRAPH_FRAME, Kind::GraphFrame, "", 225, 118, 380, 228},
    {CMainDialog::IDC_STATUS, Kind::Status, " Ready...", 0, 353, 381, 16},
    {CMainDialog::IDC_PROGRESS, Kind::Progress, "", 378, 353, 228, 16},
};

// Button captions set at start: control id and text (English, Chinese).
struct ButtonText {
    int id;
    const char* english;
    const char* chinese;
};
constexpr ButtonText kButtonTexts[] = {
    {CMainDialog::IDC_DOWNLOAD, "Download", "读取数据"},
    {CMainDialog::IDC_SAVE, "Save", "保存数据"},
    {CMainDialog::IDC_OPEN, "Open", "打开文件"},
    {CMainDialog::IDC_PRINT, "Print", "打印数据"},
    {CMainDialog::IDC_START_SETTING, "Start Setting", "启动设置"},
    {CMainDialog::IDCANCEL, "Exit", "退出"},
    {CMainDialog::IDC_CALIBRATE, "Calibration Time", "校准时间"},
};

const QColor kClockText(255, 205, 15);
const QColor kRunStateText(200, 70, 80);
const QColor kDialogColour(82, 105, 118);

// Controls that keep the system look on the dark dialog background.
void UseSystemColours(QWidget* w, bool fill)
{
    w->setPalette(QApplication::palette());
    w->setAutoFillBackground(fill);
}

QWidget* MakeControl(const ControlSpec& entry, QWidget* parent)
{
    const QString text = QString::fromUtf8(entry.templateText);
    switch (entry.kind) {
    case Kind::Banner:
        return new CBannerStatic(parent);
    case Kind::Button:
        { auto* button = new QPushButton(text, parent); button->setAutoDefault(false); return button; }
    case Kind::Check: {
        auto* check = new QCheckBox(text, parent);
        UseSystemColours(check, true);
        return check;
    }
    case Kind::Group: {
        auto* group = new QGroupBox(parent);
        QPalette pal = group->palette();
        pal.setColor(QPalette::Window, kDialogColour);
        group->setPalette(pal);
        return group;
    }
    case Kind::Radio: {
        auto* radio = new QRadioButton(text, parent);
        UseSystemColours(radio, true);
        return radio;
    }
    case Kind::ClockStatic: {
        auto* label = new CColourStatic(entry.id == CMainDialog::IDC_LOGGER_CLOCK ? kClockText : kRunStateText,
                                        kDialogColour, parent);
        UseSystemColours(label, true);
        label->SetText(text);
        return label;
    }
    case Kind::Tabs: {
        auto* tabs = new CTabHost(parent);
        UseSystemColours(tabs, true);
        return tabs;
    }
    case Kind::Battery:
        return new CBatteryStrip(parent);
    case Kind::GraphFrame: {
        auto* frame = new QFrame(parent);
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        UseSystemColours(frame, true);
        QPalette pal = frame->palette();
        pal.setColor(QPalette::WindowText, Qt::black);
        frame->setPalette(pal);
        return frame;
    }
    case Kind::Status: {
        auto* label = new QLabel(text, parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        UseSystemColours(label, true);
        return label;
    }
    case Kind::Progress: {
        auto* bar = new CProgressField(parent);
        UseSystemColours(bar, false);
        return bar;
    }
    }
    return nullptr;
}

} // namespace

void CMainDialog::CreateControls()
{
    const DialogBaseUnits units = BaseUnitsOf(font());
    resize(MainTemplateSize(units));
    m_controls.Build(kControls, units, QStringLiteral("ctl_"),
                     [this](const ControlSpec& entry) { return MakeControl(entry, this); });
    m_pBanner = Control<CBannerStatic>(IDC_BANNER);
    m_pTabs = Control<CTabHost>(IDC_TABS);
    m_pBattery = Control<CBatteryStrip>(IDC_BATTERY);
    m_pClock = Control<CColourStatic>(IDC_LOGGER_CLOCK);
    m_pRunState = Control<CColourStatic>(IDC_RUN_STATE);
    m_pStatus = Control<QLabel>(IDC_STATUS);
    m_pProgress = Control<QProgressBar>(IDC_PROGRESS);
    // The status line and the progress bar overlap by 3 units; the bar wins.
    m_pProgress->raise();
}

void CMainDialog::CreatePages()
{
    AddTab(TabPage::Summary, GetText(TextId::SummaryTab, m_display.language));
    AddTab(TabPage::Data, GetText(TextId::DataTab, m_display.language));
    AddTab(TabPage::Alarms, GetAlarmText(AlarmText::Tab, m_display.language));
    // Five tabs share the page's width once a range is selected: narrower
    // side padding than the style's keeps every tab text whole.
    m_pTabs->Bar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 6px 6px; }"));
    const QSize page(m_pTabs->width(), m_pTabs->PageHeight());
    m_tabPageSize = page;
    m_pSummary = new CSummaryPage(m_display, m_pTabs);
    m_pDataList = new CDataListPage(m_display, m_pTabs);
    m_pAreaSummary = new CSummaryPage(m_display, m_pTabs);
    m_pAreaDataList = new CDataListPage(m_display, m_pTabs);
    m_pAlarms = new CAlarmFormView(m_display, m_pTabs);
    m_pStationRows = new CStationRowModel(m_display.language);
    m_pStationView = new CStationView(*m_pStationRows, m_pTabs);
    m_pStationRows->setParent(m_pStationView);
    for (QWidget* w : {static_cast<QWidget*>(m_pSummary), static_cast<QWidget*>(m_pDataList),
                       static_cast<QWidget*>(m_pAreaSummary), static_cast<QWidget*>(m_pAreaDataList),
                       static_cast<QWidget*>(m_pAlarms), static_cast<QWidget*>(m_pStationView)}) {
        w->setGeometry(QRect(QPoint(0, 0), page));
        w->hide();
    }
    m_pSummary->show();
}

void CMainDialog::SetStartTexts()
{
    Control<QRadioButton>(IDC_UNIT_F)->setText(kUnitF);
    Control<QRadioButton>(IDC_UNIT_C)->setText(kUnitC);
    // The radio of the unit in force shows it from the start.
    Control<QRadioButton>(m_display.unit == TempUnit::Celsius ? IDC_UNIT_C : IDC_UNIT_F)->setChecked(true);
    EnableButton(IDC_CALIBRATE, false);
    EnableButton(IDC_START_SETTING, false);
    Control(IDC_LOGGER_CLOCK)->hide();
    Control(IDC_RUN_STATE)->hide();
    m_pProgress->setRange(0, 200);
    m_pProgress->setValue(0);
    const bool chinese = m_display.language == LANG_CHINESE;
    for (const ButtonText& b : kButtonTexts)
        Control<QPushButton>(b.id)->setText(QString::fromUtf8(chinese ? b.chinese : b.english));
    setWindowTitle(GetText(TextId::BannerTitle, m_display.language));
    m_pBattery->SetLanguage(m_display.language);
    m_pBanner->SetTexts(GetText(TextId::BannerTitle, m_display.language),
                        GetText(TextId::BannerSubtitle, m_display.language));
    Control<QCheckBox>(IDC_AUTOMATIC)->setText(GetText(TextId::Automatic, m_display.language));
    Control<QPushButton>(IDC_STATION_SETTINGS)->setText(GetText(TextId::StationButton, m_display.language));
    Control<QPushButton>(IDC_ARCHIVE)->setText(GetText(TextId::ArchiveButton, m_display.language));
}

std::vector<TemplateRect> MainTemplateRects()
{
    std::vector<TemplateRect> rects;
    for (const ControlSpec& c : kControls)
        rects.push_back({c.id, QRect(c.x, c.y, c.w, c.h)});
    return rects;
}
