#pragma once

#include "record/LoggerRecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

// The fingerprint of a record is the SHA-256 of the data file it saves to:
// the exact bytes Save writes, so that sha256sum of a data file written by
// this program reproduces the fingerprint its reports carry.

// SHA-256 of bytes, 64 lower-case hex digits.
QString BytesFingerprint(const QByteArray& bytes);

// The fingerprint of record, saved as a range when it is one (m_bRange);
// empty when it cannot be stored in a data file.
QString RecordFingerprint(const CLoggerRecord& record);

// The line reports carry: "SHA-256: " and the fingerprint.
QString FingerprintLine(const QString& fingerprint);

// The fingerprints a text carries, in order: "SHA-256", an optional colon,
// any blanks and exactly 64 hex digits (lower-cased here). Text taken from a
// PDF may have lost the blank; a worksheet has caption and value in cells
// of their own, which the reader joins with a tab.
QStringList FingerprintsInText(QStringView text);
