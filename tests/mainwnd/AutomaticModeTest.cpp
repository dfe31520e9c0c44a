// Automatic mode in the window: a receiving station takes every virtual
// logger in place of the window's own connection, files each mission into
// the archive folder and lists it in the Station tab; switched off, the
// window finds its logger as before. The settings live in a temporary
// folder, never in the user's.
#include "archive/Archive.h"
#include "archive/ArchiveAddress.h"
#include "base/QtMessagePoster.h"
#include "mainwnd/MainDialog.h"
#include "mainwnd/StationRowModel.h"
#include "mainwnd/StationRunner.h"
#include "mainwnd/StationSettingsDlg.h"
#include "mainwnd/StationView.h"
#include "mainwnd/TabHost.h"
#include "record/LoggerRecord.h"
#include "sim/DemoLogger.h"
#include "support/TempDir.h"
#include "views/DataListPage.h"
#include "views/SampleTableModel.h"
#include "views/SummaryPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Dlg = CMainDialog;

// Below the test program's own time limit, so a station that never ends fails here.
constexpr int kTimeoutMs = 30000;

bool Ended(const StationRow& row)
{
    return row.state != StationState::Identifying && row.state != StationState::Downloading;
}

// "usb:4,serial:3": the virtual loggers, each with an ID of its own.
std::vector<SimulateSpec> Loggers(const char* kinds)
{
    std::vector<SimulateSpec> chosen;
    QString error;
    EXPECT_TRUE(ParseSimulateList(QString::fromLatin1(kinds), SimulateSpec{}, chosen, error)) << error.toStdString();
    return chosen;
}

// The window with virtual loggers and the settings in a folder of its own;
// Automatic on and the archive folder chosen before the window starts.
class AutomaticMode : public ::testing::Test {
protected:
    explicit AutomaticMode(std::vector<SimulateSpec> loggers = Loggers("usb:4,usb:1,serial:3"))
        : demo(std::move(loggers))
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path("config"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path("data")));
        InstallQtMessagePoster();
    }
    ~AutomaticMode() override
    {
        dialog.reset();
        SetMessagePoster({});
        QSettings().clear();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
        qunsetenv("XDG_DATA_HOME");
    }

    void Open(const QString& folder)
    {
        StationPreferences preferences;
        preferences.automatic = true;
        preferences.station.folder = folder;
        preferences.station.reports = {.pdf = false, .xlsx = false, .csv = true};
        QSettings settings;
        SaveStationPreferences(settings, preferences);
        settings.sync();
        dialog = std::make_unique<Dlg>(DisplaySettings{TempUnit::Celsius}, QSize(1920, 1080));
        dialog->show();
        dialog->Start();
    }
    // Plugs the loggers in and waits until the station has ended with each.
    void PlugInAndWait()
    {
        ASSERT_TRUE(demo.PlugIn());
        ASSERT_TRUE(QTest::qWaitFor([this] {
            if (static_cast<int>(Rows().size()) < demo.Count())
                return false;
            return std::all_of(Rows().begin(), Rows().end(), Ended);
        }, kTimeoutMs)) << dialog->StatusText().toStdString();
    }
    const std::vector<StationRow>& Rows() const { return dialog->StationRows()->Rows(); }
    const StationRow* RowOf(const QString& id) const
    {
        for (const StationRow& row : Rows())
            if (row.logger == id)
                return &row;
        return nullptr;
    }
    QString Cell(int row, int column) const
    {
        const CStationRowModel* model = dialog->StationRows();
        return model->data(model->index(row, column), Qt::DisplayRole).toString();
    }
    QString ShownId() const { return dialog->Summary()->Static(CSummaryPage::IDC_ID_VALUE)->text(); }
    int TabCount() const { return dialog->Tabs()->Bar()->count(); }

    TempDir dir;
    CDemoLogger demo;
    std::unique_ptr<Dlg> dialog;
};

