#pragma once

#include "record/LoggerRecord.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

class QSaveFile;

// Reader and writer of the .tavo data file.
//
// Writing goes to a temporary file in the target's folder that replaces the
// target only when Save has written it whole, so a failed save never leaves a
// truncated file or destroys an earlier one.
class CLoggerFile {
public:
    enum Mode { ModeRead = 1, ModeWrite = 2 };

    CLoggerFile();
    CLoggerFile(const QString& path, int mode);
    ~CLoggerFile();
    CLoggerFile(const CLoggerFile&) = delete;
    CLoggerFile& operator=(const CLoggerFile&) = delete;

    bool Open(const QString& path, int mode);
    void Close();
    bool IsInputOpen() const;
    bool IsOutputOpen() const;

    // Writes *m_pRecord; bArea marks a selected time range. True only when
    // the file is on disk whole.
    bool Save(bool bArea);
    // Reads the open input file into *m_pLoadRecord (g_LoggerRecord).
    bool Load();

    CLoggerRecord* m_pRecord = &g_LoggerRecord;
    CLoggerRecord* m_pLoadRecord = &g_LoggerRecord;

private:
    std::unique_ptr<QSaveFile> m_out;
    QByteArray m_input;
    bool m_inputOpen = false;
    std::uint8_t m_byHeader[5] = {};
    std::uint8_t m_byKey = 0;
    qint64 m_nFileSize = 0;
};

// Opening a data file as the Open command does, without the window: Load into
// g_LoggerRecord, reset both records when that fails, then mark the
// description read, build the time table and forget the battery reading.
enum class OpenDataResult { NotOpened, Loaded, Failed };
OpenDataResult OpenDataFileRecord(const QString& path);
