#include "views/GraphPage.h"

#include "base/TextTable.h"
#include "views/DialogScale.h"
#include "views/GraphPalette.h"
#include "record/LoggerRecord.h"
#include "record/Units.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>

namespace {

struct ControlSpec {
    int id;
    int x, y, w, h;
};

// The page template, in dialog units.
constexpr ControlSpec kControls[] = {
    {CGraphPage::IDC_SHOW_TEMP, 41, 10, 9, 10},
    {CGraphPage::IDC_TEMP_READOUT, 53, 8, 122, 12},
    {CGraphPage::IDC_TEMP_UNIT, 179, 10, 24, 8},
    {CGraphPage::IDC_SHOW_HUMI, 215, 10, 9, 10},
    {CGraphPage::IDC_HUMI_READOUT, 227, 8, 122, 12},
    {CGraphPage::IDC_HUMI_UNIT, 353, 10, 24, 8},
    {CGraphPage::IDC_FIRST_SAMPLE, 34, 185, 332, 11},
    {CGraphPage::IDC_ZOOM_IN, 85, 196, 20, 17},
    {CGraphPage::IDC_ZOOM_OUT, 119, 196, 20, 17},
    {CGraphPage::IDC_AUTOSCALE, 21, 193, 60, 22},
    {CGraphPage::IDC_SAVE_SELECTION, 203, 194, 48, 22}, // room for "Selection" beside its box
    {CGraphPage::IDC_SELECTION_START, 253, 194, 100, 15},
    {CGraphPage::IDC_SELECTION_END, 253, 207, 100, 15},
};

const QString kPickerFormat = QStringLiteral("yyyy-MM-dd HH:mm ");

QWidget* MakeControl(const ControlSpec& entry, QWidget* parent)
{
    using enum CGraphPage::ControlId;
    switch (entry.id) {
    case IDC_SHOW_TEMP: case IDC_SHOW_HUMI: case IDC_AUTOSCALE: case IDC_SAVE_SELECTION:
        return new QCheckBox(parent);
    case IDC_TEMP_READOUT: case IDC_HUMI_READOUT: {
        // Read-only, in the normal look: they show values, they are not off.
        auto* edit = new QLineEdit(parent);
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::ClickFocus);
        return edit;
    }
    case IDC_TEMP_UNIT: case IDC_HUMI_UNIT:
        return new QLabel(parent);
    case IDC_FIRST_SAMPLE: {
        auto* slider = new QSlider(Qt::Horizontal, parent);
        slider->setTickPosition(QSlider::NoTicks);
        slider->setRange(0, 0);
        return slider;
    }
    case IDC_ZOOM_IN: case IDC_ZOOM_OUT: {
        auto* button = new QPushButton(parent);
        button->setIcon(QIcon(entry.id == IDC_ZOOM_IN ? QStringLiteral(":/halvern/zoom_in.png")
                                                     : QStringLiteral(":/halvern/zoom_out.png")));
        button->setIconSize(QSize(20, 20));
        return button;
    }
    default: {
        auto* picker = new QDateTimeEdit(QDateTime::currentDateTime(), parent);
        picker->setDisplayFormat(kPickerFormat);
        picker->setEnabled(false);
        return picker;
    }
    }
}

constexpr int kSelectionDelayMs = 2000;

} // namespace

CGraphPage::CGraphPage(CLoggerRecord& record, CLoggerRecord& range, const DisplaySettings& display, QWidget* parent)
    : QWidget(parent), m_pRecord(&record), m_pRange(&range), m_display(display), m_scaleFont(GraphScaleFont())
{
    Q_INIT_RESOURCE(halvern);
    setFont(DialogFont());
    m_pageFont = font();
    CreateControls();
    m_geometry = GraphGeometry::AtScale(1.0f);
    m_points.Allocate(m_geometry.pointCapacity);
    m_frame = QImage(static_cast<int>(m_geometry.bitmapWidth), static_cast<int>(m_geometry.bitmapHeight),
                     QImage::Format_RGB32);
    m_selectionTimer.setSingleShot(true);
    m_selectionTimer.setInterval(kSelectionDelayMs);
    setFocusPolicy(Qt::ClickFocus);
    ConnectControls();
}

CGraphPage::~CGraphPage() = default;

