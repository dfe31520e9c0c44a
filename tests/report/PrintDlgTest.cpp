// The print preview dialog offscreen: opening, kinds, page buttons, range
// errors, the wheel, printing into PDF files.
#include "support/MissionRecord.h"
#include "support/PdfTools.h"
#include "support/ScopedTz.h"
#include "support/TempDir.h"

#include "base/TextTable.h"
#include "record/Units.h"
#include "report/ui/PreviewFrame.h"
#include "report/ui/PrintPreviewDlg.h"
#include "views/DialogScale.h"

#include <QDateTimeEdit>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QRegularExpression>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

class PrintDlg : public ::testing::Test {
protected:
    std::unique_ptr<CPrintPreviewDlg> Open(int type, int samples)
    {
        MakeMission(r, type, samples);
        auto dlg = std::make_unique<CPrintPreviewDlg>(nullptr, 1.0f, r, kDefaultDisplay);
        dlg->SetMessenger([this](const QString& text) { m_messages << text; });
        return dlg;
    }
    static QString Counter(const CPrintPreviewDlg& d)
    {
        return d.Control<QLabel>(CPrintPreviewDlg::IDC_COUNTER)->text();
    }
    static QLineEdit* Edit(const CPrintPreviewDlg& d)
    {
        return d.Control<QLineEdit>(CPrintPreviewDlg::IDC_PAGES_EDIT);
    }
    static void Click(const CPrintPreviewDlg& d, int id)
    {
        QTest::mouseClick(d.Control(id), Qt::LeftButton, {}, QPoint(4, 4));
    }
    static QString Enabled(const CPrintPreviewDlg& d)
    {
        QString s;
        for (int id : {CPrintPreviewDlg::IDC_FIRST, CPrintPreviewDlg::IDC_PREV, CPrintPreviewDlg::IDC_NEXT, CPrintPreviewDlg::IDC_LAST})
            s += d.Control(id)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }
    void SetPages(CPrintPreviewDlg& d, const QString& text)
    {
        Edit(d)->setText(text);
        Click(d, CPrintPreviewDlg::IDC_PREVIEW);
    }

    CLoggerRecord r;
    ScopedTz m_tz{"UTC"};
    QStringList m_messages;
    TempDir m_dir;
};

TEST_F(PrintDlg, OpensOnOneCurvePageAndSwitchesKinds)
{
    auto d = Open(4, 120);
    EXPECT_EQ(Counter(*d), QStringLiteral("1/1"));
    EXPECT_EQ(Enabled(*d), QStringLiteral("0000"));
    EXPECT_TRUE(d->Frame()->HasPage());
    EXPECT_GT(d->Frame()->Page().width(), d->Frame()->Page().height()); // landscape
    EXPECT_FALSE(d->Control(CPrintPreviewDlg::IDC_PREVIEW)->isEnabled());
    EXPECT_TRUE(d->Control(CPrintPreviewDlg::IDC_PRINT)->isEnabled());

    Click(*d, CPrintPreviewDlg::IDC_TEXT);
    EXPECT_EQ(Counter(*d), QStringLiteral("1/3"));
    EXPECT_EQ(Edit(*d)->text(), QStringLiteral("3"));
    EXPECT_FALSE(Edit(*d)->isEnabled());
    EXPECT_LT(d->Frame()->Page().width(), d->Frame()->Page().height()); // portrait
    EXPECT_TRUE(d->Control(CPrintPreviewDlg::IDC_SCROLL)->isVisibleTo(d.get()));

    Click(*d, CPrintPreviewDlg::IDC_CURVE);
    EXPECT_EQ(Counter(*d), QStringLiteral("1/1"));
    EXPECT_EQ(Edit(*d)->text(), QStringLiteral("1"));
    EXPECT_TRUE(Edit(*d)->isEnabled());
    EXPECT_FALSE(d->Control(CPrintPreviewDlg::IDC_SCROLL)->isVisibleTo(d.get()));
}

