#pragma once

#include "record/LoggerRecord.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

class COutputFile;
class QFile;

// Reader and writer of the .tavo data file.
//
// Writing goes through COutputFile: a regular file is replaced only when Save
// has written it whole, so a failed save never leaves a truncated file or
// destroys an earlier one; a device or pipe is written straight to.
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

    // Writes record; bArea marks a selected time range. True only when the
    // file is on disk whole.
    bool Save(const CLoggerRecord& record, bool bArea);
    // Reads the open input file into record, its texts as display shows them.
    bool Load(CLoggerRecord& record, const DisplaySettings& display);
    // Load from the bytes of a whole file (the reader without the file).
    bool LoadBytes(const QByteArray& data, CLoggerRecord& record, const DisplaySettings& display);
    // The last Load read a file that ends with the selected-range marker.
    bool LoadedArea() const { return m_bLoadedArea; }
    // Why the last Open, Load or Save failed, worded for the user ("no such
    // file", "damaged: ...", "10000 samples; a data file of this logger type
    // holds at most 9999"); empty after a success.
    const QString& Error() const { return m_error; }

private:
    bool ParseHeader(const QByteArray& data);
    bool Damaged(const char* check);

    std::unique_ptr<COutputFile> m_out;
    std::unique_ptr<QFile> m_in;
    std::uint8_t m_byHeader[5] = {};
    std::uint8_t m_byKey = 0;
    qint64 m_nFileSize = 0;
    bool m_bLoadedArea = false;
    QString m_error;
};

// The whole data file of record as Save writes it: header, scrambled body,
// description and end marker (bArea: a selected time range). The header
// numbers come from the body, so a record always gives the same bytes,
// whenever and wherever it is saved. False, with the reason in why, when the
// record does not fit the layout (BuildBody).
bool DataFileBytes(const CLoggerRecord& record, bool bArea, QByteArray& out, QString* why = nullptr);

// Header numbers of a save: five draws of the C library generator seeded
// with seed, modulo 256, drawn again while the third (the key's divisor) is 0.
void DrawHeaderNumbers(unsigned seed, std::uint8_t (&numbers)[5]);
// The seed of a save: the 32-bit FNV-1a hash of the plain body text (ID,
// times as stored, interval, count, statistics and samples).
unsigned HeaderSeed(const std::string& body);

// Opening a data file as the Open command does, without the window: the file
// is read whole into a separate record, which then replaces record with its
// description marked read, its time table built and no battery reading. A
// file that cannot be opened or read leaves record as it was.
enum class OpenDataResult { NotOpened, Loaded, Failed };
// pArea, when given, tells whether the file held a selected time range; why,
// when given, receives the reason of a failure (CLoggerFile::Error).
OpenDataResult OpenDataFileRecord(const QString& path, CLoggerRecord& record, const DisplaySettings& display,
                                  bool* pArea = nullptr, QString* why = nullptr);