void CGraphPage::CreateControls()
{
    m_controls.Build(kControls, BaseUnitsOf(font()), QStringLiteral("ctl_"),
                     [this](const ControlSpec& entry) { return MakeControl(entry, this); });
    // Below the plot: the trackbar spans its width, the rest moves down with it.
    m_controls.SetGrow(IDC_FIRST_SAMPLE, kMoveY | kGrowX);
    for (const int id : {IDC_ZOOM_IN, IDC_ZOOM_OUT, IDC_AUTOSCALE, IDC_SAVE_SELECTION, IDC_SELECTION_START,
                         IDC_SELECTION_END})
        m_controls.SetGrow(id, kMoveY);
    Control<QLabel>(IDC_TEMP_UNIT)->setText(UnitText(m_display.unit));
    Check(IDC_SHOW_TEMP)->setEnabled(false);
    Check(IDC_SHOW_HUMI)->setEnabled(false);
    Check(IDC_AUTOSCALE)->setText(GetText(ToInt(TextId::ScalingCoordinate), m_display.language));
    Check(IDC_SAVE_SELECTION)->setText(GetText(ToInt(TextId::SaveSelection), m_display.language));
    Check(IDC_SAVE_SELECTION)->setEnabled(false);
    Check(IDC_SAVE_SELECTION)->setChecked(false);
    m_bSelectionOn = 0;
    ColourUnitLabels();
}

QCheckBox* CGraphPage::Check(int id) const
{
    return Control<QCheckBox>(id);
}

QDateTimeEdit* CGraphPage::Picker(int id) const
{
    return Control<QDateTimeEdit>(id);
}

void CGraphPage::ConnectControls()
{
    connect(Check(IDC_SHOW_TEMP), &QCheckBox::clicked, this, [this](bool on) {
        m_state.showTemp = on ? 1 : 0;
        ColourUnitLabels();
        Show();
    });
    connect(Check(IDC_SHOW_HUMI), &QCheckBox::clicked, this, [this](bool on) {
        m_state.showHumi = on ? 1 : 0;
        Show();
    });
    connect(Check(IDC_AUTOSCALE), &QCheckBox::clicked, this, [this](bool on) {
        m_state.autoscale = on ? 1 : 0;
        Show();
    });
    connect(Control<QPushButton>(IDC_ZOOM_IN), &QPushButton::clicked, this, &CGraphPage::ZoomIn);
    connect(Control<QPushButton>(IDC_ZOOM_OUT), &QPushButton::clicked, this, &CGraphPage::ZoomOut);
    connect(Control<QSlider>(IDC_FIRST_SAMPLE), &QSlider::valueChanged, this,
            &CGraphPage::OnTrackbar);
    connect(Check(IDC_SAVE_SELECTION), &QCheckBox::clicked, this, &CGraphPage::OnSaveSelectionClicked);
    for (const int id : {IDC_SELECTION_START, IDC_SELECTION_END})
        connect(Picker(id), &QDateTimeEdit::dateTimeChanged, this, &CGraphPage::OnPickerChanged);
    connect(&m_selectionTimer, &QTimer::timeout, this, &CGraphPage::OnSelectionTimer);
}

void CGraphPage::ColourUnitLabels()
{
    for (const int id : {IDC_TEMP_UNIT, IDC_HUMI_UNIT}) {
        QPalette pal = palette();
        if (m_state.showTemp)
            pal.setColor(QPalette::WindowText, id == IDC_TEMP_UNIT ? GraphPalette::kTempText : GraphPalette::kHumiText);
        Control(id)->setPalette(pal);
    }
}

void CGraphPage::Refresh()
{
    const CLoggerRecord& r = *m_pRecord;
    m_state.showTemp = 1;
    Control<QLabel>(IDC_TEMP_UNIT)->setText(UnitText(m_display.unit));
    Check(IDC_SHOW_TEMP)->setEnabled(true);
    Check(IDC_SHOW_TEMP)->setChecked(true);
    m_state.showHumi = 0;
    Control<QLabel>(IDC_HUMI_UNIT)->clear();
    Check(IDC_SHOW_HUMI)->setEnabled(false);
    Check(IDC_SHOW_HUMI)->setChecked(false);
    if (r.HasHumidity()) {
        m_state.showHumi = 1;
        Control<QLabel>(IDC_HUMI_UNIT)->setText(kUnitRH);
        Check(IDC_SHOW_HUMI)->setEnabled(true);
        Check(IDC_SHOW_HUMI)->setChecked(true);
    }
    m_state.zoomDivisor = 1;
    m_state.cursorTempSample = 0;
    m_state.cursorHumiSample = 0;
    m_state.keySample = -1;
    auto* slider = Control<QSlider>(IDC_FIRST_SAMPLE);
    {
        const QSignalBlocker block(slider);
        slider->setMaximum(r.m_nReceived - 1 > 0 ? r.m_nReceived - 1 : 0);
    }
    SetFirstSample(0);
    if (!m_bSelectionOn)
        ShowRecordTimes();
    ColourUnitLabels();
    Redraw();
    update();
}

