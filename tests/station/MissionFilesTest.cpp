// Filing a downloaded mission into the archive folder: its name, what
// happens when a mission of that name is there already, and that a failure
// leaves nothing half-written.
#include "station/MissionFiles.h"

#include "support/FileSizeLimit.h"
#include "support/MissionRecord.h"
#include "support/FileTree.h"
#include "support/TempDir.h"

#include "datafile/LoggerFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const ReportChoice kAllReports{true, true, true};

// A temperature and humidity logger's mission the data file can hold.
void MakeLoggerMission(CLoggerRecord& r, int count)
{
    MakeMission(r, 4, count);
    r.m_strValue[ROW_ID] = QStringLiteral("UTH26061501");
}

int SamplesIn(const QString& path)
{
    CLoggerRecord r;
    return OpenDataFileRecord(path, r, kDefaultDisplay) == OpenDataResult::Loaded ? r.m_nCount : -1;
}

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class MissionFiling : public ::testing::Test {
protected:
    void SetUp() override { MakeLoggerMission(record, 144); }

    FilingResult File(const CLoggerRecord& r, const ReportChoice& reports = kAllReports)
    {
        return FileMission(r, kDefaultDisplay, dir.root(), reports);
    }
    // The mission's path without its extension, as the folder names it.
    QString Stem(const QString& suffix = {}) const
    {
        return dir.path(QStringLiteral("UTH26061501/UTH26061501_20260615-0800") + suffix);
    }

    TempDir dir;
    CLoggerRecord record;
};

TEST_F(MissionFiling, WritesTheDataFileAndReportsUnderTheLoggerAndItsStart)
{
    const FilingResult filed = File(record);
    ASSERT_EQ(filed.outcome, FilingResult::Outcome::Archived) << filed.reason.toStdString();
    EXPECT_EQ(filed.dataFile, Stem(".tavo"));
    EXPECT_EQ(filed.files, QStringList({Stem(".tavo"), Stem(".pdf"), Stem(".xlsx"), Stem(".csv")}));
    EXPECT_EQ(Tree(dir.root()), QStringList({"UTH26061501/UTH26061501_20260615-0800.csv", "UTH26061501/UTH26061501_20260615-0800.pdf",
                                             "UTH26061501/UTH26061501_20260615-0800.tavo",
                                             "UTH26061501/UTH26061501_20260615-0800.xlsx"}))
        << "no staging folder is left behind";
    EXPECT_EQ(SamplesIn(filed.dataFile), 144);
}

// What a second filing does, by what the folder holds under the mission's name.
TEST_F(MissionFiling, ASecondFilingByWhatIsThere)
{
    struct Case {
        const char* what;
        int countThere;        // samples of the mission filed first
        bool damaged;          // the file there cannot be read
        FilingResult::Outcome outcome;
        const char* fileNow;   // where the second one's data file is
        int samplesAtBaseName; // what the base name holds afterwards
    };
    const Case cases[] = {
        {"the same mission, as many samples", 144, false, FilingResult::Outcome::AlreadyArchived, ".tavo", 144},
        {"the same mission, fewer samples then", 100, false, FilingResult::Outcome::Archived, ".tavo", 144},
        {"the same mission, more samples then", 200, false, FilingResult::Outcome::Archived, "_2.tavo", 200},
        {"a file that cannot be read", 144, true, FilingResult::Outcome::Archived, "_2.tavo", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir fresh;
        CLoggerRecord first;
        MakeLoggerMission(first, c.countThere);
        ASSERT_EQ(FileMission(first, kDefaultDisplay, fresh.root(), {}).outcome, FilingResult::Outcome::Archived);
        const QString base = fresh.path(QStringLiteral("UTH26061501/UTH26061501_20260615-0800"));
        if (c.damaged) {
            QFile f(base + ".tavo");
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("not a data file");
        }
        const QByteArray before = Bytes(base + ".tavo");

        const FilingResult second = FileMission(record, kDefaultDisplay, fresh.root(), {});
        EXPECT_EQ(second.outcome, c.outcome);
        EXPECT_EQ(second.dataFile, base + QLatin1String(c.fileNow));
        EXPECT_EQ(SamplesIn(base + ".tavo"), c.samplesAtBaseName);
        if (c.outcome == FilingResult::Outcome::AlreadyArchived) {
            EXPECT_EQ(Bytes(base + ".tavo"), before) << "an archived mission is not written again";
        }
    }
}

TEST_F(MissionFiling, AFullDiskLeavesNothingHalfWrittenAndTheEarlierFilesAsTheyWere)
{
    CLoggerRecord shorter;
    MakeLoggerMission(shorter, 100);
    ASSERT_EQ(File(shorter).outcome, FilingResult::Outcome::Archived);
    const QStringList before = Tree(dir.root());
    const QByteArray tavo = Bytes(Stem(".tavo"));

    FilingResult filed;
    {
        const FileSizeLimit nearlyFull(8000); // the data file fits, the reports do not
        filed = File(record);
    }
    EXPECT_EQ(filed.outcome, FilingResult::Outcome::Failed);
    EXPECT_TRUE(filed.reason.contains("too large")) << filed.reason.toStdString();
    EXPECT_TRUE(filed.files.isEmpty());
    EXPECT_EQ(Tree(dir.root()), before);
    EXPECT_EQ(Bytes(Stem(".tavo")), tavo);
}

TEST_F(MissionFiling, AMissionNoDataFileCanHoldStillHasItsCsv)
{
    record.m_fTemp[5] = 123456789.0f;
    const FilingResult filed = File(record, {});
    EXPECT_EQ(filed.outcome, FilingResult::Outcome::Failed);
    EXPECT_TRUE(filed.reason.contains("too large for the data file")) << filed.reason.toStdString();
    EXPECT_EQ(filed.files, QStringList{Stem(".csv")});
    EXPECT_TRUE(filed.dataFile.isEmpty());
    EXPECT_EQ(Tree(dir.root()), QStringList{"UTH26061501/UTH26061501_20260615-0800.csv"});
}

TEST(MissionNames, ALoggerIdBecomesASafeFolderName)
{
    EXPECT_EQ(MissionBaseName("  ../a b ", 0).section('_', 0, -2), "___a_b");
    EXPECT_TRUE(MissionFolder("/arch", "").endsWith("/unknown"));
}

} // namespace
