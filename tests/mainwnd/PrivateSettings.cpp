// The window's tests run with settings and data folders of their own, so
// that the archive address the window remembers and its default archive
// (which Save adds to) are never the user's.
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

class PrivateSettings : public ::testing::Environment {
public:
    void SetUp() override
    {
        m_dir = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(m_dir->isValid());
        const QString config = m_dir->filePath(QStringLiteral("config"));
        qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
        qputenv("XDG_DATA_HOME", m_dir->filePath(QStringLiteral("data")).toLocal8Bit());
        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, config);
    }
    void TearDown() override { m_dir.reset(); }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

[[maybe_unused]] ::testing::Environment* const kPrivateSettings =
    ::testing::AddGlobalTestEnvironment(new PrivateSettings);

} // namespace
