#include "cli/ArchiveOutput.h"

#include "cli/JsonWriter.h"
#include "record/IsoTime.h"
#include "record/TimeText.h"

namespace {

const char* ResultWord(ImportResult::Outcome outcome)
{
    switch (outcome) {
    case ImportResult::Indexed:
        return "indexed";
    case ImportResult::Known:
        return "known";
    case ImportResult::Moved:
        return "moved";
    case ImportResult::Damaged:
        return "refused";
    case ImportResult::Failed:
        break;
    }
    return "failed";
}

QString Value(double v)
{
    return QString::number(v, 'f', 2);
}

QString Triple(double min, double max, double avg, const QString& unit)
{
    return QStringLiteral("min %1%4, max %2%4, avg %3%4").arg(Value(min), Value(max), Value(avg), unit);
}

QString Channel(int count, time64 seconds)
{
    return QStringLiteral("%1 (%2)").arg(count).arg(FormatDuration(seconds));
}

} // namespace

QString MissionJson(const MissionRow& row)
{
    CJsonWriter json;
    json.BeginObject();
    json.Key("id").String(row.loggerId).Key("type").Integer(row.type);
    json.Key("start").String(FormatIsoLocal(row.start)).Key("stop").String(FormatIsoLocal(row.stop));
    json.Key("interval_s").Integer(row.interval).Key("samples").Integer(row.samples);
    json.Key("temp").BeginObject().Key("min").Hundredths(row.tempMin).Key("max").Hundredths(row.tempMax);
    json.Key("avg").Hundredths(row.tempAvg).Key("mkt").Hundredths(row.tempMkt).EndObject();
    json.Key("humi");
    if (row.hasHumidity) {
        json.BeginObject().Key("min").Hundredths(row.humiMin).Key("max").Hundredths(row.humiMax);
        json.Key("avg").Hundredths(row.humiAvg).EndObject();
    } else {
        json.Null();
    }
    json.Key("excursions").Integer(row.Excursions());
    json.Key("file").String(row.file).Key("missing").Bool(row.missing);
    json.Key("sha256").String(row.sha256).Key("archived_at").String(FormatIsoLocal(row.archivedAt));
    json.Key("station").String(row.station).EndObject();
    return json.Text();
}

QString MissionLine(const MissionRow& row)
{
    QStringList fields = {row.loggerId, FormatDateTime(row.start), FormatDateTime(row.stop),
                          QString::number(row.samples), QString::number(row.Excursions()), row.file};
    if (row.missing)
        fields << QStringLiteral("missing");
    return fields.join(QLatin1Char('\t'));
}

QString MissionLines(const MissionRow& row)
{
    const QString celsius = QStringLiteral("\u00b0C");
    const QString rh = QStringLiteral("%RH");
    QStringList lines = {
        QStringLiteral("ID: ") + row.loggerId,
        QStringLiteral("Type: %1").arg(row.type),
        QStringLiteral("Start: ") + FormatDateTime(row.start),
        QStringLiteral("Stop: ") + FormatDateTime(row.stop),
        QStringLiteral("Interval: ") + FormatInterval(row.interval),
        QStringLiteral("Samples: %1").arg(row.samples),
        QStringLiteral("Temperature: ") + Triple(row.tempMin, row.tempMax, row.tempAvg, celsius)
            + QStringLiteral(", MKT %1%2").arg(Value(row.tempMkt), celsius),
        QStringLiteral("Temperature limits: ")
            + (row.tempLimits ? Value(row.tempLow) + QStringLiteral(" to ") + Value(row.tempHigh) + celsius
                              : QStringLiteral("none")),
        QStringLiteral("Temperature excursions: ") + Channel(row.tempExcursions, row.tempExcursionTime),
    };
    if (row.hasHumidity) {
        lines << QStringLiteral("Humidity: ") + Triple(row.humiMin, row.humiMax, row.humiAvg, rh)
              << QStringLiteral("Humidity limits: ")
                     + (row.humiLimits ? Value(row.humiLow) + QStringLiteral(" to ") + Value(row.humiHigh) + rh
                                       : QStringLiteral("none"))
              << QStringLiteral("Humidity excursions: ") + Channel(row.humiExcursions, row.humiExcursionTime);
    }
    lines << QStringLiteral("Description: ") + row.description
          << QStringLiteral("File: ") + row.file + (row.missing ? QStringLiteral(" (missing)") : QString())
          << QStringLiteral("Size: %1 bytes").arg(row.fileSize) << QStringLiteral("SHA-256: ") + row.sha256
          << QStringLiteral("Archived: %1 by %2").arg(FormatIsoLocal(row.archivedAt), row.station);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString ImportLine(const QString& path, const ImportResult& result)
{
    QString line = QString::fromLatin1(ResultWord(result.outcome)) + QLatin1Char('\t') + path;
    if (!result.reason.isEmpty())
        line += QLatin1String(": ") + result.reason;
    return line;
}

QString ImportJson(const QString& path, const ImportResult& result)
{
    CJsonWriter json;
    json.BeginObject().Key("file").String(path).Key("result").String(QString::fromLatin1(ResultWord(result.outcome)));
    json.Key("reason");
    if (result.reason.isEmpty())
        json.Null();
    else
        json.String(result.reason);
    return json.EndObject().Text();
}
