// The worksheet export, read back with a reader of its own (the archive
// unpacked, the XML parts parsed) and with xlsx2csv.
#include "export/ExactSerials.h"
#include "export/SummaryCells.h"
#include "export/WorkbookCheck.h"
#include "export/Worksheet.h"

#include "base/TextTable.h"
#include "datafile/DataFileWriter.h"
#include "record/SampleText.h"
#include "record/SampleValues.h"
#include "record/SummaryList.h"
#include "record/TimeText.h"
#include "record/Units.h"
#include "support/FileSizeLimit.h"
#include "support/ScopedTz.h"
#include "support/TempDir.h"
#include "support/XlsxReader.h"
#include "views/RecordFixture.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <minizip/zip.h>

namespace {

// A cell's text; empty where the sheet has no cell.
QString Text(const XlsxSheet& sheet, int row, int column)
{
    const XlsxCell* cell = sheet.Cell(row, column);
    return cell ? cell->text : QString();
}

// A cell's text as a spreadsheet shows it, for the number formats the
// worksheet uses; empty where the sheet has no cell.
QString Shown(const XlsxBook& book, const XlsxSheet& sheet, int row, int column)
{
    const XlsxCell* cell = sheet.Cell(row, column);
    if (!cell || !cell->type.isEmpty())
        return cell ? cell->text : QString();
    const QString format = book.NumberFormat(cell->style);
    const double value = cell->text.toDouble();
    static const QRegularExpression unit(QStringLiteral("^0\\.00\"(.+)\"$"));
    if (const QRegularExpressionMatch m = unit.match(format); m.hasMatch())
        return QString::asprintf("%.2f", value) + m.captured(1);
    const qint64 seconds = std::llround(value * 86400);
    const QTime time = QTime(0, 0).addSecs(static_cast<int>(seconds % 86400));
    if (format == QLatin1String("hh:mm:ss"))
        return time.toString(QStringLiteral("hh:mm:ss"));
    if (format.startsWith(QLatin1String("yyyy-m-d"))) {
        const QDate date = QDate(1899, 12, 30).addDays(seconds / 86400);
        const QString gap(format.count(QLatin1Char(' ')), QLatin1Char(' '));
        return QStringLiteral("%1-%2-%3").arg(date.year()).arg(date.month()).arg(date.day()) + gap
            + time.toString(QStringLiteral("hh:mm"));
    }
    return format.isEmpty() ? cell->text : QStringLiteral("unknown format ") + format;
}

class Worksheet : public ::testing::Test {
protected:
    // Writes m_record and reads it back.
    void WriteAndRead(XlsxBook& book)
    {
        const QString path = m_dir.path("out.xlsx");
        QString why;
        ASSERT_TRUE(WriteWorksheet(m_record, m_display, path, &why)) << why.toStdString();
        ASSERT_TRUE(book.Load(path)) << book.Error().toStdString();
    }

