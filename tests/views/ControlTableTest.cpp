#include "views/ControlTable.h"

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

struct Row {
    int id;
    bool button;
    int x, y, w, h;
};

// An odd pixel width and a control at the corner show the truncation of
// half sizes and the offset of the parent's origin.
constexpr Row kRows[] = {
    {7, true, 10, 20, 31, 40},
    {9, false, 0, 0, 10, 10},
};
constexpr DialogBaseUnits kUnits{4, 8};

struct ControlTableTest : ::testing::Test {
    QWidget parent;
    ControlTable table;

    void Build(const QString& prefix)
    {
        table.Build(kRows, kUnits, prefix, [this](const Row& row) -> QWidget* {
            if (row.button)
                return new QPushButton(&parent);
            return new QLabel(&parent);
        });
    }
};

} // namespace

TEST_F(ControlTableTest, MakesRowsInOrderAtTheirTemplatePlaces)
{
    Build(QStringLiteral("ctl_"));
    QWidget* button = table.Get(7);
    QWidget* label = table.Get(9);
    ASSERT_NE(button, nullptr);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(button->geometry(), QRect(10, 20, 31, 40));
    EXPECT_EQ(label->geometry(), QRect(0, 0, 10, 10));
    EXPECT_EQ(button->objectName(), "ctl_7");
    EXPECT_EQ(label->objectName(), "ctl_9");
    // Row order is the tab order.
    EXPECT_EQ(button->nextInFocusChain(), label);
    ASSERT_EQ(table.All().size(), 2u);
    EXPECT_EQ(table.All().front().first, 7);
}

TEST_F(ControlTableTest, TypedLookupRefusesOtherKindsAndUnknownIds)
{
    Build(QString());
    EXPECT_NE(table.Get<QPushButton>(7), nullptr);
    EXPECT_NE(table.Get<QAbstractButton>(7), nullptr);
    EXPECT_EQ(table.Get<QLabel>(7), nullptr);
    EXPECT_NE(table.Get<QLabel>(9), nullptr);
    EXPECT_EQ(table.Get(8), nullptr);
    EXPECT_TRUE(table.Get(7)->objectName().isEmpty());
}

TEST_F(ControlTableTest, RescaleKeepsCentresAndTruncatesHalfSizes)
{
    Build(QString());
    QFont font;
    font.setPixelSize(17);
    table.Rescale(1.5f, font, QPoint(3, 5));
    EXPECT_EQ(table.Get(7)->geometry(), QRect(15, 30, 48, 60));
    EXPECT_EQ(table.Get(9)->geometry(), QRect(1, 1, 14, 14));
    EXPECT_EQ(table.Get(7)->font().pixelSize(), 17);
    EXPECT_EQ(table.Get(9)->font().pixelSize(), 17);
}
