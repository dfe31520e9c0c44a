// The configuration dialog: its controls at their template places, the
// set-up from the linked logger, the timer, the status message, keys and
// scaling. Start and Stop are in ConfigCommand.cpp.
#include "mainwnd/ConfigDlg.h"

#include "base/TextTable.h"
#include "mainwnd/BatteryStrip.h"
#include "mainwnd/ConfigFields.h"
#include "record/LoggerRecord.h"
#include "record/LoggerType.h"
#include "record/Units.h"
#include "views/DialogScale.h"
#include "workflow/LoggerWorkflow.h"
#include "workflow/MissionEntry.h"

#include <QDateTimeEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimeEdit>
#include <ctime>

namespace {

enum class Kind { Label, RightLabel, CentredLabel, Display, Edit, LimitEdit, Button, Group, DateTime, Time, Gauge, Warning,
                  Note, Stored };

struct ControlSpec {
    int id;
    Kind kind;
    const char* templateText;
    int x, y, w, h;
};

using D = CConfigDlg;
// The template: 401 x 222 dialog units.
constexpr int kWidthDu = 401;
constexpr int kHeightDu = 222;
constexpr ControlSpec kControls[] = {
    {D::IDC_ID_CAPTION, Kind::RightLabel, "ID:", 7, 19, 27, 8},
    {D::IDC_ID, Kind::Display, "", 38, 18, 64, 12},
    {D::IDC_STATE_CAPTION, Kind::RightLabel, "STATUS:", 112, 19, 36, 8},
    {D::IDC_STATE, Kind::Display, "", 152, 18, 164, 12},
    {D::IDC_EXIT, Kind::Button, "EXIT", 344, 7, 50, 18},
    {D::IDC_START_GROUP, Kind::Group, "Start Time:", 26, 44, 138, 36},
    {D::IDC_START_TIME, Kind::DateTime, "", 46, 60, 100, 13},
    {D::IDC_INTERVAL_GROUP, Kind::Group, "Sample Interval:", 187, 44, 103, 36},
    {D::IDC_INTERVAL, Kind::Time, "", 213, 60, 52, 13},
    {D::IDC_DESCRIPTION_GROUP, Kind::Group, "Description:", 26, 91, 264, 36},
    {D::IDC_DESCRIPTION, Kind::Edit, "", 35, 105, 246, 12},
    {D::IDC_TEMP_GROUP, Kind::Group, "Temp alarm:", 26, 136, 264, 36},
    {D::IDC_TEMP_LOW, Kind::LimitEdit, "", 57, 150, 53, 12},
    {D::IDC_TEMP_CAPTION, Kind::CentredLabel, "", 117, 152, 68, 8},
    {D::IDC_TEMP_HIGH, Kind::LimitEdit, "", 194, 150, 53, 12},
    {D::IDC_HUMI_GROUP, Kind::Group, "Humi alarm:", 26, 179, 264, 36},
    {D::IDC_HUMI_LOW, Kind::LimitEdit, "", 57, 194, 53, 12},
    {D::IDC_HUMI_CAPTION, Kind::CentredLabel, "", 117, 196, 68, 8},
    {D::IDC_HUMI_HIGH, Kind::LimitEdit, "", 194, 194, 53, 12},
    {D::IDC_START, Kind::Button, "Start", 335, 81, 50, 16},
    {D::IDC_STOP, Kind::Button, "Stop", 335, 136, 50, 16},
    {D::IDC_GAUGE, Kind::Gauge, "", 296, 48, 18, 167},
    {D::IDC_WARNING, Kind::Warning, "", 319, 194, 75, 21},
    {D::IDC_NOTE, Kind::Note, "", 26, 179, 264, 36},
    // Under each limit field, centred on it.
    {D::IDC_TEMP_LOW_STORED, Kind::Stored, "", 30, 162, 107, 8},
    {D::IDC_TEMP_HIGH_STORED, Kind::Stored, "", 167, 162, 107, 8},
    {D::IDC_HUMI_LOW_STORED, Kind::Stored, "", 30, 206, 107, 8},
    {D::IDC_HUMI_HIGH_STORED, Kind::Stored, "", 167, 206, 107, 8},
};

// Each limit field and the line under it that says what it will store.
struct StoredPreview {
    int edit;
    int stored;
    bool humidity;
};
constexpr StoredPreview kStoredPreviews[] = {
    {D::IDC_TEMP_LOW, D::IDC_TEMP_LOW_STORED, false},
    {D::IDC_TEMP_HIGH, D::IDC_TEMP_HIGH_STORED, false},
    {D::IDC_HUMI_LOW, D::IDC_HUMI_LOW_STORED, true},
    {D::IDC_HUMI_HIGH, D::IDC_HUMI_HIGH_STORED, true},
};

constexpr int kTimerMs = 1000;
constexpr int kMaxLimitChars = 7;
constexpr int kLowBattery = 2;
const QColor kWarningColour(255, 50, 25);
const QString kBlankWarning(63, QLatin1Char(' '));

QWidget* MakeControl(const ControlSpec& row, QWidget* parent)
{
    const QString text = QString::fromLatin1(row.templateText);
    switch (row.kind) {
    case Kind::Label: return new QLabel(text, parent);
    case Kind::RightLabel: {
        auto* label = new QLabel(text, parent);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return label;
    }
    case Kind::CentredLabel: {
        auto* label = new QLabel(text, parent);
        label->setAlignment(Qt::AlignCenter);
        return label;
    }
    case Kind::Display: {
        // Read-only, in the normal look: they show values, they are not off.
        auto* edit = new QLineEdit(parent);
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::ClickFocus);
        return edit;
    }
    case Kind::Edit: return new QLineEdit(parent);
    case Kind::LimitEdit: {
        auto* edit = new QLineEdit(parent);
        edit->setAlignment(Qt::AlignCenter);
        edit->setMaxLength(kMaxLimitChars);
        return edit;
    }
    case Kind::Button: {
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        return button;
    }
    case Kind::Group: return new QGroupBox(text, parent);
    case Kind::DateTime: {
        auto* picker = new QDateTimeEdit(parent);
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss "));
        return picker;
    }
    case Kind::Time: {
        auto* picker = new QTimeEdit(parent);
        picker->setDisplayFormat(QStringLiteral("HH:mm"));
        return picker;
    }
    case Kind::Gauge: return new CConfigGauge(parent);
    case Kind::Note: {
        auto* label = new QLabel(parent);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->hide();
        return label;
    }
    case Kind::Stored: {
        auto* label = new QLabel(parent);
        label->setAlignment(Qt::AlignCenter);
        label->hide();
        return label;
    }
    case Kind::Warning: {
        auto* label = new QLabel(parent);
        label->setWordWrap(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, kWarningColour);
        label->setPalette(palette);
        return label;
    }
    }
    return new QLabel(parent);
}