    CLoggerRecord m_record;
    DisplaySettings m_display;
    TempDir m_dir;
};

TEST_F(Worksheet, SummarySheetHoldsTheSummaryRowsThenDescriptionAndMkt)
{
    for (const int type : {1, 4}) {
        SCOPED_TRACE(type);
        FillMission(m_record, type, 30);
        m_record.m_nRowFlags |= RF_ID | RF_START | RF_STOP | RF_INTERVAL | RF_COUNT;
        m_record.m_strValue[ROW_DESCRIPTION] = QStringLiteral("Cold room <3> & \"B\"");
        XlsxBook book;
        WriteAndRead(book);
        ASSERT_EQ(book.SheetNames(), (QStringList{GetText(TextId::SummarySheet, 0), GetText(TextId::DataSheet, 0)}));
        const XlsxSheet& sheet = *book.Sheet(QStringLiteral("Summary"));
        const QList<SummaryItem> rows = SummaryReportRows(m_record, 0);
        ASSERT_EQ(rows.size(), (type == 4 ? 15 : 10) + 2);
        // The caption row, the summary rows, the time zone and the fingerprint.
        ASSERT_EQ(sheet.RowCount(), 1 + rows.size() + 2);
        EXPECT_EQ(Text(sheet, rows.size() + 1, 0), QStringLiteral("Time zone"));
        EXPECT_TRUE(Text(sheet, rows.size() + 1, 1).startsWith(QStringLiteral("Times in UTC")));
        EXPECT_EQ(Text(sheet, 0, 0), QStringLiteral("Item"));
        EXPECT_EQ(Text(sheet, 0, 1), QStringLiteral("State"));
        for (int i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(Text(sheet, i + 1, 0), rows[i].caption.trimmed());
            EXPECT_EQ(Shown(book, sheet, i + 1, 1).toStdString(), rows[i].value.trimmed().toStdString());
        }
        EXPECT_EQ(Text(sheet, 1, 1), m_record.m_strValue[ROW_ID].trimmed());
        const int description = rows.size() - 1;
        EXPECT_EQ(Text(sheet, description, 0), QStringLiteral("Description:"));
        EXPECT_EQ(Text(sheet, description, 1), QStringLiteral("Cold room <3> & \"B\""));
        EXPECT_EQ(Text(sheet, description + 1, 0), QStringLiteral("Mean Kinetic Temp.:"));
        EXPECT_EQ(Shown(book, sheet, description + 1, 1), m_record.m_strValue[ROW_MKT].trimmed());
        EXPECT_FALSE(m_record.m_strValue[ROW_MKT].trimmed().isEmpty());
        EXPECT_GE(sheet.widths.value(0), QStringLiteral("Mean Kinetic Temp.:").size());
        // The fingerprint is that of the data file the record saves to.
        const QString tavo = m_dir.path("record.tavo");
        ASSERT_TRUE(WriteRecordDataFile(m_record, tavo));
        QFile saved(tavo);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        const QString sha = QString::fromLatin1(QCryptographicHash::hash(saved.readAll(), QCryptographicHash::Sha256).toHex());
        EXPECT_EQ(Text(sheet, rows.size() + 2, 0), QStringLiteral("SHA-256"));
        EXPECT_EQ(Text(sheet, rows.size() + 2, 1), sha);
        EXPECT_GE(sheet.widths.value(1), 64);
    }
}

// The serial of a wall-clock time: whole days since 1899-12-30 and the
// seconds of the day, divided once.
double WallClockSerial(QDate date, int secondsOfDay)
{
    const qint64 days = date.toJulianDay() - QDate(1899, 12, 30).toJulianDay();
    return static_cast<double>(days * 86400 + secondsOfDay) / 86400.0;
}

// The Summary's count, statistics, limits and MKT are numbers in the units
// of the data sheet, its times local date-times and its interval a time of
// day; each shows the summary's text. The other rows stay text, also a
// description that reads like a figure.
TEST_F(Worksheet, SummaryFiguresAreNumbersAndTimesAreDateTimes)
{
    ScopedTz tz("Asia/Shanghai"); // local times 8 hours from UTC
    const QString humi = QStringLiteral("0.00\"%RH\"");
    const struct {
        int type;
        TempUnit unit;
        const char* tempFormat;
        bool readOut; // start and stop as a read-out shows them: two blanks before the time
    } cases[] = {
        {1, TempUnit::Celsius, "0.00\"\u00B0C\"", true},
        {1, TempUnit::Fahrenheit, "0.00\"\u00B0F\"", false},
        {4, TempUnit::Celsius, "0.00\"\u00B0C\"", false},
        {4, TempUnit::Fahrenheit, "0.00\"\u00B0F\"", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " " << c.tempFormat << (c.readOut ? " read-out" : " file"));
        m_display.unit = c.unit;
        FillMission(m_record, c.type, 30, c.unit);
        CLoggerRecord& r = m_record;
        r.m_tStart = MakeLocalTime(2026, 6, 15, 8, 0); // every 10 minutes to 12:50
        r.m_tStop = r.m_tStart + 29 * r.m_tsInterval;
        r.BuildTimeTable();
        r.m_fHumiAvg = c.type == 4 ? 45.555f : 0.0f;
        const auto timeText = c.readOut ? FormatSummaryTime : FormatDateTime;
        r.m_strValue[ROW_START] = timeText(r.m_tStart);
        r.m_strValue[ROW_STOP] = timeText(r.m_tStop);
        r.m_strValue[ROW_INTERVAL] = FormatInterval(r.m_tsInterval);
        r.m_strValue[ROW_COUNT] = QString::number(r.m_nCount);
        r.m_strValue[ROW_DESCRIPTION] = QStringLiteral("12.50\u00B0C");
        r.FormatStatTexts(c.unit);
        r.m_nRowFlags |= RF_ID | RF_START | RF_STOP | RF_INTERVAL | RF_COUNT;
        XlsxBook book;
        WriteAndRead(book);
        const XlsxSheet& sheet = *book.Sheet(QStringLiteral("Summary"));

        const QString temp = QString::fromUtf8(c.tempFormat);
        const QString dateFormat = c.readOut ? QStringLiteral("yyyy-m-d  hh:mm") : QStringLiteral("yyyy-m-d hh:mm");
        const auto t = [&](float celsius) { return RoundToHundredths(InUnit(celsius, c.unit)); };
        const auto h = [](float value) { return RoundToHundredths(value); };
        const QMap<int, std::pair<double, QString>> numbers{
            {ROW_START, {WallClockSerial(QDate(2026, 6, 15), 8 * 3600), dateFormat}},
            {ROW_STOP, {WallClockSerial(QDate(2026, 6, 15), 12 * 3600 + 50 * 60), dateFormat}},
            {ROW_INTERVAL, {600 / 86400.0, QStringLiteral("hh:mm:ss")}},
            {ROW_COUNT, {30, QString()}},
            {ROW_MAX, {t(r.m_fMax), temp}},
            {ROW_MIN, {t(r.m_fMin), temp}},
            {ROW_AVG, {t(r.m_fAvg), temp}},
            {ROW_HIGH_LIMIT, {t(r.m_fHighLimit), temp}},
            {ROW_LOW_LIMIT, {t(r.m_fLowLimit), temp}},
            {ROW_MKT, {t(r.m_fMkt), temp}},
            {ROW_HUMI_MAX, {h(r.m_fHumiMax), humi}},
            {ROW_HUMI_MIN, {h(r.m_fHumiMin), humi}},
            {ROW_HUMI_AVG, {h(r.m_fHumiAvg), humi}},
            {ROW_HUMI_HIGH_LIMIT, {h(r.m_fHumiHighLimit), humi}},
            {ROW_HUMI_LOW_LIMIT, {h(r.m_fHumiLowLimit), humi}},
        };
        const QList<SummaryItem> rows = SummaryReportRows(r, 0);
        int numeric = 0;
        for (int i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(rows[i].caption.toStdString());
            const XlsxCell* cell = sheet.Cell(i + 1, 1);
            ASSERT_NE(cell, nullptr);
            EXPECT_EQ(Shown(book, sheet, i + 1, 1).toStdString(), rows[i].value.trimmed().toStdString());
            if (!numbers.contains(rows[i].row)) {
                EXPECT_EQ(cell->type, QStringLiteral("inlineStr"));
                continue;
            }
            const auto& [value, format] = numbers[rows[i].row];
            EXPECT_TRUE(cell->type.isEmpty()) << cell->type.toStdString();
            EXPECT_EQ(cell->text.toDouble(), value) << cell->text.toStdString();
            EXPECT_EQ(book.NumberFormat(cell->style).toStdString(), format.toStdString());
            ++numeric;
        }
        EXPECT_EQ(numeric, c.type == 4 ? 15 : 10);
        for (const int zoneAndFingerprint : {rows.size() + 1, rows.size() + 2})
            EXPECT_EQ(sheet.Cell(zoneAndFingerprint, 1)->type, QStringLiteral("inlineStr"));
    }
}

// A text that a number would not show exactly stays text, as do the rows
// that hold no figure.
TEST(SummaryValueCell, TextsNoNumberShowsStayText)
{
    ScopedTz tz("Europe/Berlin");
    CLoggerRecord record;
    record.m_tStart = MakeLocalTime(2026, 6, 15, 8, 0);
    record.m_tStop = MakeLocalTime(2026, 6, 16, 8, 0);
    record.m_tsInterval = 600;
    const struct {
        int row;
        QString text;
    } cases[] = {
        {ROW_COUNT, QStringLiteral("--")},
        {ROW_COUNT, QStringLiteral("0336")},
        {ROW_MAX, QStringLiteral("12.5\u00B0C")},
        {ROW_MAX, QStringLiteral("-0.00\u00B0C")},
        {ROW_MAX, QStringLiteral("45.00%RH")},
        {ROW_HUMI_MAX, QStringLiteral("45.00\u00B0F")},
        {ROW_MKT, QStringLiteral("12345678901234567890.00\u00B0C")},
        {ROW_START, FormatDateTime(record.m_tStart + 60)},
        {ROW_STOP, QStringLiteral("2026-06-16 08:00")},
        {ROW_INTERVAL, QStringLiteral("00:15:00")},
        {ROW_ID, QStringLiteral("12345678901")},
        {ROW_DESCRIPTION, QStringLiteral("25.00\u00B0C")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const SummaryCell cell = SummaryValueCell(record, c.row, c.text);
        EXPECT_FALSE(cell.numeric);
        EXPECT_EQ(cell.text, c.text);
    }
    EXPECT_TRUE(SummaryValueCell(record, ROW_STOP, FormatSummaryTime(record.m_tStop)).numeric);
}

TEST_F(Worksheet, DataCellsAreNumbersInTheUnitWithFormatsAndRedPastALimit)
{
    const struct {
        TempUnit unit;
        const char* format;
    } units[] = {{TempUnit::Celsius, "0.00\"\u00B0C\""}, {TempUnit::Fahrenheit, "0.00\"\u00B0F\""}};
    for (const auto& u : units) {
        SCOPED_TRACE(u.format);
        m_display.unit = u.unit;
        FillMission(m_record, 4, 25, u.unit);
        m_record.m_fTempShown[5] = -2000.0f; // a missing reading
        XlsxBook book;
        WriteAndRead(book);
        const XlsxSheet& sheet = *book.Sheet(QStringLiteral("Data"));
        ASSERT_EQ(sheet.RowCount(), 26);
        const QStringList header{"Num", "RecordTime", "Temperature", "Humidity"};
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(sheet.Cell(0, c)->text, header[c]);
            EXPECT_GE(sheet.widths.value(c), header[c].size()) << c;
        }
        int red = 0;
        for (int i = 0; i < 25; ++i) {
            SCOPED_TRACE(i);
            const XlsxCell& num = *sheet.Cell(i + 1, 0);
            EXPECT_TRUE(num.type.isEmpty());
            EXPECT_EQ(num.text, QString::number(i + 1));
            const XlsxCell& time = *sheet.Cell(i + 1, 1);
            EXPECT_TRUE(time.type.isEmpty());
            EXPECT_EQ(book.NumberFormat(time.style), QStringLiteral("yyyy-m-d hh:mm"));
            EXPECT_EQ(SerialToText(time.text.toDouble()), SampleCellText(m_record, i, 1, m_display.unit));
            for (int c = 2; c < 4; ++c) {
                const QString listText = SampleCellText(m_record, i, c, m_display.unit);
                const XlsxCell* value = sheet.Cell(i + 1, c);
                if (listText.isEmpty()) {
                    EXPECT_EQ(value, nullptr);
                    continue;
                }
                ASSERT_NE(value, nullptr);
                EXPECT_TRUE(value->type.isEmpty());
                EXPECT_EQ(QString::asprintf("%.2f", value->text.toDouble()), listText.left(listText.indexOf(QChar(c == 2 ? 0xB0 : '%'))));
                EXPECT_EQ(value->text.toDouble(), QString::asprintf("%.2f", value->text.toDouble()).toDouble());
                EXPECT_EQ(book.NumberFormat(value->style), c == 2 ? QString::fromUtf8(u.format) : QStringLiteral("0.00\"%RH\""));
                EXPECT_EQ(book.RedFont(value->style), listText.endsWith('*'));
                red += listText.endsWith('*');
            }
        }
        EXPECT_GT(red, 5);
    }
}

TEST_F(Worksheet, TimesAreLocalAcrossDaylightSavingChanges)
{
    ScopedTz tz("Europe/Berlin");
    const struct {
        int month, day;
        const char* first;
        const char* fourth; // an hour was skipped or repeated in between
    } changes[] = {{3, 29, "2026-3-29 01:00", "2026-3-29 04:15"}, {10, 25, "2026-10-25 01:00", "2026-10-25 02:15"}};
    for (const auto& change : changes) {
        SCOPED_TRACE(change.first);
        FillMission(m_record, 1, 12);
        m_record.m_tsInterval = 45 * 60;
        m_record.m_tStart = MakeLocalTime(2026, change.month, change.day, 1, 0);
        m_record.BuildTimeTable();
        XlsxBook book;
        WriteAndRead(book);
        const XlsxSheet& sheet = *book.Sheet(QStringLiteral("Data"));
        EXPECT_EQ(SerialToText(sheet.Cell(1, 1)->text.toDouble()), QString::fromLatin1(change.first));
        EXPECT_EQ(SerialToText(sheet.Cell(4, 1)->text.toDouble()), QString::fromLatin1(change.fourth));
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(SerialToText(sheet.Cell(i + 1, 1)->text.toDouble()), FormatDateTime(m_record.m_tTime[i])) << i;
    }
}

// The serial of a local time computed apart from the writer: whole days
// since 1899-12-30 and the seconds of the day, divided once.
double ExactSerial(time64 t)
{
    const LocalTm l = ToLocal(t);
    const qint64 days = QDate(l.year, l.month, l.day).toJulianDay() - QDate(1899, 12, 30).toJulianDay();
    return static_cast<double>(days * 86400 + l.hour * 3600 + l.minute * 60 + l.second) / 86400.0;
}

// A time is stored as the double nearest its serial, written so that it
// reads back as exactly that double: a formula comparing the cell with
// DATE()+TIME() holds, and no reader shows 08:00:00.001.
TEST_F(Worksheet, TimesAreStoredAsTheirExactSerial)
{
    ScopedTz tz("UTC");
    FillMission(m_record, 1, 97);
    m_record.m_tsInterval = 15 * 60 + 7; // odd seconds reach every digit
    m_record.m_tStart = MakeLocalTime(2026, 6, 15, 8, 0);
    m_record.BuildTimeTable();
    XlsxBook book;
    WriteAndRead(book);
    const XlsxSheet& sheet = *book.Sheet(QStringLiteral("Data"));
    EXPECT_EQ(Text(sheet, 1, 1).toDouble(), 46188.0 + 1.0 / 3.0); // 2026-6-15 08:00
    for (int i = 0; i < 97; ++i)
        EXPECT_EQ(Text(sheet, i + 1, 1).toDouble(), ExactSerial(m_record.m_tTime[i])) << i << " " << Text(sheet, i + 1, 1).toStdString();
}

TEST(ExactSerials, OnlyNumbersOfTheTimeCellsAreRewritten)
{
    const QByteArray xml = "<row r=\"1\"><c r=\"B1\" t=\"inlineStr\"><is><t>0.5</t></is></c></row>"
                           "<row r=\"2\"><c r=\"A2\"><v>46188.33333333334</v></c><c r=\"B2\" s=\"2\"><v>46188.33333333334</v></c>"
                           "<c r=\"BA2\"><v>0.1</v></c><c r=\"C2\"><v>4.4</v></c></row>"
                           "<row r=\"3\"><c r=\"B3\" s=\"2\"><v>46188.33334490741</v></c><c r=\"B4\" s=\"2\"/></row>";
    const QByteArray columnB = "<row r=\"1\"><c r=\"B1\" t=\"inlineStr\"><is><t>0.5</t></is></c></row>"
                               "<row r=\"2\"><c r=\"A2\"><v>46188.33333333334</v></c><c r=\"B2\" s=\"2\"><v>46188.333333333336</v></c>"
                               "<c r=\"BA2\"><v>0.1</v></c><c r=\"C2\"><v>4.4</v></c></row>"
                               "<row r=\"3\"><c r=\"B3\" s=\"2\"><v>46188.333344907405</v></c><c r=\"B4\" s=\"2\"/></row>";
    EXPECT_EQ(ExactSerials(xml, WholeColumn('B')), columnB);
    QByteArray onlyB3 = xml;
    onlyB3.replace("46188.33334490741", "46188.333344907405");
    EXPECT_EQ(ExactSerials(xml, TheseCells({"B3", "B1", "A22"})), onlyB3);
}

TEST_F(Worksheet, SixtyThousandRowsStayInOneSheet)
{
    FillMission(m_record, 4, MAX_SAMPLES);
    const QString path = m_dir.path("full.xlsx");
    ASSERT_TRUE(WriteWorksheet(m_record, m_display, path));
    XlsxBook book;
    ASSERT_TRUE(book.Load(path, 100, MAX_SAMPLES - 100)) << book.Error().toStdString();
    EXPECT_EQ(book.SheetNames().size(), 2);
    const XlsxSheet& sheet = *book.Sheet(QStringLiteral("Data"));
    EXPECT_EQ(sheet.RowCount(), MAX_SAMPLES + 1);
    EXPECT_EQ(Text(sheet, MAX_SAMPLES, 0), QStringLiteral("60000"));
    EXPECT_EQ(SerialToText(Text(sheet, MAX_SAMPLES, 1).toDouble()), FormatDateTime(m_record.m_tTime[MAX_SAMPLES - 1]));
    EXPECT_EQ(QString::asprintf("%.2f%%RH", Text(sheet, MAX_SAMPLES, 3).toDouble()),
              SampleCellText(m_record, MAX_SAMPLES - 1, 3, m_display.unit));
}

TEST_F(Worksheet, AnotherReaderSeesTheSameCells)
{
    m_display.unit = TempUnit::Celsius;
    FillMission(m_record, 4, 200, TempUnit::Celsius);
    const QString path = m_dir.path("out.xlsx");
    ASSERT_TRUE(WriteWorksheet(m_record, m_display, path));
    QProcess xlsx2csv;
    xlsx2csv.start(QStringLiteral("xlsx2csv"),
                   {QStringLiteral("-f"), QStringLiteral("%Y-%m-%d %H:%M"), QStringLiteral("-n"), QStringLiteral("Data"), path});
    ASSERT_TRUE(xlsx2csv.waitForFinished(30000));
    ASSERT_EQ(xlsx2csv.exitCode(), 0) << xlsx2csv.readAllStandardError().toStdString();
    const QList<QByteArray> lines = xlsx2csv.readAllStandardOutput().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 201);
    EXPECT_EQ(lines[0].trimmed(), QByteArray("Num,RecordTime,Temperature,Humidity"));

