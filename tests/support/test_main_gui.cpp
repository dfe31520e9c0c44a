#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The offscreen platform, with one screen of the size HALVERN_TEST_SCREEN
// names ("1920x1080") where a test program asks for one; its own default
// screen (800 x 600) otherwise.
QByteArray OffscreenPlatform([[maybe_unused]] const QTemporaryDir& dir)
{
#ifdef HALVERN_TEST_SCREEN
    const QList<QByteArray> size = QByteArray(HALVERN_TEST_SCREEN).split('x');
    const QString path = dir.filePath(QStringLiteral("screen.json"));
    QFile file(path);
    if (size.size() == 2 && file.open(QIODevice::WriteOnly)) {
        file.write("{\"screens\": [{\"name\": \"test\", \"x\": 0, \"y\": 0, \"width\": " + size[0] + ", \"height\": "
                   + size[1] + ", \"logicalDpi\": 96, \"dpr\": 1}]}");
        file.close();
        return "offscreen:configfile=" + QFile::encodeName(path);
    }
#endif
    return "offscreen";
}

} // namespace

int main(int argc, char** argv)
{
    const QTemporaryDir dir;
    qputenv("QT_QPA_PLATFORM", OffscreenPlatform(dir));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