// The battery level the gauge shows (the record may hold higher bits).
int GaugeLevel(const CLoggerRecord& r)
{
    return r.m_nBattery % 8;
}

bool GaugeActive(const CLoggerRecord& r)
{
    return LoggerTypeOf(r.m_nType).reportsBattery || r.m_strValue[ROW_ID].startsWith(QLatin1Char('i'));
}

QString AlarmCaption(int textId, const QString& unit, std::uint16_t language)
{
    return QStringLiteral("<  ") + GetText(textId, language) + QLatin1Char(' ') + unit + QStringLiteral("  <");
}

} // namespace

CConfigGauge::CConfigGauge(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
}

void CConfigGauge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Bars from the level alone, whatever the ID (an empty one).
    const bool active = m_pRecord && GaugeActive(*m_pRecord);
    PaintBatteryStrip(painter, width(), height(), active, m_pRecord ? GaugeLevel(*m_pRecord) : 0, QString());
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

CConfigDlg::CConfigDlg(LoggerWorkflow& workflow, const DisplaySettings& display, float scale, QWidget* parent)
    : QDialog(parent), m_workflow(workflow), m_display(display), m_fScale(scale)
{
    setWindowTitle(GetText(TextId::ConfigTitle, m_display.language));
    setFont(DialogFont());
    CreateControls();
    Control<CConfigGauge>(IDC_GAUGE)->SetRecord(&m_workflow.Record());
    SetUp();
    m_nClockSubscription = m_workflow.SubscribeLoggerClock([this] { OnLoggerClock(); });
    connect(&m_timer, &QTimer::timeout, this, [this] { OnTimerTick(); });
    m_timer.start(kTimerMs);
}

CConfigDlg::~CConfigDlg()
{
    m_workflow.UnsubscribeLoggerClock(m_nClockSubscription);
}

