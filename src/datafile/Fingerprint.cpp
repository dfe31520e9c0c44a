#include "datafile/Fingerprint.h"

#include "datafile/LoggerFile.h"

#include <QCryptographicHash>

namespace {

constexpr int kHexDigits = 64;
const QLatin1StringView kLabel("SHA-256");

bool IsHex(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\u00A0';
}

} // namespace

QString BytesFingerprint(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QString RecordFingerprint(const CLoggerRecord& record)
{
    QByteArray bytes;
    if (!DataFileBytes(record, record.m_bRange, bytes))
        return {};
    return BytesFingerprint(bytes);
}

QString FingerprintLine(const QString& fingerprint)
{
    return kLabel + QStringLiteral(": ") + fingerprint;
}

QStringList FingerprintsInText(QStringView text)
{
    QStringList found;
    qsizetype at = 0;
    while ((at = text.indexOf(kLabel, at)) >= 0) {
        qsizetype p = at + kLabel.size();
        at = p;
        if (p < text.size() && text[p] == u':')
            ++p;
        while (p < text.size() && IsBlank(text[p]))
            ++p;
        qsizetype end = p;
        while (end < text.size() && IsHex(text[end]))
            ++end;
        if (end - p == kHexDigits)
            found << text.mid(p, kHexDigits).toString().toLower();
    }
    return found;
}