void CGraphPage::SamplesArrived()
{
    auto* slider = Control<QSlider>(IDC_FIRST_SAMPLE);
    const int received = m_pRecord->m_nReceived;
    const QSignalBlocker block(slider);
    slider->setMaximum(received - 1 > 0 ? received - 1 : 0);
    update();
}

void CGraphPage::Show()
{
    Redraw();
    UpdateReadouts();
    update();
}

void CGraphPage::SetFirstSample(int first)
{
    m_state.firstSample = first > 0 ? first : 0;
    auto* slider = Control<QSlider>(IDC_FIRST_SAMPLE);
    const QSignalBlocker block(slider);
    slider->setValue(m_state.firstSample);
}

void CGraphPage::Redraw()
{
    const CLoggerRecord& range = *m_pRange;
    const int last = range.ReceivedRows() - 1;
    m_state.selectionShown = m_bSelectionOn && last >= 0;
    m_state.selectionFrom = m_state.selectionShown ? SampleAt(range.m_tTime, 0) : 0;
    m_state.selectionTo = m_state.selectionShown ? SampleAt(range.m_tTime, last) : 0;
    DrawGraphFrame(m_frame, *m_pRecord, m_state, m_geometry, m_points, m_scaleFont, m_display.unit);
}

void CGraphPage::UpdateReadouts()
{
    const CLoggerRecord& r = *m_pRecord;
    const bool any = r.m_nReceived > 0;
    const QString temp = m_state.showTemp && any ? TempReadout(r, m_state.cursorTempSample, m_display.unit) : QString();
    const QString humi = m_state.showHumi && any ? HumiReadout(r, m_state.cursorHumiSample) : QString();
    auto* tempEdit = Control<QLineEdit>(IDC_TEMP_READOUT);
    auto* humiEdit = Control<QLineEdit>(IDC_HUMI_READOUT);
    if (tempEdit->text() != temp)
        tempEdit->setText(temp);
    if (humiEdit->text() != humi)
        humiEdit->setText(humi);
}

void CGraphPage::paintEvent(QPaintEvent*)
{
    Redraw();
    UpdateReadouts();
    QPainter painter(this);
    const int top = static_cast<int>(50.0f * m_geometry.scale);
    painter.drawImage(QPoint(0, top), m_frame);
    if (m_drag.selecting && m_drag.moved) {
        const int left = std::min(m_drag.start.x(), m_drag.x);
        const int right = std::max(m_drag.start.x(), m_drag.x);
        painter.fillRect(QRect(left, top, right - left + 1, m_frame.height()), QColor(82, 105, 118, 60));
    }
}

void CGraphPage::Rescale(float scale, int originX, int originY, QSize room)
{
    m_nOriginX = static_cast<int>(scale * static_cast<float>(originX));
    m_nOriginY = static_cast<int>(scale * static_cast<float>(originY));
    m_pageFont = ScaledFont(font(), scale);
    m_controls.Place(scale, m_pageFont, QPoint(originX, originY), room);
    const int icon = static_cast<int>(20.0f * scale);
    Control<QPushButton>(IDC_ZOOM_IN)->setIconSize(QSize(icon, icon));
    Control<QPushButton>(IDC_ZOOM_OUT)->setIconSize(QSize(icon, icon));
    m_geometry = GraphGeometry::AtScale(scale, room.width(), room.height());
    m_frame = QImage(static_cast<int>(m_geometry.bitmapWidth), static_cast<int>(m_geometry.bitmapHeight),
                     QImage::Format_RGB32);
    m_points.Allocate(m_geometry.pointCapacity);
    Redraw();
    update();
}