void CConfigDlg::CreateControls()
{
    const DialogBaseUnits units = BaseUnitsOf(font());
    m_controls.Build(kControls, units, QStringLiteral("cfg_"),
                     [this](const ControlSpec& row) { return MakeControl(row, this); });
    // Group boxes lie behind the controls they frame.
    for (const ControlSpec& row : kControls)
        if (row.kind == Kind::Group)
            Control(row.id)->lower();
    setFixedSize(DluToPixels(0, 0, kWidthDu, kHeightDu, units).size());
    connect(Control<QPushButton>(IDC_EXIT), &QPushButton::clicked, this, [this] { reject(); });
    connect(Control<QPushButton>(IDC_START), &QPushButton::clicked, this, [this] { OnStart(); });
    connect(Control<QPushButton>(IDC_STOP), &QPushButton::clicked, this, [this] { OnStop(); });
}

QString CConfigDlg::Text(int id) const
{
    QWidget* w = Control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return group->title();
    if (auto* picker = qobject_cast<QDateTimeEdit*>(w))
        return picker->text();
    return {};
}

void CConfigDlg::SetText(int id, const QString& text)
{
    QWidget* w = Control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(w))
        group->setTitle(text);
}

bool CConfigDlg::IsEnabled(int id) const
{
    return Control(id) && Control(id)->isEnabled();
}

void CConfigDlg::Enable(int id, bool on)
{
    Control(id)->setEnabled(on);
}

void CConfigDlg::SetUp()
{
    CLoggerRecord& r = m_workflow.Record();
    SetText(IDC_STATE_CAPTION, GetText(66, m_display.language));
    SetText(IDC_START_GROUP, GetText(67, m_display.language));
    SetText(IDC_INTERVAL_GROUP, GetText(68, m_display.language));
    SetText(IDC_WARNING, kBlankWarning);
    SetUpAlarmRows();
    SetUpDescription();
    SetText(IDC_START, GetText(73, m_display.language));
    SetText(IDC_STOP, GetText(74, m_display.language));
    SetText(IDC_EXIT, GetText(75, m_display.language));
    SetText(IDC_ID, r.m_strValue[ROW_ID]);
    auto* start = Control<QDateTimeEdit>(IDC_START_TIME);
    start->setDateTime(QDateTime::currentDateTime());
    Control<QTimeEdit>(IDC_INTERVAL)->setTime(IntervalPickerTime(r.m_tsInterval));
    ShowRunState(r.m_nRunState);
    if (m_fScale > 1.0f)
        Rescale();
    Enable(IDC_START, false);
    if (LoggerTypeOf(r.m_nType).clockWithInterval) {
        // Its settings go out as a clock set with the interval: nothing else.
        for (int id : {IDC_TEMP_LOW, IDC_TEMP_HIGH, IDC_HUMI_LOW, IDC_HUMI_HIGH, IDC_START_TIME})
            Enable(id, false);
        SetText(IDC_NOTE, GetText(TextId::IntervalOnly, m_display.language));
        Control(IDC_NOTE)->show();
    }
    SetUpStoredPreviews();
}

void CConfigDlg::SetUpStoredPreviews()
{
    for (const StoredPreview& p : kStoredPreviews) {
        auto* edit = Control<QLineEdit>(p.edit);
        const bool shown = !edit->isHidden() && edit->isEnabled();
        Control(p.stored)->setVisible(shown);
        if (!shown)
            continue;
        connect(edit, &QLineEdit::textChanged, this, [this, id = p.edit] { ShowStored(id); });
        ShowStored(p.edit);
    }
}

void CConfigDlg::ShowStored(int limitId)
{
    for (const StoredPreview& p : kStoredPreviews)
        if (p.edit == limitId)
            SetText(p.stored, StoredLimitText(Text(p.edit), m_display.unit == TempUnit::Fahrenheit, p.humidity,
                                              m_display.language));
}

