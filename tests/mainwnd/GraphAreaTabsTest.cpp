// The graph page's range selection as the main window shows it: the area
// tabs come and go with "Save Selection" and the graph reset.
#include "base/QtMessagePoster.h"
#include "datafile/LoggerFile.h"
#include "mainwnd/MainDialog.h"
#include "mainwnd/TabHost.h"
#include "views/DataListPage.h"
#include "views/GraphFixture.h"
#include "views/SampleTableModel.h"
#include "views/SummaryPage.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

bool SaveMission(const QString& path, int count, time64 start)
{
    CLoggerRecord source;
    FillMission(source, 1, count);
    source.m_tStart = start;
    source.m_tStop = start + (count - 1) * source.m_tsInterval;
    source.BuildTimeTable();
    CLoggerFile file(path, CLoggerFile::ModeWrite);
    return file.IsOutputOpen() && file.Save(source, false);
}

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

class GraphAreaTabs : public ::testing::Test {
protected:
    GraphAreaTabs()
    {
        InstallQtMessagePoster();
        dialog.Graph()->SetNotifier([this](const QString& text) { notices.push_back(text); });
    }
    ~GraphAreaTabs() override { SetMessagePoster({}); }
    QCheckBox* SaveSelection() const { return GraphSaveSelection(*dialog.Graph()); }
    QDateTimeEdit* Picker(int id) const { return GraphPicker(*dialog.Graph(), id); }
    time64 PickerTime(int id) const { return GraphPickerTime(*dialog.Graph(), id); }
    QTabBar* Bar() const { return dialog.Tabs()->Bar(); }

    TempDir dir;
    std::vector<QString> notices;
    CMainDialog dialog{{TempUnit::Celsius}, QSize(1920, 1080)};
};

const time64 kTen = MakeLocalTime(2024, 3, 5, 10, 0);

} // namespace

TEST_F(GraphAreaTabs, SelectionShowsTheAreaPagesAndAnotherFileRemovesThem)
{
    ASSERT_TRUE(SaveMission(dir.path("a.tavo"), 13, kTen));
    dialog.OpenDataFile(dir.path("a.tavo"), "a.tavo");
    Settle();
    ASSERT_TRUE(SaveSelection()->isEnabled());
    EXPECT_EQ(PickerTime(CGraphPage::IDC_SELECTION_START), kTen);

    SetGraphPickers(*dialog.Graph(), kTen + 300, kTen + 102 * 60);
    QTest::mouseClick(SaveSelection(), Qt::LeftButton);
    Settle();
    ASSERT_EQ(Bar()->count(), 5);
    EXPECT_EQ(Bar()->currentIndex(), 3);
    EXPECT_FALSE(dialog.AreaSummary()->isHidden());
    EXPECT_EQ(dialog.AreaSummary()->Static(CSummaryPage::IDC_COUNT_VALUE)->text(), "10");
    EXPECT_EQ(dialog.AreaDataList()->Model()->rowCount(), 10);
    EXPECT_TRUE(notices.empty());

    ASSERT_TRUE(SaveMission(dir.path("b.tavo"), 20, kTen + 86400));
    dialog.OpenDataFile(dir.path("b.tavo"), "b.tavo");
    Settle();
    EXPECT_EQ(Bar()->count(), 3);
    EXPECT_EQ(Bar()->currentIndex(), 0);
    EXPECT_FALSE(SaveSelection()->isChecked());
    EXPECT_EQ(dialog.Connection().Range().m_nCount, 0);
    EXPECT_EQ(PickerTime(CGraphPage::IDC_SELECTION_START), kTen + 86400);
}

TEST_F(GraphAreaTabs, AnEmptySelectionStillShowsTheAreaPagesWithoutSamples)
{
    ASSERT_TRUE(SaveMission(dir.path("a.tavo"), 13, kTen));
    dialog.OpenDataFile(dir.path("a.tavo"), "a.tavo");
    Settle();
    SetGraphPickers(*dialog.Graph(), kTen + 300, kTen + 480);
    QTest::mouseClick(SaveSelection(), Qt::LeftButton);
    Settle();
    EXPECT_EQ(Bar()->count(), 5);
    EXPECT_EQ(dialog.AreaDataList()->Model()->rowCount(), 0);

    QTest::mouseClick(SaveSelection(), Qt::LeftButton);
    Settle();
    EXPECT_EQ(Bar()->count(), 3);
}

