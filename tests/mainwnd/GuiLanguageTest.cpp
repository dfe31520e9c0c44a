// halvern-th --lang: a value other than en or zh is refused before any window.
#include <QProcess>
#include <gtest/gtest.h>

TEST(GuiLanguage, AWrongLangValueIsRefused)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(HALVERN_BINARY_DIR "/halvern-th"), {QStringLiteral("--lang"), QStringLiteral("de")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 2);
    // Qt may warn first (about the runtime folder, say): the last line is ours.
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(err.endsWith(QStringLiteral("halvern-th: --lang must be en or zh, not 'de'\n"))) << err.toStdString();
}
