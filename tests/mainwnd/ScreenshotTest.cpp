#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QImage>
#include <QProcess>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

const QString kProgram = QStringLiteral(HALVERN_BINARY_DIR "/halvern-th");

// The built program, run offscreen.
class ProgramRun : public QProcess {
public:
    ProgramRun()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        setProcessEnvironment(env);
    }
};

} // namespace

// The program itself: --screenshot renders the window with the bundled
// mission and exits.
TEST(Screenshot, ProgramWritesThePictureAndExits)
{
    ASSERT_TRUE(QFileInfo(kProgram).isExecutable());
    TempDir dir;
    ProgramRun process;
    process.start(kProgram, {QStringLiteral("--screenshot"), dir.path("shot.png"),
                            QStringLiteral(HALVERN_SAMPLES "/mission.tavo")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QImage image(dir.path("shot.png"));
    ASSERT_FALSE(image.isNull());
    EXPECT_LE(image.width(), 1728);
    EXPECT_LE(image.height(), 972);
    EXPECT_GT(image.width(), 1200);
    // The banner's dark blue at the top-left corner.
    EXPECT_LT(image.pixelColor(5, 5).lightness(), 80);

    process.start(kProgram, {QStringLiteral("--screenshot"), dir.path("missing/shot.png")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_NE(process.exitCode(), 0);
}

// The demo: a virtual USB logger is plugged in, identified and downloaded
// before the picture is taken; the program fails when that does not happen.
TEST(Screenshot, DemoModeDownloadsTheVirtualLoggerFirst)
{
    ASSERT_TRUE(QFileInfo(kProgram).isExecutable());
    TempDir dir;
    ProgramRun process;
    process.start(kProgram, {QStringLiteral("--simulate"), QStringLiteral("usb:4"), QStringLiteral("--download"),
                            QStringLiteral("--screenshot"), dir.path("demo.png")});
    ASSERT_TRUE(process.waitForFinished(50000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QImage image(dir.path("demo.png"));
    ASSERT_FALSE(image.isNull());
    // The temperature curve (255, 60, 60) crosses many rows of the graph's
    // right half; the dotted limit lines would fill only two.
    int rows = 0;
    for (int y = image.height() / 3; y < image.height() * 5 / 6; ++y) {
        bool curve = false;
        for (int x = image.width() / 2; x < image.width() && !curve; ++x) {
            const QColor c = image.pixelColor(x, y);
            curve = c.red() > 225 && std::abs(c.green() - 60) < 30 && std::abs(c.blue() - 60) < 30;
        }
        rows += curve;
    }
    EXPECT_GT(rows, 100);

    for (const char* wrong : {"floppy", "usb:5", "serial:1", "usb:x"}) {
        process.start(kProgram, {QStringLiteral("--simulate"), QString::fromLatin1(wrong)});
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 2) << wrong;
    }
}

// Several virtual loggers with --automatic: the picture is taken once the
// station has filed every one, each under an ID of its own, into the
// default archive folder of a home of its own; the choice is not remembered.
TEST(Screenshot, AutomaticWaitsUntilTheStationHasFiledEveryLogger)
{
    ASSERT_TRUE(QFileInfo(kProgram).isExecutable());
    TempDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.path("home/Documents")));
    ProgramRun process;
    QProcessEnvironment env = process.processEnvironment();
    env.insert(QStringLiteral("HOME"), dir.path("home"));
    for (const char* xdg : {"XDG_DATA_HOME", "XDG_CONFIG_HOME"})
        env.remove(QString::fromLatin1(xdg));
    process.setProcessEnvironment(env);
    process.start(kProgram, {QStringLiteral("--simulate"), QStringLiteral("usb:4,usb:4,serial:3"), QStringLiteral("--automatic"),
                            QStringLiteral("--screenshot"), dir.path("station.png")});
    ASSERT_TRUE(process.waitForFinished(50000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_FALSE(QImage(dir.path("station.png")).isNull());

    const QDir archive(dir.path("home/Documents/Halvern TH archive"));
    const QStringList ids = archive.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    EXPECT_EQ(ids.size(), 3) << ids.join(QLatin1Char(' ')).toStdString();
    for (const QString& id : ids)
        EXPECT_EQ(QDir(archive.filePath(id)).entryList({QStringLiteral("*.tavo")}, QDir::Files).size(), 1) << id.toStdString();
    const QString config = dir.path("home/.config/halvern-th/halvern-th.conf");
    EXPECT_FALSE(QFile::exists(config) && QSettings(config, QSettings::IniFormat).value("station/automatic").toBool());
}

// --select shades the chosen samples on the graph and adds the area tabs
// before the picture; a range the record does not hold fails, a malformed
// one or one without --screenshot is refused.
TEST(Screenshot, SelectTakesTheRangeFirst)
{
    TempDir dir;
    ProgramRun process;
    const QString mission = QStringLiteral(HALVERN_SAMPLES "/mission.tavo");
    const auto run = [&](const QStringList& extra, const QString& png) {
        process.start(kProgram, QStringList{QStringLiteral("--screenshot"), dir.path(png)} + extra + QStringList{mission});
        EXPECT_TRUE(process.waitForFinished(30000));
        return process.exitCode();
    };
    ASSERT_EQ(run({}, QStringLiteral("whole.png")), 0);
    ASSERT_EQ(run({QStringLiteral("--select"), QStringLiteral("20-60")}, QStringLiteral("range.png")), 0)
        << process.readAllStandardError().toStdString();
    const QImage whole(dir.path("whole.png"));
    const QImage range(dir.path("range.png"));
    ASSERT_EQ(whole.size(), range.size());
    // The tab row under the left pane gains the two area tabs.
    const int tabRow = whole.height() * 85 / 100;
    int changed = 0;
    for (int x = 0; x < whole.width() / 3; ++x)
        for (int y = tabRow; y < whole.height() * 88 / 100; ++y)
            changed += whole.pixel(x, y) != range.pixel(x, y);
    EXPECT_GT(changed, 100);

    EXPECT_EQ(run({QStringLiteral("--select"), QStringLiteral("20-99999")}, QStringLiteral("beyond.png")), 1);
    EXPECT_TRUE(process.readAllStandardError().contains("samples"));
    EXPECT_FALSE(QFile::exists(dir.path("beyond.png")));
    for (const char* wrong : {"0-5", "9-3", "5", "a-b", "5-5"})
        EXPECT_EQ(run({QStringLiteral("--select"), QString::fromLatin1(wrong)}, QStringLiteral("w.png")), 2) << wrong;
    process.start(kProgram, {QStringLiteral("--select"), QStringLiteral("1-5"), mission});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 2);
}