    // It prints numbers its own way: compared as numbers. It takes the
    // humidity's format, with the letter H in its quoted unit, for a time
    // format, so that column is left to the reader above.
    const auto number = [](QString text) { return text.remove(QStringLiteral("\u00B0C")).remove(QStringLiteral("%RH")).remove('*').toDouble(); };
    for (int i = 0; i < 200; ++i) {
        SCOPED_TRACE(i);
        const LocalTm t = ToLocal(m_record.m_tTime[i]);
        const QStringList fields = QString::fromUtf8(lines[i + 1].trimmed()).split(',');
        ASSERT_GE(fields.size(), 3);
        EXPECT_EQ(fields[0], QString::number(i + 1));
        EXPECT_EQ(fields[1], QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute)).toString("yyyy-MM-dd HH:mm"));
        EXPECT_EQ(fields[2].toDouble(), number(SampleCellText(m_record, i, 2, m_display.unit)));
    }
}

TEST_F(Worksheet, AFailedWriteKeepsTheEarlierFileAndSaysWhy)
{
    FillMission(m_record, 4, 2000); // a sheet of about 200 kB before it is packed
    const QString path = m_dir.path("keep.xlsx");
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier mission");
    earlier.close();
    const struct {
        const char* what;
        rlim_t limit;
        QString target;
    } cases[] = {
        {"a file-size limit", 20 * 1000, path},
        {"a folder that does not exist", 0, m_dir.path("gone/new.xlsx")},
        {"a folder in the place of the file", 0, m_dir.root()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QString why;
        bool written = true;
        if (c.limit > 0) {
            FileSizeLimit limit(c.limit);
            written = WriteWorksheet(m_record, m_display, c.target, &why);
        } else {
            written = WriteWorksheet(m_record, m_display, c.target, &why);
        }
        EXPECT_FALSE(written);
        EXPECT_FALSE(why.isEmpty());
        EXPECT_TRUE(why[0].isLower()) << why.toStdString();
        ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
        EXPECT_EQ(earlier.readAll(), QByteArray("earlier mission"));
        earlier.close();
        EXPECT_EQ(QDir(m_dir.root()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("keep.xlsx")});
    }
}

// An archive with one part, written with the archive library directly.
void WriteArchive(const QString& path, const char* part, const QByteArray& content)
{
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    zip_fileinfo info{};
    ASSERT_EQ(zipOpenNewFileInZip64(zip, part, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6, 0), ZIP_OK);
    zipWriteInFileInZip(zip, content.constData(), static_cast<unsigned>(content.size()));
    zipCloseFileInZip(zip);
    zipClose(zip, nullptr);
}

TEST(WorkbookCheck, FindsAPartCutOffInTheMiddle)
{
    TempDir dir;
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                            "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
                            "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>";
    const struct {
        QByteArray content;
        bool whole;
    } cases[] = {
        {head + "</sheetData></worksheet>\n", true},
        {head, false},
        {head + "</sheetData></works", false},
        {QByteArray(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content.right(20).toStdString());
        const QString path = dir.path("part.xlsx");
        WriteArchive(path, "xl/worksheets/sheet1.xml", c.content);
        const QString damage = WorkbookDamage(path);
        EXPECT_EQ(damage.isEmpty(), c.whole) << damage.toStdString();
        if (!c.whole) {
            EXPECT_TRUE(damage.contains(QStringLiteral("xl/worksheets/sheet1.xml")));
        }
    }
    QFile notZip(dir.path("text.xlsx"));
    ASSERT_TRUE(notZip.open(QIODevice::WriteOnly));
    notZip.write("plain text");
    notZip.close();
    EXPECT_FALSE(WorkbookDamage(notZip.fileName()).isEmpty());
}

} // namespace
