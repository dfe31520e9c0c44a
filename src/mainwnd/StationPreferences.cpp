#include "mainwnd/StationPreferences.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString kAutomatic = QStringLiteral("station/automatic");
const QString kFolder = QStringLiteral("station/folder");
const QString kPdf = QStringLiteral("station/pdf");
const QString kWorksheet = QStringLiteral("station/worksheet");
const QString kCsv = QStringLiteral("station/csv");
const QString kStop = QStringLiteral("station/stopAfterDownload");

} // namespace

QString DefaultStationFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists())
        return QDir(documents).filePath(QStringLiteral("Halvern TH archive"));
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(data).filePath(QStringLiteral("halvern-th/archive"));
}

StationPreferences LoadStationPreferences(const QSettings& settings)
{
    StationPreferences p;
    p.automatic = settings.value(kAutomatic, false).toBool();
    p.station.folder = settings.value(kFolder).toString();
    if (p.station.folder.isEmpty())
        p.station.folder = DefaultStationFolder();
    p.station.reports.pdf = settings.value(kPdf, true).toBool();
    p.station.reports.xlsx = settings.value(kWorksheet, false).toBool();
    p.station.reports.csv = settings.value(kCsv, false).toBool();
    p.station.stopAfterDownload = settings.value(kStop, false).toBool();
    return p;
}

void SaveStationPreferences(QSettings& settings, const StationPreferences& preferences)
{
    settings.setValue(kAutomatic, preferences.automatic);
    settings.setValue(kFolder, preferences.station.folder);
    settings.setValue(kPdf, preferences.station.reports.pdf);
    settings.setValue(kWorksheet, preferences.station.reports.xlsx);
    settings.setValue(kCsv, preferences.station.reports.csv);
    settings.setValue(kStop, preferences.station.stopAfterDownload);
}
