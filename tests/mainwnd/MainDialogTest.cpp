#include "datafile/LoggerFile.h"
#include "mainwnd/CommandLineFile.h"
#include "mainwnd/MainDialog.h"
#include "base/QtMessagePoster.h"
#include "base/TextTable.h"
#include "link/usb/Ch375Library.h"
#include "views/SummaryPage.h"
#include "mainwnd/TabHost.h"
#include "report/ui/PrintPreviewDlg.h"
#include "sim/usb/VirtualCh375.h"
#include "support/TempDir.h"
#include "views/DataListPage.h"
#include "views/GraphPage.h"
#include "views/AlarmFormView.h"
#include "views/RecordFixture.h"
#include "views/SampleTableModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {


bool SaveMission(const QString& path, const char* id, int type, int count)
{
    CLoggerRecord source;
    FillMission(source, type, count);
    source.m_strValue[ROW_ID] = QString::fromLatin1(id);
    source.m_strValue[ROW_DESCRIPTION] = QStringLiteral("Shelf 3");
    CLoggerFile file(path, CLoggerFile::ModeWrite);
    return file.IsOutputOpen() && file.Save(source, false);
}

// A worksheet's rows as CSV: a file the user may take for a data file.
bool WriteCsv(const QString& path)
{
    QFile csv(path);
    if (!csv.open(QIODevice::WriteOnly))
        return false;
    csv.write("Num,RecordTime,Temperature\n");
    for (int i = 1; i <= 10; ++i)
        csv.write(QStringLiteral("%1,2024-3-5 10:%2,20.%3\n").arg(i).arg(i * 5, 2, 10, QLatin1Char('0')).arg(i).toUtf8());
    return true;
}

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

class MainDialog : public ::testing::Test {
protected:
    MainDialog() { InstallQtMessagePoster(); }
    ~MainDialog() override { SetMessagePoster({}); }
    QString Value(CSummaryPage* page, int id) const { return page->Static(id)->text(); }
    QAbstractButton* Button(int id) const { return dialog.Control<QAbstractButton>(id); }
    QString Cell(int row, int column) const
    {
        return dialog.DataList()->Model()->index(row, column).data().toString();
    }

    TempDir dir;
    CMainDialog dialog{{TempUnit::Fahrenheit}, QSize(1920, 1080)};
};

} // namespace

TEST_F(MainDialog, StartsWithItsTextsAndButtons)
{
    EXPECT_EQ(dialog.windowTitle(), "Halvern Software TH");
    EXPECT_EQ(dialog.StatusText(), " Ready...");
    // Each caption with its access key marked.
    const std::pair<int, const char*> texts[] = {
        {CMainDialog::IDC_DOWNLOAD, "&Download"}, {CMainDialog::IDC_SAVE, "&Save"},
        {CMainDialog::IDC_OPEN, "&Open"},         {CMainDialog::IDC_PRINT, "&Print"},
        {CMainDialog::IDC_START_SETTING, "S&tart Setting"}, {CMainDialog::IDCANCEL, "E&xit"},
        {CMainDialog::IDC_CALIBRATE, "&Calibration Time"},
    };
    for (const auto& [id, text] : texts)
        EXPECT_EQ(Button(id)->text(), text) << id;
    EXPECT_EQ(Button(CMainDialog::IDC_UNIT_C)->text(), kUnitC);
    // The unit in force, degrees F, is checked from the start.
    EXPECT_FALSE(Button(CMainDialog::IDC_UNIT_C)->isChecked());
    EXPECT_TRUE(Button(CMainDialog::IDC_UNIT_F)->isChecked());
    EXPECT_FALSE(dialog.IsButtonEnabled(CMainDialog::IDC_CALIBRATE));
    EXPECT_FALSE(dialog.IsButtonEnabled(CMainDialog::IDC_START_SETTING));
    EXPECT_TRUE(dialog.IsButtonEnabled(CMainDialog::IDC_DOWNLOAD));
    EXPECT_TRUE(dialog.Control(CMainDialog::IDC_LOGGER_CLOCK)->isHidden());
    EXPECT_TRUE(dialog.Control(CMainDialog::IDC_RUN_STATE)->isHidden());
    auto* progress = dialog.Control<QProgressBar>(CMainDialog::IDC_PROGRESS);
    EXPECT_EQ(progress->maximum(), 200);
    EXPECT_EQ(dialog.Tabs()->Bar()->count(), 3);
    EXPECT_EQ(dialog.Tabs()->Bar()->tabText(0), "Summary");
    EXPECT_EQ(dialog.Tabs()->Bar()->tabText(1), "Data");
    EXPECT_EQ(dialog.Tabs()->Bar()->tabText(2), "Alarms");
    EXPECT_FALSE(dialog.Summary()->isHidden());
    EXPECT_TRUE(dialog.DataList()->isHidden());
}

