#include "views/SummaryPage.h"

#include "base/PrintableText.h"
#include "base/TextTable.h"
#include "views/DialogScale.h"
#include "record/LoggerRecord.h"
#include "record/LoggerType.h"
#include "record/SummaryList.h"

#include <QGroupBox>
#include <QLabel>

namespace {

enum class Kind { Caption, CaptionRight, Value, ValueCentred, Group };

struct ControlSpec {
    int id;
    Kind kind;
    int x, y, w, h;
    int textId; // caption text; 0 for values and groups
};

// The page template, in dialog units.
constexpr ControlSpec kControls[] = {
    {1131, Kind::Group, 5, 97, 192, 77, 0},
    {1068, Kind::Group, 5, 177, 192, 58, 0},
    {1038, Kind::Caption, 4, 4, 71, 8, 5},
    {1039, Kind::Caption, 4, 20, 71, 8, 6},
    {1040, Kind::Caption, 4, 36, 71, 8, 7},
    {1041, Kind::Caption, 4, 52, 71, 8, 8},
    {1042, Kind::Caption, 4, 68, 71, 8, 9},
    {1112, Kind::CaptionRight, 4, 84, 71, 8, 20},
    {1058, Kind::Caption, 8, 110, 49, 8, 10},
    {1059, Kind::Caption, 8, 126, 49, 8, 11},
    {1060, Kind::Caption, 8, 143, 49, 8, 12},
    {1061, Kind::Caption, 119, 108, 70, 8, 13},
    {1062, Kind::Caption, 119, 132, 70, 8, 14},
    {1063, Kind::Caption, 8, 187, 49, 8, 15},
    {1064, Kind::Caption, 8, 204, 49, 8, 16},
    {1065, Kind::Caption, 12, 221, 45, 8, 17},
    {1139, Kind::CaptionRight, 37, 159, 91, 8, 157},
    {1066, Kind::Caption, 119, 186, 70, 8, 18},
    {1067, Kind::Caption, 119, 210, 70, 8, 19},
    {1043, Kind::Value, 78, 4, 106, 10, 0},
    {1069, Kind::Value, 78, 20, 106, 10, 0},
    {1070, Kind::Value, 78, 36, 106, 10, 0},
    {1071, Kind::Value, 78, 52, 106, 10, 0},
    {1047, Kind::Value, 78, 68, 106, 10, 0},
    {1113, Kind::Value, 78, 84, 106, 10, 0},
    {1072, Kind::ValueCentred, 59, 108, 49, 10, 0},
    {1049, Kind::ValueCentred, 59, 126, 49, 10, 0},
    {1073, Kind::ValueCentred, 59, 143, 49, 10, 0},
    {1082, Kind::ValueCentred, 135, 159, 49, 10, 0},
    {1074, Kind::ValueCentred, 135, 118, 49, 10, 0},
    {1075, Kind::ValueCentred, 135, 142, 49, 10, 0},
    {1076, Kind::ValueCentred, 59, 186, 49, 10, 0},
    {1077, Kind::ValueCentred, 59, 203, 49, 10, 0},
    {1078, Kind::ValueCentred, 59, 220, 49, 10, 0},
    {1079, Kind::ValueCentred, 135, 195, 49, 10, 0},
    {1080, Kind::ValueCentred, 135, 220, 49, 10, 0},
};

// Value statics: row of m_strValue and the blank that stands in while the
// row has no value.
struct ValueRow {
    int id, row, blank;
};
constexpr ValueRow kValueRows[] = {
    {CSummaryPage::IDC_ID_VALUE, ROW_ID, 30},
    {CSummaryPage::IDC_START_VALUE, ROW_START, 28},
    {CSummaryPage::IDC_STOP_VALUE, ROW_STOP, 30},
    {CSummaryPage::IDC_INTERVAL_VALUE, ROW_INTERVAL, 31},
    {CSummaryPage::IDC_COUNT_VALUE, ROW_COUNT, 26},
    {CSummaryPage::IDC_MAX_VALUE, ROW_MAX, 25},
    {CSummaryPage::IDC_MIN_VALUE, ROW_MIN, 23},
    {CSummaryPage::IDC_AVG_VALUE, ROW_AVG, 22},
    {CSummaryPage::IDC_MKT_VALUE, ROW_MKT, 22},
    {CSummaryPage::IDC_HIGH_LIMIT_VALUE, ROW_HIGH_LIMIT, 22},
    {CSummaryPage::IDC_LOW_LIMIT_VALUE, ROW_LOW_LIMIT, 26},
    {CSummaryPage::IDC_HUMI_MAX_VALUE, ROW_HUMI_MAX, 24},
    {CSummaryPage::IDC_HUMI_MIN_VALUE, ROW_HUMI_MIN, 21},
    {CSummaryPage::IDC_HUMI_AVG_VALUE, ROW_HUMI_AVG, 24},
    {CSummaryPage::IDC_HUMI_HIGH_LIMIT_VALUE, ROW_HUMI_HIGH_LIMIT, 23},
    {CSummaryPage::IDC_HUMI_LOW_LIMIT_VALUE, ROW_HUMI_LOW_LIMIT, 22},
    {CSummaryPage::IDC_DESCRIPTION_VALUE, ROW_DESCRIPTION, 38},
};

constexpr int kHumidityIds[] = {1063, 1064, 1065, 1066, 1067, 1076, 1077, 1078, 1079, 1080};

QColor ValueColour(int id)
{
    if (id == 1043 || id == 1069 || id == 1070 || id == 1071 || id == 1047 || id == 1113)
        return {0, 0, 200};
    if (id >= 1076 && id <= 1080)
        return {200, 130, 50};
    return {255, 60, 60};
}

QWidget* MakeControl(const ControlSpec& entry, QWidget* parent)
{
    if (entry.kind == Kind::Group)
        return new QGroupBox(parent);
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    switch (entry.kind) {
    case Kind::CaptionRight:
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case Kind::Value:
    case Kind::ValueCentred: {
        label->setAlignment((entry.kind == Kind::Value ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
        if (entry.id != 1113)
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, ValueColour(entry.id));
        label->setPalette(pal);
        break;
    }
    default:
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        break;
    }
    return label;
}

} // namespace

CSummaryPage::CSummaryPage(const DisplaySettings& display, QWidget* parent)
    : QWidget(parent), m_display(display)
{
    setFont(DialogFont());
    m_controls.Build(kControls, BaseUnitsOf(font()), QStringLiteral("ctl_"),
                     [this](const ControlSpec& entry) { return MakeControl(entry, this); });
}

QLabel* CSummaryPage::Static(int id) const
{
    return Control<QLabel>(id);
}

void CSummaryPage::SetCaptions()
{
    for (const ControlSpec& entry : kControls)
        if (entry.textId != 0)
            Static(entry.id)->setText(GetText(entry.textId, m_display.language));
}

void CSummaryPage::UpdateLayout()
{
    const bool humidity = m_pRecord && ShowSummaryRow(*m_pRecord, ROW_HUMI_MAX) != SummaryRowShow::Absent;
    for (const int id : kHumidityIds)
        Control(id)->setVisible(humidity);
    update();
}

void CSummaryPage::SetValue(int id, int row, int blankLength)
{
    const CLoggerRecord& r = *m_pRecord;
    Static(id)->setText(ShowSummaryRow(r, row) == SummaryRowShow::Value ? PrintableText(r.m_strValue[row])
                                                                         : QString(blankLength, QLatin1Char(' ')));
}

void CSummaryPage::UpdateValues()
{
    if (!m_pRecord || !IsKnownType(m_pRecord->m_nType))
        return;
    const CLoggerRecord& r = *m_pRecord;
    const bool describedType = LoggerTypeOf(r.m_nType).description;
    const int rows = describedType && !r.m_bDescRead ? 3 : static_cast<int>(std::size(kValueRows));
    for (int i = 0; i < rows; ++i)
        SetValue(kValueRows[i].id, kValueRows[i].row, kValueRows[i].blank);
    update();
}

void CSummaryPage::Rescale(float scale, int originX, int originY)
{
    m_fScale = scale;
    m_nOriginX = static_cast<int>(static_cast<float>(originX) * scale);
    m_nOriginY = static_cast<int>(static_cast<float>(originY) * scale);
    m_scaledFont = ScaledFont(font(), scale);
    m_controls.Place(scale, m_scaledFont, QPoint(originX, originY), QSize(0, 0));
}
