#include "TextFit.h"

#include "base/QtMessagePoster.h"
#include "base/TextTable.h"
#include "mainwnd/MainDialog.h"
#include "mainwnd/TabHost.h"
#include "record/LoggerRecord.h"
#include "record/Units.h"
#include "views/DataListPage.h"
#include "views/GraphPage.h"
#include "views/SummaryPage.h"

#include <QApplication>
#include <QLabel>
#include <QTabBar>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// Texts the status line, the run-state static and the logger clock show
// at one time or another.
constexpr TextId kStatusTexts[] = {
    TextId::Ready, TextId::Connected, TextId::Disconnecting, TextId::Connecting, TextId::Downloading,
    TextId::Malfunctioning, TextId::DownloadComplete, TextId::FileSaved, TextId::SaveFailed, TextId::FileOpened,
    TextId::OpenFailed, TextId::ClockSet, TextId::ClockSetFailed, TextId::DownloadFailed, TextId::Linking,
    TextId::Saving,
};
constexpr TextId kRunStateTexts[] = {TextId::NotStarted, TextId::Recording, TextId::DelayedStart};

// The widest values the summary's statistics can show: the loggers measure
// -40 to 85 degrees C.
const QString kWideValues[] = {QStringLiteral("-40.00\u00B0F"), QStringLiteral("185.00\u00B0F"),
                               QStringLiteral("100.00%RH")};

struct Layout {
    const char* name;
    std::uint16_t language;
    QSize screen;
};

// Scale 1.0 (a screen the unscaled window fills to 90 %), and the screens
// users have most.
const Layout kLayouts[] = {
    {"English 1.0", 0, {1200, 666}},       {"English 1366x768", 0, {1366, 768}},
    {"English 1920x1080", 0, {1920, 1080}}, {"Chinese 1.0", LANG_CHINESE, {1200, 666}},
    {"Chinese 1366x768", LANG_CHINESE, {1366, 768}}, {"Chinese 1920x1080", LANG_CHINESE, {1920, 1080}},
};

// Every text of the window, on every page, with the sample mission open, a
// range selected and the logger clock shown; then the texts the changing
// statics can take.
QStringList AllProblems(CMainDialog& dialog)
{
    dialog.show();
    dialog.OpenCommandLineFile(QStringLiteral(HALVERN_SAMPLES "/mission.tavo"));
    Settle();
    const CLoggerRecord& r = dialog.Connection().Record();
    dialog.Graph()->SelectTimeRange(r.m_tTime[0], r.m_tTime[r.m_nReceived / 2]);
    dialog.SetClockVisible(true);
    dialog.SetRunStateVisible(true);
    dialog.SetClockText(QStringLiteral("2026-12-28 23:58:58") + QString(20, QLatin1Char(' ')));
    dialog.SetRunStateText(GetText(TextId::NotStarted, dialog.Display().language));
    Settle();

    QStringList problems;
    QTabBar* tabs = dialog.Tabs()->Bar();
    EXPECT_EQ(tabs->count(), 5); // Summary, Data, Alarms and the two area tabs
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        Settle();
        problems << WindowTextProblems(&dialog);
    }
    auto check = [&problems](const QWidget* control, const QString& text) {
        const QString p = TextFitProblem(control, text);
        if (!p.isEmpty())
            problems << p;
    };
    for (const TextId id : kStatusTexts)
        check(dialog.Control(CMainDialog::IDC_STATUS), GetText(id, dialog.Display().language));
    for (const TextId id : kRunStateTexts)
        check(dialog.Control(CMainDialog::IDC_RUN_STATE), GetText(id, dialog.Display().language));
    for (const QString& value : kWideValues)
        for (const int id : {CSummaryPage::IDC_MAX_VALUE, CSummaryPage::IDC_HIGH_LIMIT_VALUE})
            check(dialog.Summary()->Static(id), value);
    problems.removeDuplicates();
    return problems;
}

} // namespace

// Each text measured with its control's font and style against the room the
// control gives it, in both languages at the scales of common screens.
TEST(WindowTextFit, EveryTextFitsItsControl)
{
    InstallQtMessagePoster();
    for (const Layout& layout : kLayouts) {
        CMainDialog dialog(StartDisplay(layout.language), layout.screen);
        const QStringList problems = AllProblems(dialog);
        EXPECT_TRUE(problems.isEmpty()) << layout.name << " (scale " << dialog.Scale() << "):\n  "
                                        << qPrintable(problems.join(QStringLiteral("\n  ")));
    }
    SetMessagePoster({});
}

// The checker itself finds a clipped text and a character without a glyph.
TEST(WindowTextFit, CheckerFindsClippedTextsAndMissingGlyphs)
{
    CMainDialog dialog({}, {1920, 1080});
    const QWidget* status = dialog.Control(CMainDialog::IDC_STATUS);
    EXPECT_TRUE(TextFitProblem(status, QStringLiteral(" Ready...")).isEmpty());
    EXPECT_FALSE(TextFitProblem(status, QString(400, QLatin1Char('W'))).isEmpty());
    EXPECT_TRUE(TextFitProblem(status, QStringLiteral("\u5C31\u7EEA")).isEmpty());
    EXPECT_FALSE(TextFitProblem(status, QStringLiteral("\U000F0000")).isEmpty()); // private use: no font
    const QWidget* exit = dialog.Control(CMainDialog::IDCANCEL);
    EXPECT_FALSE(TextFitProblem(exit, QStringLiteral("Exit the program now")).isEmpty());
}
