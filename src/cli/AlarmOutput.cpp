#include "cli/AlarmOutput.h"

#include "cli/JsonWriter.h"
#include "record/ExcursionText.h"
#include "record/IsoTime.h"
#include "record/TimeText.h"
#include "record/Units.h"

#include <QStringList>

namespace {

constexpr AlarmChannel kChannels[] = {AlarmChannel::Temperature, AlarmChannel::Humidity};

const char* ChannelKey(AlarmChannel channel)
{
    return channel == AlarmChannel::Temperature ? "temperature" : "humidity";
}

void WriteExcursion(CJsonWriter& json, const Excursion& e, TempUnit unit)
{
    json.BeginObject();
    json.Key("channel").String(QString::fromLatin1(ChannelKey(e.channel)));
    json.Key("limit").String(e.limit == AlarmLimit::Upper ? QStringLiteral("upper") : QStringLiteral("lower"));
    json.Key("limit_value").Hundredths(AlarmValueInUnit(e.channel, e.limitValue, unit));
    json.Key("first").String(FormatIsoLocal(e.firstTime));
    json.Key("last").String(FormatIsoLocal(e.lastTime));
    json.Key("samples").Integer(e.samples);
    json.Key("duration_s").Integer(e.duration);
    json.Key("peak").Hundredths(AlarmValueInUnit(e.channel, e.peak, unit));
    json.EndObject();
}

void WriteTotals(CJsonWriter& json, const ChannelTotals& t)
{
    json.BeginObject();
    json.Key("excursions").Integer(t.excursions);
    json.Key("above_s").Integer(t.above);
    json.Key("below_s").Integer(t.below);
    json.Key("longest_s").Integer(t.longest);
    json.EndObject();
}

} // namespace

QString AlarmLines(const AlarmReport& report, const DisplaySettings& display)
{
    QString text;
    for (const Excursion& e : report.excursions) {
        text += QStringList{ChannelText(e.channel, display.language), LimitText(e.limit, display.language),
                            AlarmValueText(e.channel, e.limitValue, display.unit), FormatDateTime(e.firstTime),
                            FormatDateTime(e.lastTime), FormatDuration(e.duration),
                            AlarmValueText(e.channel, e.peak, display.unit)}
                    .join(QLatin1Char('\t'))
            + QLatin1Char('\n');
    }
    for (const AlarmChannel channel : kChannels) {
        const ChannelTotals& t = report.Totals(channel);
        if (t.inForce)
            text += ChannelText(channel, display.language) + QLatin1Char('\t')
                + TotalsText(t, QStringLiteral("\t"), display.language) + QLatin1Char('\n');
    }
    return text;
}

QString AlarmJson(const AlarmReport& report, TempUnit unit)
{
    CJsonWriter json;
    json.BeginObject();
    json.Key("unit").String(UnitText(unit));
    json.Key("excursions").BeginArray();
    for (const Excursion& e : report.excursions)
        WriteExcursion(json, e, unit);
    json.EndArray();
    json.Key("totals").BeginObject();
    for (const AlarmChannel channel : kChannels)
        if (report.Totals(channel).inForce)
            WriteTotals(json.Key(ChannelKey(channel)), report.Totals(channel));
    json.EndObject();
    json.EndObject();
    return json.Text() + QLatin1Char('\n');
}
