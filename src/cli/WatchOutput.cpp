#include "cli/WatchOutput.h"

#include "cli/JsonWriter.h"

#include "base/PrintableText.h"
#include "record/IsoTime.h"

namespace {

using Kind = StationEvent::Kind;

QString Where(const StationRow& row)
{
    return row.usb ? QStringLiteral("USB %1").arg(row.port) : QStringLiteral("serial %1").arg(row.port);
}

// "UTH50040004 (USB 0)", or only where while the logger is not identified.
QString Who(const StationRow& row)
{
    if (row.logger.isEmpty())
        return Where(row);
    return QStringLiteral("%1 (%2)").arg(PrintableText(row.logger), Where(row));
}

QString Plural(int n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

QString Detail(const StationEvent& e)
{
    const StationRow& row = e.row;
    const QString files = row.files.join(QStringLiteral(", "));
    switch (e.kind) {
    case Kind::Attached: return QStringLiteral("attached %1").arg(Where(row));
    case Kind::Identified: return QStringLiteral("identified %1, type %2").arg(Who(row)).arg(row.type);
    case Kind::Progress:
        return QStringLiteral("downloading %1: %2 of %3 samples").arg(Who(row)).arg(row.received).arg(row.total);
    case Kind::Archived: {
        QString line = QStringLiteral("archived %1: %2, %3: %4")
                           .arg(Who(row), Plural(row.samples, "sample", "samples"),
                                Plural(row.excursions, "excursion", "excursions"), files);
        if (!row.reason.isEmpty())
            line += QStringLiteral(" (%1)").arg(row.reason);
        return line;
    }
    case Kind::AlreadyArchived:
        return QStringLiteral("already archived %1: %2, %3").arg(Who(row), Plural(row.samples, "sample", "samples"), files);
    case Kind::Failed: {
        QString line = QStringLiteral("failed %1: %2").arg(Who(row), PrintableText(row.reason));
        if (!row.files.isEmpty())
            line += QStringLiteral(" (written: %1)").arg(files);
        return line;
    }
    case Kind::Detached: return QStringLiteral("detached %1").arg(Who(row));
    }
    return {};
}

void Files(CJsonWriter& json, const QStringList& files)
{
    json.Key("files").BeginArray();
    for (const QString& file : files)
        json.String(file);
    json.EndArray();
}

} // namespace

QString WatchTextLine(const StationEvent& event)
{
    return event.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + Detail(event) + QLatin1Char('\n');
}

QString WatchJsonLine(const StationEvent& event)
{
    const StationRow& row = event.row;
    CJsonWriter json;
    json.BeginObject();
    json.Key("event").String(EventName(event.kind));
    json.Key("time").String(FormatIsoLocal(event.time.toSecsSinceEpoch()));
    json.Key("link").String(row.usb ? QStringLiteral("usb") : QStringLiteral("serial"));
    json.Key("port").String(row.port);
    json.Key("logger");
    if (row.logger.isEmpty())
        json.Null();
    else
        json.String(row.logger);
    switch (event.kind) {
    case Kind::Identified: json.Key("type").Integer(row.type); break;
    case Kind::Progress: json.Key("received").Integer(row.received).Key("total").Integer(row.total); break;
    case Kind::Archived:
    case Kind::AlreadyArchived:
        json.Key("samples").Integer(row.samples).Key("excursions").Integer(row.excursions);
        Files(json, row.files);
        if (!row.reason.isEmpty())
            json.Key("warning").String(row.reason);
        break;
    case Kind::Failed:
        json.Key("reason").String(row.reason);
        Files(json, row.files);
        break;
    default: break;
    }
    json.EndObject();
    return json.Text() + QLatin1Char('\n');
}