TEST_F(PrintDlg, FitsTheScreensAvailableArea)
{
    MakeMission(r, 4, 120);
    const QSize mainWindow = DluToPixels(0, 0, 606, 369, BaseUnitsOf(DialogFont())).size();
    const struct Case {
        QSize screen;
        QRect available; // less a panel
    } cases[] = {
        {{1920, 1080}, {0, 32, 1920, 1048}},
        {{1366, 768}, {0, 0, 1366, 740}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.screen.width() << " x " << c.screen.height());
        // Opened with the main window's scale on that screen.
        CPrintPreviewDlg d(nullptr, ScreenFitScale(c.screen, mainWindow), r, kDefaultDisplay, c.available);
        const QRect placed(d.pos(), d.size());
        EXPECT_TRUE(c.available.contains(placed)) << placed.width() << " x " << placed.height();
        EXPECT_LE(d.height(), c.available.height() * 9 / 10);
        EXPECT_NEAR(placed.top() - c.available.top(), c.available.bottom() - placed.bottom(), 1); // centred
        EXPECT_NEAR(placed.left() - c.available.left(), c.available.right() - placed.right(), 1);
        // Every control inside, the preview page shown.
        for (int id : {CPrintPreviewDlg::IDC_EXIT, CPrintPreviewDlg::IDC_SETTING_GROUP, CPrintPreviewDlg::IDC_FRAME})
            EXPECT_TRUE(d.rect().contains(d.Control(id)->geometry())) << id;
        EXPECT_TRUE(d.Frame()->HasPage());
    }
}

TEST_F(PrintDlg, PageButtonsAndCounter)
{
    auto d = Open(1, 500);
    SetPages(*d, QStringLiteral("3"));
    EXPECT_EQ(Counter(*d), QStringLiteral("1/3"));
    struct Step {
        int button;
        const char* counter;
        const char* enabled; // first, previous, next, last
    } const steps[] = {
        {CPrintPreviewDlg::IDC_NEXT, "2/3", "1111"},
        {CPrintPreviewDlg::IDC_NEXT, "3/3", "1100"},
        {CPrintPreviewDlg::IDC_PREV, "2/3", "1111"},
        {CPrintPreviewDlg::IDC_FIRST, "1/3", "0011"},
        {CPrintPreviewDlg::IDC_LAST, "3/3", "1100"},
    };
    for (const Step& s : steps) {
        Click(*d, s.button);
        EXPECT_EQ(Counter(*d), QString::fromLatin1(s.counter));
        EXPECT_EQ(Enabled(*d), QString::fromLatin1(s.enabled)) << s.counter;
    }
    // An unchanged count keeps the page; 0 becomes 1; two digits at most.
    SetPages(*d, QStringLiteral("3"));
    EXPECT_EQ(Counter(*d), QStringLiteral("3/3"));
    SetPages(*d, QStringLiteral("0"));
    EXPECT_EQ(Edit(*d)->text(), QStringLiteral("1"));
    EXPECT_EQ(Counter(*d), QStringLiteral("1/1"));
    EXPECT_EQ(Enabled(*d), QStringLiteral("0000"));
    Edit(*d)->clear();
    QTest::keyClicks(Edit(*d), QStringLiteral("150"));
    EXPECT_EQ(Edit(*d)->text(), QStringLiteral("15"));
}

TEST_F(PrintDlg, WrongRangeKeepsTheLastOne)
{
    auto d = Open(1, 200);
    auto* start = d->Control<QDateTimeEdit>(CPrintPreviewDlg::IDC_START);
    auto* end = d->Control<QDateTimeEdit>(CPrintPreviewDlg::IDC_END);
    // Before the record: clamped silently; between samples: the one before.
    start->setDateTime(QDateTime::fromSecsSinceEpoch(r.m_tStart - 86400));
    end->setDateTime(QDateTime::fromSecsSinceEpoch(r.m_tStart + 3000));
    Click(*d, CPrintPreviewDlg::IDC_PREVIEW);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(d->Data().range.count, 6);
    start->setDateTime(QDateTime::fromSecsSinceEpoch(r.m_tStart + 900));
    Click(*d, CPrintPreviewDlg::IDC_PREVIEW);
    EXPECT_EQ(d->Data().range.first, 1);

    // A red label leaves Preview as it was: pressed while still enabled.
    start->setDateTime(QDateTime::fromSecsSinceEpoch(r.m_tStart + 7200));
    EXPECT_TRUE(d->StartLabelRed());
    d->OnPreview();
    EXPECT_EQ(m_messages, QStringList{GetText(100, 0)});
    EXPECT_EQ(d->Data().range.first, 1);
    EXPECT_EQ(start->dateTime().toSecsSinceEpoch(), r.m_tStart + 600);
    EXPECT_EQ(end->dateTime().toSecsSinceEpoch(), r.m_tStart + 3000);
    // Escape closes the dialog.
    d->show();
    QTest::keyClick(d.get(), Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Rejected);
}