TEST_F(AutomaticMode, FilesEveryLoggerWithoutADialogAndADoubleClickOpensItsMission)
{
    const QString folder = dir.path("archive");
    Open(folder);
    EXPECT_EQ(TabCount(), 4);
    EXPECT_TRUE(dialog->StationView()->isVisible());
    EXPECT_FALSE(dialog->IsButtonEnabled(Dlg::IDC_DOWNLOAD));
    PlugInAndWait();

    ASSERT_EQ(static_cast<int>(Rows().size()), demo.Count());
    for (int i = 0; i < demo.Count(); ++i) {
        SCOPED_TRACE(i);
        const StationRow* row = RowOf(demo.Id(i));
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->state, StationState::Archived) << row->reason.toStdString();
        EXPECT_TRUE(row->reason.isEmpty()) << row->reason.toStdString(); // indexed as well
        ASSERT_EQ(row->files.size(), 2);
        for (const QString& file : row->files) {
            EXPECT_TRUE(QFileInfo(file).isFile()) << file.toStdString();
            EXPECT_EQ(QFileInfo(file).absolutePath(), QDir(folder).filePath(demo.Id(i)));
        }
        EXPECT_TRUE(row->dataFile.endsWith(QLatin1String(".tavo")));
        EXPECT_GT(row->samples, 100);
    }
    EXPECT_EQ(Cell(0, CStationRowModel::State), "archived");
    EXPECT_EQ(Cell(0, CStationRowModel::Link), "USB 0");
    EXPECT_EQ(Cell(0, CStationRowModel::Samples), QString::number(Rows()[0].samples));

    // The missions are in the archive index at its default address.
    CArchive index;
    QString error;
    ArchiveAddress address;
    address.path = DefaultArchivePath();
    ASSERT_TRUE(index.Open(address, error)) << error.toStdString();
    MissionRow newest;
    bool found = false;
    ASSERT_TRUE(index.FindNewest(demo.Id(2), newest, found, error));
    EXPECT_TRUE(found);

    // The window's own connection let go of the loggers: nothing was shown.
    EXPECT_TRUE(ShownId().trimmed().isEmpty());

    CStationView* view = dialog->StationView();
    const QModelIndex second = dialog->StationRows()->index(1, CStationRowModel::Id);
    view->scrollTo(second);
    // As a user does it: a press (which a view needs first), then the double click.
    const QPoint at = view->visualRect(second).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(ShownId(), Rows()[1].logger);
    EXPECT_EQ(dialog->DataList()->Model()->rowCount(), Rows()[1].samples);
    EXPECT_TRUE(dialog->Summary()->isVisible());
    EXPECT_TRUE(dialog->StatusText().contains(QFileInfo(Rows()[1].dataFile).fileName()));
}

struct OffCase {
    const char* loggers;
    int shown; // the logger the window takes: the highest USB one, else the highest port
};

class AutomaticOff : public AutomaticMode, public ::testing::WithParamInterface<OffCase> {
protected:
    AutomaticOff() : AutomaticMode(Loggers(GetParam().loggers)) {}
};

// Switched off, the window takes a logger as it always did and the choice is
// remembered; switched on again, the window's connection has let go of that
// logger and the station finds every mission filed already.
TEST_P(AutomaticOff, GivesTheLoggersBackToTheWindowAndOnAgainFindsThemFiled)
{
    Open(dir.path("archive"));
    PlugInAndWait();

    dialog->Control<QCheckBox>(Dlg::IDC_AUTOMATIC)->click();
    EXPECT_FALSE(dialog->Automatic());
    EXPECT_FALSE(dialog->Station()->Running());
    EXPECT_FALSE(LoadStationPreferences(QSettings()).automatic);
    EXPECT_EQ(TabCount(), 3);
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialog->Workflow().State() == LinkState::Ready; }, kTimeoutMs))
        << dialog->StatusText().toStdString();
    EXPECT_EQ(ShownId(), demo.Id(GetParam().shown));
    EXPECT_TRUE(dialog->IsButtonEnabled(Dlg::IDC_DOWNLOAD));

    dialog->SetAutomatic(true, false);
    EXPECT_FALSE(LoadStationPreferences(QSettings()).automatic);
    // The window's own connection polls its logger no more.
    for (const int id : {TIMER_USB_DOWNLOAD, TIMER_USB_STATUS, TIMER_SERIAL_RETRY, TIMER_SERIAL_DOWNLOAD, TIMER_SERIAL_STATUS})
        EXPECT_FALSE(dialog->Timer(id)->isActive()) << id;
    ASSERT_TRUE(QTest::qWaitFor([this] {
        return static_cast<int>(Rows().size()) == demo.Count() && std::all_of(Rows().begin(), Rows().end(), Ended);
    }, kTimeoutMs));
    for (const StationRow& row : Rows())
        EXPECT_EQ(row.state, StationState::AlreadyArchived) << row.logger.toStdString() << " " << row.reason.toStdString();
    EXPECT_EQ(Cell(0, CStationRowModel::State), "already archived");
}

