#include "mainwnd/DisplayChoice.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

std::map<std::string, std::string> g_env;

const char* FakeEnv(const char* name)
{
    const auto it = g_env.find(name);
    return it == g_env.end() ? nullptr : it->second.c_str();
}

DisplayChoice Choose(std::vector<const char*> args, std::map<std::string, std::string> env)
{
    g_env = std::move(env);
    args.insert(args.begin(), "halvern-th");
    return ChooseDisplay(static_cast<int>(args.size()), args.data(), FakeEnv);
}

const QString kProgram = QStringLiteral(HALVERN_BINARY_DIR "/halvern-th");

// The program run with no display at all.
QProcess* RunWithoutDisplay(const QStringList& args)
{
    auto* process = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    process->setProcessEnvironment(env);
    process->start(kProgram, args);
    process->waitForFinished(30000);
    return process;
}

} // namespace

TEST(DisplayChoice, TextOptionsAndScreenshotsNeedNoDisplay)
{
    struct Case {
        std::vector<const char*> args;
        std::map<std::string, std::string> env;
        const char* platform;
        bool missing;
    };
    const std::map<std::string, std::string> x11{{"DISPLAY", ":0"}};
    const std::map<std::string, std::string> none{{"DISPLAY", ""}};
    const Case cases[] = {
        {{"--help"}, none, "offscreen", false},
        {{"-h"}, x11, "offscreen", false},
        {{"--version"}, {}, "offscreen", false},
        {{"--simulate", "usb", "-v"}, {}, "offscreen", false},
        {{"--screenshot", "a.png"}, {}, "offscreen", false},
        {{"--screenshot=a.png"}, {}, "offscreen", false},
        {{"--screenshot", "a.png"}, x11, "", false},   // a display is there: use it
        {{}, x11, "", false},
        {{}, {{"WAYLAND_DISPLAY", "wayland-0"}}, "", false},
        {{}, {}, "", true},
        {{"mission.tavo"}, none, "", true},
        {{"--", "--help"}, {}, "", true},               // a file named --help
        {{"--help"}, {{"QT_QPA_PLATFORM", "xcb"}}, "", false}, // the user's choice stands
        {{}, {{"QT_QPA_PLATFORM", "offscreen"}}, "", false},
    };
    for (const Case& c : cases) {
        const DisplayChoice choice = Choose(c.args, c.env);
        const std::string what = c.args.empty() ? "(none)" : c.args.back();
        EXPECT_EQ(choice.platform, QByteArray(c.platform)) << what;
        EXPECT_EQ(!choice.missing.isEmpty(), c.missing) << what;
    }
}

// The program itself, with no display: help and version are printed, a
// window cannot open and says so.
TEST(DisplayChoice, ProgramPrintsHelpAndVersionWithoutADisplay)
{
    ASSERT_TRUE(QFileInfo(kProgram).isExecutable());
    std::unique_ptr<QProcess> help(RunWithoutDisplay({QStringLiteral("--help")}));
    EXPECT_EQ(help->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(help->exitCode(), 0);
    const QString text = QString::fromLocal8Bit(help->readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("--simulate"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("--screenshot")));

    std::unique_ptr<QProcess> version(RunWithoutDisplay({QStringLiteral("--version")}));
    EXPECT_EQ(version->exitCode(), 0);
    const QString versionText = QString::fromLocal8Bit(version->readAllStandardOutput()).trimmed();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^halvern-th \\d+\\.\\d+\\.\\d+$")).match(versionText).hasMatch())
        << qPrintable(versionText);

    std::unique_ptr<QProcess> window(RunWithoutDisplay({}));
    EXPECT_EQ(window->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(window->exitCode(), 1);
    EXPECT_TRUE(window->readAllStandardError().contains("no display"));
}
