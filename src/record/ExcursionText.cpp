#include "record/ExcursionText.h"

#include "base/TextTable.h"
#include "record/TimeText.h"
#include "record/Units.h"

#include <QStringList>
#include <iterator>

namespace {

struct AlarmTextEntry {
    const char* english;
    const char* chinese;
};

// In the order of AlarmText.
constexpr AlarmTextEntry kAlarmTexts[] = {
    {"Alarms", "报警"},
    {"Channel", "通道"},
    {"Limit", "限值"},
    {"Start", "开始"},
    {"End", "结束"},
    {"Duration", "持续时间"},
    {"Peak", "峰值"},
    {"Excursions:", "超限次数:"},
    {"Time above:", "超上限时间:"},
    {"Time below:", "超下限时间:"},
    {"Longest:", "最长超限:"},
    {"No alarm limit is set.", "未设置报警限值."},
};

static_assert(std::size(kAlarmTexts) == static_cast<std::size_t>(AlarmText::NoAlarm) + 1);

} // namespace

QString GetAlarmText(AlarmText id, std::uint16_t language)
{
    const AlarmTextEntry& e = kAlarmTexts[static_cast<int>(id)];
    return QString::fromUtf8(language == LANG_CHINESE ? e.chinese : e.english);
}

QString ChannelText(AlarmChannel channel, std::uint16_t language)
{
    return GetText(channel == AlarmChannel::Temperature ? 32 : 33, language);
}

QString LimitText(AlarmLimit limit, std::uint16_t language)
{
    return GetText(limit == AlarmLimit::Upper ? 168 : 169, language).trimmed();
}

double AlarmValueInUnit(AlarmChannel channel, float value, TempUnit unit)
{
    return channel == AlarmChannel::Temperature ? InUnit(value, unit) : static_cast<double>(value);
}

QString AlarmValueText(AlarmChannel channel, float value, TempUnit unit)
{
    const QString& text = channel == AlarmChannel::Temperature ? UnitText(unit) : kUnitRH;
    return QString::asprintf("%.2f", AlarmValueInUnit(channel, value, unit)) + text;
}

QString TotalsText(const ChannelTotals& totals, const QString& separator, std::uint16_t language)
{
    return QStringList{GetAlarmText(AlarmText::Excursions, language) + ' ' + QString::number(totals.excursions),
                       GetAlarmText(AlarmText::TimeAbove, language) + ' ' + FormatDuration(totals.above),
                       GetAlarmText(AlarmText::TimeBelow, language) + ' ' + FormatDuration(totals.below),
                       GetAlarmText(AlarmText::Longest, language) + ' ' + FormatDuration(totals.longest)}
        .join(separator);
}