INSTANTIATE_TEST_SUITE_P(UsbOrSerial, AutomaticOff,
                         ::testing::Values(OffCase{"usb:4,usb:1,serial:3", 1}, OffCase{"serial:3", 0}),
                         [](const auto& info) { return info.param.shown == 1 ? std::string("UsbAndSerial") : std::string("Serial"); });

class AutomaticModeFailing : public AutomaticMode {
protected:
    AutomaticModeFailing() : AutomaticMode(Loggers("usb:4,serial:2")) {}
};

// An archive folder that cannot be made (under a regular file) fails each
// logger with its reason, on its row and on the status line, and writes
// nothing; an index that cannot be opened is said once, and filing goes on
// without it.
TEST_F(AutomaticModeFailing, SaysWhyOnTheRowAndTheStatusLine)
{
    QFile blocker(dir.path("file.txt"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path("file.txt/data")));
    Open(dir.path("file.txt/sub"));
    EXPECT_TRUE(dialog->StatusText().startsWith(QLatin1String(" The archive index cannot be opened")))
        << dialog->StatusText().toStdString();
    PlugInAndWait();

    for (int i = 0; i < static_cast<int>(Rows().size()); ++i) {
        const StationRow& row = Rows()[static_cast<std::size_t>(i)];
        SCOPED_TRACE(row.logger.toStdString());
        EXPECT_EQ(row.state, StationState::Failed);
        EXPECT_TRUE(row.reason.contains(QLatin1String("file.txt/sub"))) << row.reason.toStdString();
        EXPECT_TRUE(row.files.isEmpty());
        EXPECT_EQ(Cell(i, CStationRowModel::State), QStringLiteral("failed: ") + row.reason);
    }
    EXPECT_EQ(QFileInfo(dir.path("file.txt")).size(), 0);
    EXPECT_TRUE(dialog->StatusText().contains(QLatin1String("failed: "))) << dialog->StatusText().toStdString();
    EXPECT_TRUE(dialog->StatusText().contains(QLatin1String("file.txt/sub"))) << dialog->StatusText().toStdString();
}

class AutomaticModeOneLogger : public AutomaticMode {
protected:
    AutomaticModeOneLogger() : AutomaticMode(Loggers("usb:4")) {}
};

// What the settings dialog chooses is kept for the next run and taken up at
// once: the station starts over and files the logger still plugged in
// where the dialog says, with the reports it says.
TEST_F(AutomaticModeOneLogger, SettingsChosenInTheDialogAreKeptAndTakeEffectAtOnce)
{
    Open(dir.path("first"));
    PlugInAndWait();
    EXPECT_EQ(demo.Usb().Logger(0)->m_nRunState, 1); // left recording

    CStationSettingsDlg settings(LoadStationPreferences(QSettings()).station, 0);
    EXPECT_EQ(settings.Folder()->text(), dir.path("first"));
    settings.SetFolderChooser([this](const QString&) { return dir.path("second"); });
    settings.Browse();
    settings.Worksheet()->setChecked(true);
    settings.Csv()->setChecked(false);
    settings.StopAfterDownload()->setChecked(true);
    dialog->ApplyStationSettings(settings.Settings());

    const StationPreferences kept = LoadStationPreferences(QSettings());
    EXPECT_EQ(kept.station.folder, dir.path("second"));
    EXPECT_TRUE(kept.station.reports.xlsx);
    EXPECT_FALSE(kept.station.reports.csv);
    EXPECT_TRUE(kept.station.stopAfterDownload);
    EXPECT_TRUE(kept.automatic);

    ASSERT_TRUE(QTest::qWaitFor([this] { return Rows().size() == 1 && Ended(Rows()[0]) && !Rows()[0].files.isEmpty(); }, kTimeoutMs));
    const StationRow& row = Rows()[0];
    EXPECT_EQ(row.state, StationState::Archived) << row.reason.toStdString();
    ASSERT_EQ(row.files.size(), 2);
    EXPECT_TRUE(row.files[0].startsWith(dir.path("second/")));
    EXPECT_TRUE(row.files[1].endsWith(QLatin1String(".xlsx")));
    // The logger was told to stop once its mission was filed.
    ASSERT_TRUE(QTest::qWaitFor([this] { return demo.Usb().Logger(0)->m_nRunState == 0; }, kTimeoutMs));
}

} // namespace
