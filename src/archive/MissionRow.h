#pragma once

#include "record/LoggerRecord.h"

#include <QString>

// One mission as the archive indexes it. Temperatures in degrees C,
// humidity in %RH, times in seconds since 1970.
struct MissionRow {
    qint64 key = 0; // the archive's own number of the row
    QString loggerId;
    int type = 0;
    time64 start = 0;
    time64 stop = 0;
    time64 interval = 0;
    int samples = 0;
    // The alarm limits in force; a channel without them has none.
    bool tempLimits = false;
    double tempLow = 0, tempHigh = 0;
    bool humiLimits = false;
    double humiLow = 0, humiHigh = 0;
    double tempMin = 0, tempMax = 0, tempAvg = 0, tempMkt = 0;
    bool hasHumidity = false;
    double humiMin = 0, humiMax = 0, humiAvg = 0;
    int tempExcursions = 0;
    time64 tempExcursionTime = 0; // seconds past either limit
    int humiExcursions = 0;
    time64 humiExcursionTime = 0;
    QString description;
    QString file; // absolute path of the data file
    qint64 fileSize = 0;
    QString sha256; // of the file's bytes, lower-case hex
    time64 archivedAt = 0;
    QString station; // host name of the computer that archived it
    bool missing = false; // set when listing: the file is no longer there

    int Excursions() const { return tempExcursions + humiExcursions; }
};

// The row of a record read from a data file: statistics and MKT as the
// record holds them after reading, excursions as the alarm search finds
// them. archivedAt and station are left for the archive to fill.
MissionRow MissionFromRecord(const CLoggerRecord& record, const QString& file, qint64 size, const QString& sha256);
