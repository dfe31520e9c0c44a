// Feeds arbitrary bytes to the data-file reader as the content of a whole
// file, then builds the time table as the Open command does.
#include "datafile/LoggerFile.h"
#include "record/SampleText.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CLoggerFile file;
    CLoggerRecord record;
    if (!file.LoadBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), record,
                        kDefaultDisplay)) {
        return 0;
    }
    record.BuildTimeTable();
    const int last = record.m_nReceived - 1;
    if (last >= 0)
        for (int c = 0; c < SampleColumnCount(record); ++c)
            (void)SampleCellText(record, last, c, kDefaultDisplay.unit);
    return 0;
}
