#include "support/TempDir.h"

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

// The program itself: --screenshot renders the window with the bundled
// mission and exits.
TEST(Screenshot, ProgramWritesThePictureAndExits)
{
    const QString program = QStringLiteral(HALVERN_BINARY_DIR "/halvern-th");
    if (!QFileInfo(program).isExecutable())
        GTEST_SKIP() << "halvern-th is not built";
    TempDir dir;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(program, {QStringLiteral("--screenshot"), dir.path("shot.png"),
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

    process.start(program, {QStringLiteral("--screenshot"), dir.path("missing/shot.png")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_NE(process.exitCode(), 0);
}
