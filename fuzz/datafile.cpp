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
    g_LoggerRecord.m_byDataFlags = 0;
    if (!file.LoadBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), kDefaultDisplay)) {
        g_LoggerRecord.Reset();
        return 0;
    }
    g_LoggerRecord.BuildTimeTable();
    const int last = g_LoggerRecord.m_nReceived - 1;
    if (last >= 0)
        for (int c = 0; c < SampleColumnCount(g_LoggerRecord); ++c)
            (void)SampleCellText(g_LoggerRecord, last, c, kDefaultDisplay.unit);
    return 0;
}
