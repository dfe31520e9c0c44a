#pragma once

#include <QString>
#include <QStringList>

// The reports written beside each mission's data file.
struct ReportChoice {
    bool pdf = false;
    bool xlsx = false;
    bool csv = false;
};

// What the receiving station does with every logger it sees.
struct StationSettings {
    QString folder; // the archive folder: FOLDER/<ID>/<ID>_<start>.tavo and its reports
    ReportChoice reports;
    // After a complete download, stop the logger's recording (when it takes a Stop).
    bool stopAfterDownload = false;
    bool watchUsb = true;
    // Every CH341 port, plugged in now or later; otherwise only ports.
    bool watchAllPorts = true;
    QStringList ports;
};
