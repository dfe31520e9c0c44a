#pragma once

#include "record/LoggerRecord.h"

#include <QString>

// Why the samples of a logger that reports `count` of them cannot be
// downloaded, or empty when a record holds them all. The first MAX_SAMPLES
// alone are not taken: a count beyond the record says the logger's memory is
// not what this program knows how to read. A link that can put a count
// derived from the mission's times in its place asks only when that fails.
inline QString OversizedDownloadReason(int count)
{
    if (count <= MAX_SAMPLES)
        return {};
    return QStringLiteral("the logger reports %1 samples; at most %2 can be downloaded").arg(count).arg(MAX_SAMPLES);
}