void CConfigDlg::SetUpAlarmRows()
{
    const CLoggerRecord& r = m_workflow.Record();
    const LoggerType& type = LoggerTypeOf(r.m_nType);
    if (!type.alarmLimits) {
        Control(IDC_TEMP_GROUP)->hide();
        SetText(IDC_TEMP_CAPTION, QString());
        for (int id : {IDC_TEMP_LOW, IDC_TEMP_HIGH, IDC_HUMI_LOW, IDC_HUMI_HIGH})
            Control(id)->hide();
        return;
    }
    const bool fahrenheit = m_display.unit == TempUnit::Fahrenheit;
    SetText(IDC_TEMP_GROUP, GetText(69, m_display.language));
    SetText(IDC_TEMP_CAPTION, AlarmCaption(70, UnitText(m_display.unit), m_display.language));
    // The logger's current limits, as identification read them.
    SetText(IDC_TEMP_LOW, LimitFieldText(r.m_fLowLimit, fahrenheit));
    SetText(IDC_TEMP_HIGH, LimitFieldText(r.m_fHighLimit, fahrenheit));
    if (type.humidity) {
        SetText(IDC_HUMI_GROUP, GetText(71, m_display.language));
        SetText(IDC_HUMI_CAPTION, AlarmCaption(72, kUnitRH, m_display.language));
        SetText(IDC_HUMI_LOW, LimitFieldText(r.m_fHumiLowLimit, false));
        SetText(IDC_HUMI_HIGH, LimitFieldText(r.m_fHumiHighLimit, false));
    } else {
        Control(IDC_HUMI_GROUP)->hide();
        SetText(IDC_HUMI_CAPTION, QString());
        Control(IDC_HUMI_HIGH)->hide();
        Control(IDC_HUMI_LOW)->hide();
    }
}

void CConfigDlg::SetUpDescription()
{
    CLoggerRecord& r = m_workflow.Record();
    SetText(IDC_DESCRIPTION_GROUP, GetText(79, m_display.language));
    auto* edit = Control<QLineEdit>(IDC_DESCRIPTION);
    edit->setMaxLength(kMaxDescriptionChars);
    // Leading blanks (a description never read is two of them) go.
    QString& description = r.m_strValue[ROW_DESCRIPTION];
    while (!description.isEmpty() && description.front().isSpace())
        description.remove(0, 1);
    edit->setText(description);
    const bool kept = LoggerTypeOf(r.m_nType).description;
    edit->setEnabled(kept && r.m_bDescRead);
    // An empty field that is off says why.
    if (!edit->isEnabled())
        edit->setPlaceholderText(GetText(kept ? TextId::DescriptionNotRead : TextId::NoDescriptionKept, m_display.language));
}

void CConfigDlg::ShowRunState(int runState)
{
    SetText(IDC_STATE, GetText(RunStateTextId(runState), m_display.language));
    // Only a logger that records (or waits to) has anything to stop.
    Enable(IDC_STOP, MissionRunning(runState));
}

void CConfigDlg::Rescale()
{
    const QFont scaled = ScaledFont(font(), m_fScale);
    m_controls.Rescale(m_fScale, scaled);
    const QSize size(static_cast<int>(static_cast<float>(width()) * m_fScale),
                     static_cast<int>(static_cast<float>(height()) * m_fScale));
    setFont(scaled);
    setFixedSize(size);
    if (const QScreen* screen = this->screen())
        move(CentredOrigin(screen->availableGeometry().size(), size));
}

void CConfigDlg::OnTimerTick()
{
    if (!m_workflow.LoggerPresent()) {
        m_timer.stop();
        reject();
        return;
    }
    ReportStarted(); // a serial Start is answered later
    // The USB status poll reports no clock message: take its status here.
    if (m_workflow.UsbLinked())
        OnLoggerClock();
}

void CConfigDlg::OnLoggerClock()
{
    if (!m_workflow.LoggerPresent())
        return;
    ReportStarted();
    const CLoggerRecord& r = m_workflow.Record();
    Control(IDC_GAUGE)->update();
    SetText(IDC_WARNING, kBlankWarning);
    if (GaugeLevel(r) > kLowBattery) {
        Enable(IDC_START, r.m_nRunState == 0 && r.m_bStatusValid);
    } else {
        if (r.m_bStatusValid)
            SetText(IDC_WARNING, GetText(143, m_display.language));
        Enable(IDC_START, false);
    }
    ShowRunState(r.m_nRunState);
}

void CConfigDlg::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        for (int id : {IDC_EXIT, IDC_START, IDC_STOP})
            if (focusWidget() == Control(id))
                Control<QPushButton>(id)->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool CConfigDlg::Ask(const QString& question)
{
    if (m_pfnAsk)
        return m_pfnAsk(question);
    return QMessageBox::question(this, QString(), question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void CConfigDlg::Message(const QString& text)
{
    if (m_pfnMessage)
        m_pfnMessage(text);
    else
        QMessageBox::warning(this, QString(), text);
}
