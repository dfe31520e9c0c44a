#include "mainwnd/ConfigFields.h"

#include "base/TextTable.h"

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

QString StartQuestion(int undownloadedSamples, std::uint16_t language)
{
    const QString sure = GetText(kTextSureToStart, language);
    if (undownloadedSamples <= 0)
        return sure;
    return QStringLiteral("The logger holds %1 %2 that %3 not been downloaded. Starting a new mission erases them.\n\n%4")
        .arg(undownloadedSamples)
        .arg(undownloadedSamples == 1 ? QStringLiteral("sample") : QStringLiteral("samples"))
        .arg(undownloadedSamples == 1 ? QStringLiteral("has") : QStringLiteral("have"))
        .arg(sure);
}

QString ReversedLimitsText(const MissionEntry& entry, LimitQuantity pair, std::uint16_t language)
{
    const bool temp = pair == LimitQuantity::Temperature;
    const auto typed = [](const QString& text) { return QString::number(text.trimmed().toDouble(), 'f', 2); };
    return GetText(TextId::LimitsReversed, language)
        .arg(GetText(temp ? kTextTemperature : kTextHumidity, language), typed(temp ? entry.lowTemp : entry.lowHumi),
             typed(temp ? entry.highTemp : entry.highHumi));
}
