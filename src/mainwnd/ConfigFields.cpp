#include "mainwnd/ConfigFields.h"

#include "base/TextTable.h"
#include "record/LimitEntry.h"
#include "record/Units.h"

#include <QDateTime>

namespace {

constexpr int kTextSureToStart = 80;
constexpr int kTextTemperature = 70;
constexpr int kTextHumidity = 72;

} // namespace

QTime IntervalPickerTime(time64 intervalSeconds)
{
    const time64 i = intervalSeconds < 0 ? 0 : intervalSeconds;
    const int hours = static_cast<int>(i / 3600 - 24 * (i / 86400));
    const int minutes = static_cast<int>(i / 60 - 60 * (i / 3600));
    return QTime(hours, minutes, 0);
}

int IntervalMinutes(const QTime& picker)
{
    return picker.hour() * 60 + picker.minute();
}

QString LimitFieldText(float value, bool fahrenheit)
{
    const double shown = fahrenheit ? static_cast<double>(value) * 1.8 + 32.0 : static_cast<double>(value);
    QString text = QString::number(shown, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

int RunStateTextId(int runState)
{
    switch (runState) {
    case 1: return 77;
    case 2: return 78;
    default: return 76;
    }
}

bool MissionRunning(int runState)
{
    return runState == 1 || runState == 2;
}

QString StartQuestion(int undownloadedSamples, std::uint16_t language)
{
    const QString sure = GetText(kTextSureToStart, language);
    if (undownloadedSamples <= 0)
        return sure;
    const QString held = undownloadedSamples == 1
        ? GetText(TextId::UndownloadedSample, language)
        : GetText(TextId::UndownloadedSamples, language).arg(undownloadedSamples);
    return held + QStringLiteral("\n\n") + sure;
}

QString StoredLimitText(const QString& typed, bool fahrenheit, bool humidity, std::uint16_t language)
{
    const bool convert = fahrenheit && !humidity;
    const LimitEntry entry = ReadLimit(typed, convert, QString());
    if (!entry.ok) {
        bool isNumber = false;
        static_cast<void>(typed.trimmed().toDouble(&isNumber));
        return GetText(isNumber ? TextId::LimitBeyondRange : TextId::LimitNotNumber, language);
    }
    const double celsius = entry.hundredths / 100.0;
    const double shown = convert ? celsius * 1.8 + 32.0 : celsius;
    const QString unit = humidity ? kUnitRH : UnitText(fahrenheit ? TempUnit::Fahrenheit : TempUnit::Celsius);
    return GetText(TextId::LimitStored, language).arg(QString::number(shown, 'f', 2) + unit);
}

QString MissionStartedText(const QString& id, int intervalMinutes, time64 start, time64 now,
                           std::uint16_t language)
{
    const int hours = intervalMinutes / 60;
    const int minutes = intervalMinutes % 60;
    QString every;
    if (hours == 0)
        every = GetText(TextId::EveryMinutes, language).arg(minutes);
    else if (minutes == 0)
        every = GetText(TextId::EveryHours, language).arg(hours);
    else
        every = GetText(TextId::EveryHoursMinutes, language).arg(hours).arg(minutes);
    const QString from = QDateTime::fromSecsSinceEpoch(start > now ? start : now).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    return GetText(TextId::MissionStarted, language).arg(id.trimmed(), every, from);
}

QString ReversedLimitsText(const MissionEntry& entry, LimitQuantity pair, std::uint16_t language)
{
    const bool temp = pair == LimitQuantity::Temperature;
    const auto typed = [](const QString& text) { return QString::number(text.trimmed().toDouble(), 'f', 2); };
    return GetText(TextId::LimitsReversed, language)
        .arg(GetText(temp ? kTextTemperature : kTextHumidity, language), typed(temp ? entry.lowTemp : entry.lowHumi),
             typed(temp ? entry.highTemp : entry.highHumi));
}