// A refused file once cleared the selection and moved the pickers to today.
TEST_F(GraphAreaTabs, AFailedOpenKeepsTheSelectionAndItsAreaTabs)
{
    ASSERT_TRUE(SaveMission(dir.path("a.tavo"), 13, kTen));
    dialog.OpenDataFile(dir.path("a.tavo"), "a.tavo");
    Settle();
    Picker(CGraphPage::IDC_SELECTION_START)->setDateTime(QDateTime::fromSecsSinceEpoch(kTen + 300));
    QTest::mouseClick(SaveSelection(), Qt::LeftButton);
    Settle();
    ASSERT_EQ(Bar()->count(), 5);
    ASSERT_EQ(dialog.Connection().Range().m_nCount, 12);
    QFile bad(dir.path("bad.tavo"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a data file");
    bad.close();
    EXPECT_FALSE(dialog.OpenDataFile(dir.path("bad.tavo"), "bad.tavo"));
    Settle();
    EXPECT_EQ(Bar()->count(), 5);
    EXPECT_EQ(Bar()->currentIndex(), 3);
    EXPECT_TRUE(SaveSelection()->isChecked());
    EXPECT_EQ(dialog.Connection().Range().m_nCount, 12);
    EXPECT_EQ(dialog.AreaSummary()->Static(CSummaryPage::IDC_COUNT_VALUE)->text(), "12");
    EXPECT_EQ(PickerTime(CGraphPage::IDC_SELECTION_START), kTen + 300);
    EXPECT_EQ(PickerTime(CGraphPage::IDC_SELECTION_END), kTen + 12 * 600);
}

// An end before the start once left the previous range on the area tabs.
TEST_F(GraphAreaTabs, AnEndBeforeTheStartRemovesTheAreaTabsAndSaysWhy)
{
    ASSERT_TRUE(SaveMission(dir.path("a.tavo"), 13, kTen));
    dialog.OpenDataFile(dir.path("a.tavo"), "a.tavo");
    Settle();
    QTest::mouseClick(SaveSelection(), Qt::LeftButton);
    Settle();
    ASSERT_EQ(Bar()->count(), 5);
    Picker(CGraphPage::IDC_SELECTION_END)->setDateTime(QDateTime::fromSecsSinceEpoch(kTen - 600));
    dialog.Graph()->OnSelectionTimer();
    Settle();
    EXPECT_EQ(dialog.StatusText(), " Selection refused: the end time is before the start time.");
    EXPECT_EQ(Bar()->count(), 3);
    EXPECT_EQ(Bar()->currentIndex(), 0);
    EXPECT_FALSE(dialog.Summary()->isHidden());
    EXPECT_EQ(dialog.Connection().Range().m_nCount, 0);
    EXPECT_TRUE(notices.empty());
}

// The CLI's --from/--to and the window's area pages show the same rows.
TEST_F(GraphAreaTabs, TheCliRangeGivesTheRowsOfTheAreaSummary)
{
    const QString mission = QStringLiteral(HALVERN_SAMPLES "/mission.tavo");
    dialog.OpenDataFile(mission, "mission.tavo");
    Settle();
    const QDateTime from = QDateTime::fromString(QStringLiteral("2026-06-16T10:07:00"), Qt::ISODate);
    const QDateTime to = QDateTime::fromString(QStringLiteral("2026-06-16T12:00:00"), Qt::ISODate);
    Picker(CGraphPage::IDC_SELECTION_START)->setDateTime(from);
    Picker(CGraphPage::IDC_SELECTION_END)->setDateTime(to);
    QTest::mouseClick(SaveSelection(), Qt::LeftButton);
    Settle();
    ASSERT_GT(dialog.Connection().Range().m_nCount, 0);

    QProcess cli;
    cli.start(QStringLiteral(HALVERN_BINARY_DIR "/halvern-th-cli"),
              {QStringLiteral("info"), mission, QStringLiteral("--unit"), QStringLiteral("C"), QStringLiteral("--from"),
               from.toString(QStringLiteral("yyyy-MM-dd HH:mm")), QStringLiteral("--to"),
               to.toString(QStringLiteral("yyyy-MM-dd HH:mm"))});
    ASSERT_TRUE(cli.waitForFinished(30000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    QStringList cliValues;
    for (const QString& line : QString::fromUtf8(cli.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
        cliValues << line.section('\t', 1).trimmed();

    const int valueIds[] = {
        CSummaryPage::IDC_ID_VALUE, CSummaryPage::IDC_START_VALUE, CSummaryPage::IDC_STOP_VALUE,
        CSummaryPage::IDC_INTERVAL_VALUE, CSummaryPage::IDC_COUNT_VALUE, CSummaryPage::IDC_MAX_VALUE,
        CSummaryPage::IDC_MIN_VALUE, CSummaryPage::IDC_AVG_VALUE, CSummaryPage::IDC_MKT_VALUE,
        CSummaryPage::IDC_HIGH_LIMIT_VALUE, CSummaryPage::IDC_LOW_LIMIT_VALUE, CSummaryPage::IDC_HUMI_MAX_VALUE,
        CSummaryPage::IDC_HUMI_MIN_VALUE, CSummaryPage::IDC_HUMI_AVG_VALUE, CSummaryPage::IDC_HUMI_HIGH_LIMIT_VALUE,
        CSummaryPage::IDC_HUMI_LOW_LIMIT_VALUE, CSummaryPage::IDC_DESCRIPTION_VALUE,
    };
    QStringList pageValues;
    for (const int id : valueIds)
        if (const QString text = dialog.AreaSummary()->Static(id)->text().trimmed(); !text.isEmpty())
            pageValues << text;
    ASSERT_EQ(cliValues.size(), 17); // every row of a temperature+humidity record with limits
    cliValues.sort();
    pageValues.sort();
    EXPECT_EQ(cliValues.join(QLatin1Char('|')).toStdString(), pageValues.join(QLatin1Char('|')).toStdString());
}