TEST_F(MainDialog, OpeningFilesOfEachTypeShowsTheirPages)
{
    struct Case {
        const char* id;
        int type;
        int columns;
    };
    const Case cases[] = {
        {"U1000000001", 1, 3}, {"D2000000002", 2, 3}, {"UT300000003", 3, 3},
        {"UTH40000004", 4, 4}, {"I5000000005", 5, 3}, {"DI600000006", 6, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const QString name = QStringLiteral("run%1.tavo").arg(c.type);
        ASSERT_TRUE(SaveMission(dir.path(name), c.id, c.type, 40));
        dialog.EnableButton(CMainDialog::IDC_START_SETTING, true);
        dialog.OpenDataFile(dir.path(name), name);
        Settle();
        EXPECT_EQ(dialog.StatusText(), " File opened: " + name);
        EXPECT_EQ(Value(dialog.Summary(), CSummaryPage::IDC_ID_VALUE), c.id);
        EXPECT_EQ(Value(dialog.Summary(), CSummaryPage::IDC_COUNT_VALUE), "40");
        EXPECT_EQ(Value(dialog.Summary(), CSummaryPage::IDC_DESCRIPTION_VALUE), "Shelf 3");
        EXPECT_EQ(dialog.Summary()->Control(1076)->isHidden(), c.type != 4);
        EXPECT_EQ(dialog.DataList()->Model()->rowCount(), 40);
        EXPECT_EQ(dialog.DataList()->Model()->columnCount(), c.columns);
        EXPECT_EQ(Cell(10, 2), "68.00" + kUnitF);
        EXPECT_EQ(Cell(0, 2), "50.00" + kUnitF + (c.type == 2 || c.type == 5 ? "" : "*"));
        EXPECT_FALSE(dialog.IsButtonEnabled(CMainDialog::IDC_START_SETTING));
        EXPECT_EQ(dialog.Workflow().m_bMayConfigure, 0);
        auto* temp = dialog.Graph()->Control<QLineEdit>(CGraphPage::IDC_TEMP_READOUT);
        dialog.Graph()->Redraw();
        dialog.Graph()->UpdateReadouts();
        EXPECT_TRUE(temp->text().endsWith("   50.00"));
        EXPECT_TRUE(dialog.Graph()->Control(CGraphPage::IDC_SAVE_SELECTION)->isEnabled());
    }
}

// A refused file once emptied the graph, the data list and the humidity
// rows while the summary kept the old mission, and lost a download not yet
// saved; the status line gave no reason.
TEST_F(MainDialog, AFailedOpenKeepsTheShownRecordAndSaysWhy)
{
    ASSERT_TRUE(SaveMission(dir.path("good.tavo"), "UTH40000004", 4, 30));
    ASSERT_TRUE(dialog.OpenDataFile(dir.path("good.tavo"), "good.tavo"));
    Settle();
    ASSERT_TRUE(WriteCsv(dir.path("bad.tavo")));
    QFile::copy(dir.path("good.tavo"), dir.path("short.tavo"));
    QFile::resize(dir.path("short.tavo"), QFileInfo(dir.path("good.tavo")).size() - 7);
    QFile::copy(dir.path("good.tavo"), dir.path("locked.tavo"));
    QFile::setPermissions(dir.path("locked.tavo"), QFileDevice::WriteOwner);
    QDir(dir.root()).mkdir("folder.tavo");
    dialog.EnableButton(CMainDialog::IDC_START_SETTING, true);
    auto* showHumi = dialog.Graph()->Control<QCheckBox>(CGraphPage::IDC_SHOW_HUMI);
    const QString maxValue = Value(dialog.Summary(), CSummaryPage::IDC_MAX_VALUE);
    const QDateTime pickerStart =
        dialog.Graph()->Control<QDateTimeEdit>(CGraphPage::IDC_SELECTION_START)->dateTime();

    struct Case {
        const char* name;
        const char* why;
    } const cases[] = {
        {"bad.tavo", "damaged: the header's third number is 0"},
        {"short.tavo", "damaged: its size does not match its sample count"},
        {"missing.tavo", "no such file"},
        {"folder.tavo", "is a directory"},
        {"locked.tavo", "permission denied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (QFileInfo(dir.path(c.name)).isReadable() && QByteArray(c.why) == "permission denied")
            continue; // root reads any file
        EXPECT_FALSE(dialog.OpenDataFile(dir.path(c.name), c.name));
        Settle();
        EXPECT_EQ(dialog.StatusText().toStdString(),
                  QStringLiteral(" Could not open the file: %1: %2").arg(c.name, c.why).toStdString());
        EXPECT_EQ(dialog.Connection().Record().m_nCount, 30);
        EXPECT_EQ(Value(dialog.Summary(), CSummaryPage::IDC_ID_VALUE), "UTH40000004");
        EXPECT_EQ(Value(dialog.Summary(), CSummaryPage::IDC_MAX_VALUE), maxValue);
        EXPECT_FALSE(dialog.Summary()->Control(CSummaryPage::IDC_HUMI_MAX_VALUE)->isHidden());
        EXPECT_EQ(dialog.DataList()->Model()->rowCount(), 30);
        EXPECT_EQ(dialog.DataList()->Model()->columnCount(), 4);
        EXPECT_TRUE(showHumi->isChecked());
        EXPECT_EQ(dialog.Graph()->Points().sampleCount, 30);
        EXPECT_EQ(dialog.Graph()->Control<QDateTimeEdit>(CGraphPage::IDC_SELECTION_START)->dateTime(),
                  pickerStart);
        EXPECT_TRUE(dialog.Graph()->Control(CGraphPage::IDC_SAVE_SELECTION)->isEnabled());
        EXPECT_TRUE(dialog.IsButtonEnabled(CMainDialog::IDC_START_SETTING));
    }
    // A bare name on the command line has no name part: the path says which file.
    EXPECT_FALSE(dialog.OpenDataFile(dir.path("bad.tavo"), QString()));
    EXPECT_EQ(dialog.StatusText().toStdString(),
              (" Could not open the file: " + dir.path("bad.tavo") + ": damaged: the header's third number is 0").toStdString());
}

TEST_F(MainDialog, OpenCommandReadsTheChosenFileAndSaysWhyOneIsRefused)
{
    ASSERT_TRUE(SaveMission(dir.path("run1.tavo"), "U1000000001", 1, 10));
    ASSERT_TRUE(QFile::copy(dir.path("run1.tavo"), dir.path("RUN2.TAVO")));
    ASSERT_TRUE(WriteCsv(dir.path("x.csv")));
    QString started;
    QString answer;
    dialog.SetOpenFileChooser([&](const QString& start) {
        started = start;
        return answer;
    });
    dialog.Connection().Range().SetCount(3);
    dialog.Connection().Range().m_nReceived = dialog.Connection().Range().m_nCount;

    answer.clear(); // cancelled
    Button(CMainDialog::IDC_OPEN)->click();
    EXPECT_EQ(dialog.StatusText(), " Ready...");
    struct Case {
        const char* name;
        const char* status;
    } const refused[] = {
        {"x.csv", " Could not open the file: x.csv: damaged: the header's third number is 0"},
        {"y.csv", " Could not open the file: y.csv: no such file"},
    };
    for (const Case& c : refused) {
        answer = dir.path(c.name);
        Button(CMainDialog::IDC_OPEN)->click();
        EXPECT_EQ(dialog.StatusText().toStdString(), c.status);
        EXPECT_EQ(dialog.Connection().Range().m_nCount, 3) << c.name; // a refused file leaves the selection
    }

    answer = dir.path("run1.tavo");
    Button(CMainDialog::IDC_OPEN)->click();
    EXPECT_EQ(dialog.StatusText(), " File opened: run1.tavo");
    EXPECT_EQ(dialog.Connection().Range().m_nCount, 0);
    EXPECT_EQ(dialog.Connection().Range().m_nReceived, 0);
    EXPECT_EQ(dialog.OpenStartFolder(), dir.root());
    // The file's content decides, not the case of its name.
    answer = dir.path("RUN2.TAVO");
    Button(CMainDialog::IDC_OPEN)->click();
    EXPECT_EQ(dialog.StatusText(), " File opened: RUN2.TAVO");
    EXPECT_EQ(started, dir.root());
}

TEST_F(MainDialog, CommandLineFileOpensAtStartAfterTheLoggerSearch)
{
    ASSERT_TRUE(SaveMission(dir.path("run1.tavo"), "UTH40000004", 4, 12));
    CVirtualCh375 noLoggers;
    SetCh375Library(&noLoggers);
    {
        CMainDialog started({TempUnit::Fahrenheit}, QSize(1920, 1080));
        started.Start("\"" + dir.path("run1.tavo") + "\"");
        EXPECT_EQ(started.StatusText(), " File opened: run1.tavo");
        EXPECT_EQ(started.DataList()->Model()->rowCount(), 12);
    }
    SetCh375Library(nullptr);
}

TEST(CommandLineFile, QuotesExtensionAndName)
{
    struct Case {
        const char* text;
        const char* path;
        const char* name;
        const char* ext;
        bool data;
    };
    const Case cases[] = {
        {"", "", "", "", false},
        {"/home/u/run1.tavo", "/home/u/run1.tavo", "run1.tavo", "tavo", true},
        {"\"/home/u/my run.tavo\"", "/home/u/my run.tavo", "my run.tavo", "tavo", true},
        {"C:\\logs\\run1.tavo", "C:\\logs\\run1.tavo", "run1.tavo", "tavo", true},
        {"run1.tavo", "run1.tavo", "", "tavo", true},
        {"/home/u/RUN1.TAVO", "/home/u/RUN1.TAVO", "RUN1.TAVO", "TAVO", true},
        {"/home/u/Run1.Tavo", "/home/u/Run1.Tavo", "Run1.Tavo", "Tavo", true},
        {".tavo", ".tavo", "", "", false},
        {"\"\"", "\"\"", "", "", false},
        {"/home/u/run1.pdf", "/home/u/run1.pdf", "run1.pdf", "pdf", false},
    };
    for (const Case& c : cases) {
        const CommandLineFile f = ParseCommandLineFile(QString::fromUtf8(c.text));
        EXPECT_EQ(f.path, c.path) << c.text;
        EXPECT_EQ(f.name, c.name) << c.text;
        EXPECT_EQ(f.ext, c.ext) << c.text;
        EXPECT_EQ(f.IsDataFile(), c.data) << c.text;
    }
}

TEST_F(MainDialog, UnitRadiosReformatSummaryListAndGraphButNotTheArea)
{
    ASSERT_TRUE(SaveMission(dir.path("run.tavo"), "UTH40000004", 4, 20));
    dialog.OpenDataFile(dir.path("run.tavo"), "run.tavo");
    dialog.Connection().Range() = dialog.Connection().Record();
    dialog.ShowAreaTabs(true);
    const QString areaMax = Value(dialog.AreaSummary(), CSummaryPage::IDC_MAX_VALUE);
    ASSERT_TRUE(Value(dialog.Summary(), CSummaryPage::IDC_MAX_VALUE).endsWith(kUnitF));

    dialog.Summary()->Static(CSummaryPage::IDC_MAX_VALUE)->setText("sentinel");
    Button(CMainDialog::IDC_UNIT_F)->click();
    EXPECT_EQ(Value(dialog.Summary(), CSummaryPage::IDC_MAX_VALUE), "sentinel");

    Button(CMainDialog::IDC_UNIT_C)->click();
    EXPECT_EQ(dialog.Display().unit, TempUnit::Celsius);
    EXPECT_EQ(Value(dialog.Summary(), CSummaryPage::IDC_MAX_VALUE), "30.00" + kUnitC);
    EXPECT_EQ(Cell(10, 2), "20.00" + kUnitC);
    auto* unitLabel = dialog.Graph()->Control<QLabel>(CGraphPage::IDC_TEMP_UNIT);
    EXPECT_EQ(unitLabel->text(), kUnitC);
    EXPECT_EQ(Value(dialog.AreaSummary(), CSummaryPage::IDC_MAX_VALUE), areaMax);

    Button(CMainDialog::IDC_UNIT_F)->click();
    EXPECT_EQ(Value(dialog.Summary(), CSummaryPage::IDC_MAX_VALUE), "86.00" + kUnitF);
}

TEST_F(MainDialog, TabSwitchingWithAndWithoutASelection)
{
    QWidget* pages[] = {dialog.Summary(), dialog.DataList(), dialog.Alarms(), dialog.AreaSummary(),
                        dialog.AreaDataList()};
    auto shown = [&] {
        std::string s;
        for (QWidget* p : pages)
            s += p->isHidden() ? '-' : 'x';
        return s;
    };
    dialog.OnTabChanged(1);
    EXPECT_EQ(shown(), "-x---");
    dialog.OnTabChanged(2);
    EXPECT_EQ(shown(), "--x--");
    dialog.OnTabChanged(3); // no selection: nothing to show
    EXPECT_EQ(shown(), "--x--");
    dialog.OnTabChanged(0);
    EXPECT_EQ(shown(), "x----");

    dialog.Graph()->SetSelectionOn(true);
    dialog.ShowAreaTabs(true);
    EXPECT_EQ(dialog.Tabs()->Bar()->count(), 5);
    EXPECT_EQ(dialog.Tabs()->Bar()->tabText(2), "Alarms");
    EXPECT_EQ(dialog.Tabs()->Bar()->tabText(3), "Area Summary");
    EXPECT_EQ(dialog.Tabs()->Bar()->tabText(4), "Area Data");
    EXPECT_EQ(dialog.Tabs()->Bar()->currentIndex(), 3);
    EXPECT_EQ(shown(), "---x-");
    EXPECT_EQ(dialog.AreaSummary()->m_pRecord, &dialog.Connection().Range());
    dialog.Tabs()->Bar()->setCurrentIndex(4);
    EXPECT_EQ(shown(), "----x");
    dialog.Tabs()->Bar()->setCurrentIndex(2);
    EXPECT_EQ(shown(), "--x--");
    dialog.Tabs()->Bar()->setCurrentIndex(1);
    EXPECT_EQ(shown(), "-x---");
    dialog.Graph()->SetSelectionOn(false);
    dialog.OnTabChanged(4);
    EXPECT_EQ(shown(), "-x---");

    dialog.Graph()->OnGraphReset(false); // clears the selection: the area tabs go
    EXPECT_EQ(dialog.Tabs()->Bar()->count(), 5); // not before the reset has returned
    Settle();
    EXPECT_EQ(dialog.Tabs()->Bar()->count(), 3);
    EXPECT_EQ(dialog.Tabs()->Bar()->currentIndex(), 0);
    EXPECT_EQ(shown(), "x----");
}

// Exit once asked "Sure to exit?" every time, even right after a save: now
// only when leaving would lose a download not saved (all of it). Yes
// leaves, No stays; the close box does as Exit.
TEST_F(MainDialog, ExitAsksOnlyWhenADownloadIsNotSaved)
{
    ASSERT_TRUE(SaveMission(dir.path("file.tavo"), "UTH40000004", 4, 20));
    using Step = std::function<void(CMainDialog&)>;
    const Step download = [](CMainDialog& d) {
        FillMission(d.Connection().Record(), 4, 30);
        d.RecordChanged(); // what the workflow calls when a download completes
    };
    const Step save = [](CMainDialog& d) { d.OnSave(); };
    const Step saveRange = [](CMainDialog& d) {
        FillMission(d.Connection().Range(), 4, 10);
        d.OnSave();
        d.Connection().Range().Reset();
    };
    const Step open = [this](CMainDialog& d) { d.OpenDataFile(dir.path("file.tavo"), "file.tavo"); };
    struct Case {
        const char* what;
        std::vector<Step> steps;
        bool asks;
    } const cases[] = {
        {"nothing downloaded", {}, false},
        {"a file opened", {open}, false},
        {"a download", {download}, true},
        {"a download, then a range of it saved", {download, saveRange}, true},
        {"a download, then saved", {download, save}, false},
        {"a download, then a file opened", {download, open}, false},
    };
    int saves = 0; // each save writes a new file: no question about replacing one
    for (const Case& c : cases) {
        for (const bool closeBox : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (closeBox ? " (close box)" : ""));
            CMainDialog d({TempUnit::Fahrenheit}, QSize(1920, 1080));
            QStringList asked;
            bool yes = false;
            d.SetAsker([&](const QString& q) {
                asked << q;
                return yes;
            });
            d.SetSaveFileChooser([this, &saves](const QString&, const QStringList& filters) {
                return CMainDialog::SaveChoice{dir.path(QStringLiteral("saved%1").arg(++saves)), filters.first()};
            });
            for (const Step& step : c.steps)
                step(d);
            d.show();
            const auto leave = [&] {
                if (closeBox)
                    d.close();
                else
                    d.Control<QAbstractButton>(CMainDialog::IDCANCEL)->click();
            };
            leave();
            if (!c.asks) {
                EXPECT_TRUE(asked.isEmpty()) << qPrintable(asked.join('|'));
                EXPECT_FALSE(d.isVisible());
                continue;
            }
            ASSERT_EQ(asked, QStringList{GetText(TextId::SureToExit, 0)});
            EXPECT_TRUE(d.isVisible());
            yes = true;
            leave();
            EXPECT_FALSE(d.isVisible());
            EXPECT_EQ(d.result(), QDialog::Rejected);
        }
    }
}

TEST_F(MainDialog, PostedMessagesReachTheWorkflow)
{
    PostToMain(dialog.Workflow().Address(), UsbNotify{Ch375Library::kDeviceRemoved});
    Settle();
    EXPECT_EQ(dialog.StatusText(), GetText(ToInt(TextId::Disconnecting), 0));
    bool called = false;
    PostToMain(dialog.Workflow().Address(), QueuedCall{[&called] { called = true; }});
    Settle();
    EXPECT_TRUE(called);
}

TEST_F(MainDialog, AboutBoxOpensAndClosesWithoutChangingTheWindow)
{
    dialog.show();
    dialog.SetStatusText("kept");
    QAction* about = nullptr;
    for (QAction* a : dialog.actions())
        if (a->text() == "&About Halvern Software TH...")
            about = a;
    ASSERT_NE(about, nullptr);
    QString title;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            box->accept();
        }
    });
    about->trigger();
    EXPECT_EQ(title, "About Halvern Software TH");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.StatusText(), "kept");
}

TEST_F(MainDialog, RefreshedDataViewsTakeTheRecordAgain)
{
    FillMission(dialog.Connection().Record(), 4, 25);
    dialog.RefreshDataViews();
    EXPECT_EQ(dialog.DataList()->Model()->rowCount(), 25);
    EXPECT_EQ(dialog.DataList()->Model()->columnCount(), 4);
}

// Printing to a PDF file ended without a word on the status line.
TEST_F(MainDialog, PrintingToAPdfFileIsSaidOnTheStatusLine)
{
    FillMission(dialog.Connection().Record(), 4, 30);
    dialog.show();
    const QString path = dir.path("report.pdf");
    QTimer::singleShot(0, [&] {
        auto* print = qobject_cast<CPrintPreviewDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(print, nullptr);
        print->SetPrinterChooser([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return true;
        });
        print->Control<QAbstractButton>(CPrintPreviewDlg::IDC_PRINT)->click();
        print->reject();
    });
    dialog.OpenPrintDialog();
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(dialog.StatusText(), " Printed 1 page to report.pdf.");
}
