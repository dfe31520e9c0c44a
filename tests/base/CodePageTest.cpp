// 8-bit texts of loggers and data files.
#include "base/CodePage.h"

#include <gtest/gtest.h>

namespace {

class CodePageEnv {
public:
    explicit CodePageEnv(const char* name)
    {
        if (name)
            qputenv("HALVERN_CODEPAGE", name);
        else
            qunsetenv("HALVERN_CODEPAGE");
    }
    ~CodePageEnv() { qunsetenv("HALVERN_CODEPAGE"); }
};

TEST(CodePage, GbkByDefaultAndAnyIconvNameByEnvironment)
{
    struct Case {
        const char* codePage; // nullptr: the default
        const char* text;
        QByteArray bytes;
    } const cases[] = {
        {nullptr, "冷库 B", QByteArray("\xC0\xE4\xBF\xE2 B")},
        {nullptr, "温湿度记录", QByteArray("\xCE\xC2\xCA\xAA\xB6\xC8\xBC\xC7\xC2\xBC")},
        {nullptr, "Shelf 3", QByteArray("Shelf 3")},
        {"CP1252", "caf\u00E9 \u20AC", QByteArray("caf\xE9 \x80")},
        {"UTF-8", "冷", QByteArray("\xE5\x86\xB7")},
    };
    for (const Case& c : cases) {
        CodePageEnv env(c.codePage);
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(ToOem(text), c.bytes) << c.text;
        EXPECT_EQ(ToAnsi(text), c.bytes) << c.text;
        EXPECT_EQ(FromOem(c.bytes), text) << c.text;
        EXPECT_EQ(FromAnsi(c.bytes), text) << c.text;
    }
}

TEST(CodePage, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    CodePageEnv env(nullptr);
    EXPECT_EQ(CodePageName(), QByteArray("CP936"));
    EXPECT_EQ(ToOem(QString::fromUtf8("a\U0001F600b")), QByteArray("a?b"));
    // A lone lead byte at the end cannot be decoded.
    EXPECT_EQ(FromOem(QByteArray("ab\xC0")), QString::fromUtf8("ab\uFFFD"));
}

} // namespace
