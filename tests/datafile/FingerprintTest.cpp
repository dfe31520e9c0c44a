// The data file as a pure function of its record, and the fingerprint that
// rests on it: the same record always gives the same bytes, a file written
// before the header was drawn from the record still reads, and its record
// saved anew gives the bytes of today's writer.
#include "FileFixture.h"

#include "datafile/Fingerprint.h"
#include "datafile/LoggerFile.h"
#include "support/ScopedTz.h"
#include "support/TempDir.h"

#include <QCryptographicHash>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool Save(const CLoggerRecord& record, const QString& path, bool area = false)
{
    CLoggerFile file(path, CLoggerFile::ModeWrite);
    return file.IsOutputOpen() && file.Save(record, area);
}

bool Load(const QString& path, CLoggerRecord& record)
{
    CLoggerFile file(path, CLoggerFile::ModeRead);
    return file.Load(record, kDefaultDisplay);
}

QString Sha256(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// The same file with other header numbers, as the writer made it when it
// drew them from the clock: the body scrambled anew with their key.
QByteArray WithHeader(const QByteArray& file, const int (&numbers)[5])
{
    int now[5];
    for (int k = 0; k < 5; ++k)
        now[k] = file.mid(3 * k, 3).trimmed().toInt();
    const std::string plain = fixture::Unscramble(file.left(file.size() - 64), fixture::Key(now));
    return fixture::Header(numbers) + fixture::Scramble(plain, fixture::Key(numbers)) + file.right(64);
}

TEST(Fingerprint, TheSameRecordGivesTheSameBytesWheneverAndWhereverItIsSaved)
{
    TempDir dir;
    CLoggerRecord record;
    {
        ScopedTz tz("Europe/Berlin");
        fixture::FillRecord(record, QStringLiteral("U1000000001"), 1, 50);
        ASSERT_TRUE(Save(record, dir.path("first.tavo")));
    }
    const QByteArray first = ReadAll(dir.path("first.tavo"));
    // Pins the format: a fingerprint printed today must be reproducible by
    // every later version from the same record.
    EXPECT_EQ(Sha256(first).toStdString(), "ae9446cd3d62cfcad52e2dcd9cb08dd065f405e68cc525f1ddbe6d91e2dc4a98");

    // Another save, another time zone and so another local "now": the file
    // read back in UTC holds the same local times and is saved to the same bytes.
    ScopedTz tz("UTC");
    CLoggerRecord loaded;
    ASSERT_TRUE(Load(dir.path("first.tavo"), loaded));
    ASSERT_TRUE(Save(loaded, dir.path("again.tavo")));
    EXPECT_EQ(ReadAll(dir.path("again.tavo")), first);

    QByteArray bytes;
    ASSERT_TRUE(DataFileBytes(loaded, false, bytes));
    EXPECT_EQ(bytes, first);
    EXPECT_EQ(RecordFingerprint(loaded), Sha256(first));
    EXPECT_EQ(BytesFingerprint(first), Sha256(first));
}

TEST(Fingerprint, FollowsWhatTheFileHolds)
{
    ScopedTz tz("UTC");
    CLoggerRecord record;
    fixture::FillRecord(record, QStringLiteral("U1000000001"), 1, 50);
    const QString base = RecordFingerprint(record);
    ASSERT_EQ(base.size(), 64);

    struct Case {
        const char* change;
        void (*apply)(CLoggerRecord&);
    } const cases[] = {
        {"one sample", [](CLoggerRecord& r) { r.m_fTemp[17] += 0.01f; }},
        {"the description", [](CLoggerRecord& r) { r.m_strValue[ROW_DESCRIPTION] = QStringLiteral("Shelf 4"); }},
        {"saved as a range", [](CLoggerRecord& r) { r.m_bRange = true; }},
        {"the start", [](CLoggerRecord& r) { r.m_tStart += 60; }},
    };
    for (const Case& c : cases) {
        CLoggerRecord changed = record;
        c.apply(changed);
        EXPECT_NE(RecordFingerprint(changed), base) << c.change;
    }

    // A range is fingerprinted as the data file of a range: with its marker.
    CLoggerRecord range = record;
    range.m_bRange = true;
    TempDir dir;
    ASSERT_TRUE(Save(range, dir.path("range.tavo"), true));
    EXPECT_EQ(RecordFingerprint(range), Sha256(ReadAll(dir.path("range.tavo"))));

    // A record that no data file can hold has no fingerprint.
    CLoggerRecord wide = record;
    wide.m_strValue[ROW_ID] = QStringLiteral("U10");
    EXPECT_EQ(RecordFingerprint(wide), QString());
}

TEST(Fingerprint, AFileWithDrawnHeaderNumbersReadsAndItsRecordSavedAnewGivesTodaysBytes)
{
    ScopedTz tz("UTC");
    TempDir dir;
    CLoggerRecord record;
    fixture::FillRecord(record, QStringLiteral("UTH40000004"), 4, 30);
    QByteArray today;
    ASSERT_TRUE(DataFileBytes(record, false, today));

    const int drawn[5] = {41, 35, 190, 132, 225};
    const QByteArray old = WithHeader(today, drawn);
    ASSERT_NE(old, today);
    QFile out(dir.path("old.tavo"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(old) == old.size());
    out.close();

    CLoggerRecord loaded;
    ASSERT_TRUE(Load(dir.path("old.tavo"), loaded));
    EXPECT_EQ(loaded.m_nCount, 30);
    EXPECT_EQ(loaded.m_fHumi[29], record.m_fHumi[29]);
    EXPECT_NE(RecordFingerprint(loaded), Sha256(old));
    EXPECT_EQ(RecordFingerprint(loaded), Sha256(today));
}

TEST(Fingerprint, FoundInTextWithOrWithoutTheBlank)
{
    const QString hex = QStringLiteral("0123456789abcdef").repeated(4);
    struct Case {
        QString text;
        QStringList found;
    } const cases[] = {
        {QStringLiteral("page 1/3 SHA-256: ") + hex + QStringLiteral("\n2/3"), {hex}},
        {QStringLiteral("SHA-256:") + hex.toUpper(), {hex}},
        {QStringLiteral("SHA-256\t") + hex, {hex}},
        {QStringLiteral("SHA-256: ") + hex + QStringLiteral("0"), {}},     // 65 digits
        {QStringLiteral("SHA-256: ") + hex.left(63), {}},                 // 63 digits
        {QStringLiteral("SHA-1: ") + hex, {}},
        {QStringLiteral("SHA-256: ") + hex + QStringLiteral(" SHA-256: ") + QString(64, u'f'), {hex, QString(64, u'f')}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FingerprintsInText(c.text), c.found) << c.text.toStdString();
}

} // namespace