TEST_F(PrintDlg, WheelTurnsTextPagesOnTheFourthNotchPastAnEnd)
{
    auto d = Open(1, 130);
    Click(*d, CPrintPreviewDlg::IDC_TEXT);
    ASSERT_EQ(Counter(*d), QStringLiteral("1/4"));
    const int max = d->Frame()->MaxScroll();
    ASSERT_NE(max % 20, 0);
    // The notch that passes the bottom is the first past it; three more turn the page.
    int notches = 0;
    while (Counter(*d) == QStringLiteral("1/4") && notches < 100) {
        d->OnWheel(-120);
        ++notches;
        if (notches == max / 20 + 2) {
            EXPECT_EQ(d->Frame()->ScrollY(), max);
        }
    }
    EXPECT_EQ(notches, max / 20 + 1 + 3);
    EXPECT_EQ(Counter(*d), QStringLiteral("2/4"));
    EXPECT_EQ(d->Frame()->ScrollY(), 0);
    d->OnWheel(100); // not a whole notch: nothing moves
    EXPECT_EQ(d->Frame()->ScrollY(), 0);
    // Back past the top: the page before, shown from its lower half.
    for (int i = 0; i < 20 && Counter(*d) == QStringLiteral("2/4"); ++i)
        d->OnWheel(120);
    EXPECT_EQ(Counter(*d), QStringLiteral("1/4"));
    EXPECT_EQ(d->Frame()->ScrollY(), max);
}

TEST_F(PrintDlg, PrintsEveryPageOfTheKindIntoAPdfFile)
{
    struct Case {
        bool text;
        int curvePages;
        int pages;
        bool landscape;
    } const cases[] = {{false, 3, 3, true}, {true, 1, 4, false}};
    for (const Case& c : cases) {
        auto d = Open(4, 121);
        const QString path = m_dir.path(c.text ? QStringLiteral("text.pdf") : QStringLiteral("curve.pdf"));
        d->SetPrinterChooser([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return true;
        });
        QStringList printed;
        QObject::connect(d.get(), &CPrintPreviewDlg::Printed, [&](const QString& text) { printed << text; });
        if (c.text)
            Click(*d, CPrintPreviewDlg::IDC_TEXT);
        else
            SetPages(*d, QString::number(c.curvePages));
        Click(*d, CPrintPreviewDlg::IDC_PRINT);
        EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(printed, QStringList{QStringLiteral(" Printed %1 pages to %2.").arg(c.pages).arg(QFileInfo(path).fileName())});
        EXPECT_TRUE(d->Control(CPrintPreviewDlg::IDC_PRINT)->isEnabled());
        EXPECT_EQ(PdfPages(path), c.pages);
        const QString info = RunTool(QStringLiteral("pdfinfo"), {path}).out;
        EXPECT_TRUE(info.contains(QLatin1String("TH20260615A"))) << info.toStdString();
        const QRegularExpression size(QStringLiteral("Page size: +([0-9.]+) x ([0-9.]+)"));
        const auto m = size.match(info);
        ASSERT_TRUE(m.hasMatch());
        EXPECT_EQ(m.captured(1).toDouble() > m.captured(2).toDouble(), c.landscape);
        const QString text = PdfText(path);
        EXPECT_TRUE(text.contains(c.text ? QStringLiteral("121") : QStringLiteral("%1/%1").arg(c.pages)));
    }
}

TEST_F(PrintDlg, FailedPrintSaysWhy)
{
    auto d = Open(1, 50);
    d->SetPrinterChooser([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.path(QStringLiteral("none/x.pdf")));
        return true;
    });
    QStringList printed;
    QObject::connect(d.get(), &CPrintPreviewDlg::Printed, [&](const QString& text) { printed << text; });
    Click(*d, CPrintPreviewDlg::IDC_PRINT);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].startsWith(QLatin1String("Not printed: "))) << m_messages[0].toStdString();
    EXPECT_TRUE(printed.isEmpty()); // nothing said done that was not
    // A cancelled print dialog prints nothing and says nothing.
    d->SetPrinterChooser([](QPrinter&) { return false; });
    Click(*d, CPrintPreviewDlg::IDC_PRINT);
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(d->Control(CPrintPreviewDlg::IDC_TEXT)->isEnabled());
}

} // namespace

TEST(PrintedText, OnePageOrMoreInBothLanguages)
{
    EXPECT_EQ(CPrintPreviewDlg::PrintedText(1, QStringLiteral("a.pdf"), 0), " Printed 1 page to a.pdf.");
    EXPECT_EQ(CPrintPreviewDlg::PrintedText(3, QStringLiteral("report.pdf"), 0), " Printed 3 pages to report.pdf.");
    EXPECT_EQ(CPrintPreviewDlg::PrintedText(3, QStringLiteral("report.pdf"), LANG_CHINESE),
              QString::fromUtf8(" 已打印 3 页到 report.pdf."));
}
