// The window's keyboard: the shortcuts press their commands, the access
// keys in both languages, Tab through the controls in reading order,
// Escape closing dialogs but not the window, and the About box's key list.
#include "base/QtMessagePoster.h"
#include "base/TextTable.h"
#include "mainwnd/AboutDlg.h"
#include "mainwnd/CommandKeys.h"
#include "mainwnd/DisplayChoice.h"
#include "mainwnd/FocusRing.h"
#include "mainwnd/MainDialog.h"
#include "mainwnd/StationSettingsDlg.h"
#include "mainwnd/TabHost.h"
#include "sim/DemoLogger.h"
#include "views/DataListPage.h"
#include "views/GraphPage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusFrame>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QSet>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

namespace {

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// The window with the sample mission open, shown and active (shortcuts
// act in the active window only); the file dialogs and questions replaced.
class Keyboard : public ::testing::Test {
protected:
    explicit Keyboard(std::uint16_t language = 0)
        : dialog(StartDisplay(language), {1920, 1080})
    {
        InstallQtMessagePoster();
        dialog.SetOpenFileChooser([this](const QString&) {
            ++opens;
            return QString();
        });
        dialog.SetSaveFileChooser([this](const QString&, const QStringList&) {
            ++saves;
            return CMainDialog::SaveChoice{};
        });
        dialog.SetAsker([this](const QString& question) {
            questions << question;
            return false;
        });
        EXPECT_TRUE(dialog.OpenDataFile(QStringLiteral(HALVERN_SAMPLES "/mission.tavo"), QStringLiteral("mission")));
        dialog.show();
        Activate();
    }
    ~Keyboard() override { SetMessagePoster({}); }

    // Presses the keys; a modal dialog they open is handed to onModal, then
    // sent Escape. Returns that dialog's title ("" when none opened) and
    // whether Escape closed it.
    std::pair<QString, bool> Press(int key, Qt::KeyboardModifiers modifiers,
                                   const std::function<void(QWidget*)>& onModal = {})
    {
        std::pair<QString, bool> modal{QString(), false};
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box)
                return;
            modal.first = box->windowTitle();
            if (onModal)
                onModal(box);
            QTest::keyClick(box, Qt::Key_Escape);
            modal.second = !box->isVisible();
        });
        QTest::keyClick(&dialog, static_cast<Qt::Key>(key), modifiers);
        Settle();
        Activate(); // again, after a dialog
        return modal;
    }
    void Activate()
    {
        QApplication::setActiveWindow(&dialog);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    CMainDialog dialog;
    int opens = 0;
    int saves = 0;
    QStringList questions;
};

class KeyboardInChinese : public Keyboard {
protected:
    KeyboardInChinese() : Keyboard(LANG_CHINESE) {}
};

} // namespace

TEST(CommandKeys, CaptionsShowTheirAccessKey)
{
    struct Case {
        const char* caption;
        char key;
        const char* shown;
        bool found;
    };
    const Case cases[] = {
        {"Download", 'D', "&Download", true},
        {"Start Setting", 'T', "S&tart Setting", true}, // the first t, whatever its case
        {"Exit", 'X', "E&xit", true},
        {"Save & Print", 'P', "Save && &Print", true},  // its own ampersand stays a character
        {"A & B", 'Q', "A && B", false},
        {"读取数据", 'D', "读取数据", false},             // no letter: the key works unseen
    };
    for (const Case& c : cases) {
        bool found = !c.found;
        const QString shown = WithAccessKey(QString::fromUtf8(c.caption), QLatin1Char(c.key), &found);
        EXPECT_EQ(shown, QString::fromUtf8(c.shown)) << c.caption;
        EXPECT_EQ(found, c.found) << c.caption;
        EXPECT_EQ(WithoutAccessKey(shown), QString::fromUtf8(c.caption));
    }
}

// Each access key presses one button only: no two buttons of the window
// underline the same letter.
TEST_F(Keyboard, EveryButtonHasAnAccessKeyOfItsOwn)
{
    QSet<QChar> used;
    for (const CommandKeys& keys : CommandKeyTable())
        EXPECT_TRUE(dialog.Control<QAbstractButton>(keys.button)->text().contains(QLatin1Char('&')));
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        const QString text = QString(button->text()).replace(QStringLiteral("&&"), QString());
        const qsizetype at = text.indexOf(QLatin1Char('&'));
        if (at < 0 || at + 1 >= text.size())
            continue;
        const QChar letter = text[at + 1].toUpper();
        EXPECT_FALSE(used.contains(letter)) << "Alt+" << QString(letter).toStdString() << " twice";
        used.insert(letter);
    }
}

TEST_F(Keyboard, ShortcutsPressTheirCommands)
{
    Press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(opens, 1);
    Press(Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return opens == 2; }, 2000));
    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saves, 1);

    const auto [printTitle, printClosed] = Press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(printTitle, "Print Preview");
    EXPECT_TRUE(printClosed);

    int listed = 0;
    const auto [aboutTitle, aboutClosed] = Press(Qt::Key_F1, Qt::NoModifier, [&listed](QWidget* box) {
        if (auto* about = dynamic_cast<CAboutDlg*>(box))
            listed = about->KeyList()->rowCount();
    });
    EXPECT_EQ(aboutTitle, "About Halvern Software TH");
    EXPECT_TRUE(aboutClosed);
    EXPECT_EQ(listed, static_cast<int>(dialog.KeyList().size()));

    // Exit asks only while downloaded samples are unsaved.
    dialog.RecordChanged();
    Press(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(questions, QStringList{GetText(TextId::SureToExit, 0)});
    EXPECT_TRUE(dialog.isVisible()); // answered No

    // A disabled button's keys do nothing.
    dialog.EnableButton(IDC_OPEN, false);
    Press(Qt::Key_O, Qt::ControlModifier);
    Press(Qt::Key_O, Qt::AltModifier);
    QTest::qWait(300);
    EXPECT_EQ(opens, 2);
}

// Escape closes the dialogs but leaves the window: it neither closes nor asks.
TEST_F(Keyboard, EscapeClosesDialogsButNotTheWindow)
{
    QTest::keyClick(&dialog, Qt::Key_Escape);
    Settle();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(questions.isEmpty());

    CStationSettingsDlg settings(StationSettings{}, 0, &dialog);
    settings.show();
    QTest::keyClick(&settings, Qt::Key_Escape);
    EXPECT_FALSE(settings.isVisible());
    EXPECT_EQ(settings.result(), QDialog::Rejected);
}

TEST_F(Keyboard, AboutBoxListsEveryCommandsKeys)
{
    const std::vector<KeyListLine> lines = dialog.KeyList();
    auto has = [&lines](const QString& keys, const QString& command) {
        for (const KeyListLine& line : lines)
            if (line.keys == keys && line.command == command)
                return true;
        return false;
    };
    EXPECT_TRUE(has("F5, Alt+D", "Download"));
    EXPECT_TRUE(has("Ctrl+O, Alt+O", "Open"));
    EXPECT_TRUE(has("Ctrl+S, Alt+S", "Save"));
    EXPECT_TRUE(has("Ctrl+P, Alt+P", "Print"));
    EXPECT_TRUE(has("Ctrl+Q, Alt+X", "Exit"));
    EXPECT_TRUE(has("Alt+T", "Start Setting"));
    EXPECT_TRUE(has("F1", "About"));

    CAboutDlg about(lines);
    ASSERT_EQ(about.KeyList()->rowCount(), static_cast<int>(lines.size()));
    const auto cell = [&about](int row, int column) {
        return static_cast<QLabel*>(about.KeyList()->itemAtPosition(row, column)->widget())->text();
    };
    EXPECT_EQ(cell(0, 0), lines[0].keys);
    EXPECT_EQ(cell(0, 1), lines[0].command);
    // The list fits the box.
    EXPECT_TRUE(about.rect().contains(about.KeyList()->parentWidget()->geometry()));
}

// In Chinese the captions show no Latin letter, yet Alt with the English
// letter still presses the button.
TEST_F(KeyboardInChinese, AccessKeysWorkUnseen)
{
    EXPECT_EQ(dialog.Control<QAbstractButton>(IDC_OPEN)->text(), QString::fromUtf8("打开文件"));
    Press(Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(opens, 1);
    Press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(opens, 2);
    EXPECT_TRUE(dialog.KeyList().front().keys.endsWith("Alt+D"));
    EXPECT_EQ(dialog.KeyList().front().command, QString::fromUtf8("读取数据"));
}

// Tab goes through the command rows, then the page of the tab control and
// its tabs, then the unit choice and the graph's controls row by row; Shift+Tab
// goes back the same way.
TEST_F(Keyboard, TabFollowsTheReadingOrder)
{
    dialog.SelectTab(CMainDialog::TabPage::Data);
    dialog.EnableButton(IDC_CALIBRATE, true);
    dialog.EnableButton(IDC_START_SETTING, true);
    CGraphPage* graph = dialog.Graph();
    const std::vector<QWidget*> expected = {
        dialog.Control(IDC_DOWNLOAD), dialog.Control(IDC_SAVE), dialog.Control(IDC_OPEN), dialog.Control(IDC_PRINT),
        dialog.Control(IDC_CALIBRATE), dialog.Control(IDC_START_SETTING), dialog.Control(IDCANCEL),
        dialog.Control(IDC_AUTOMATIC), dialog.Control(IDC_STATION_SETTINGS), dialog.Control(IDC_ARCHIVE),
        dialog.DataList()->List(),
        dialog.Tabs()->Bar(), dialog.Control(IDC_UNIT_C), graph->Control(CGraphPage::IDC_SHOW_TEMP),
        graph->Control(CGraphPage::IDC_SHOW_HUMI), graph->Control(CGraphPage::IDC_FIRST_SAMPLE),
        graph->Control(CGraphPage::IDC_AUTOSCALE), graph->Control(CGraphPage::IDC_ZOOM_IN),
        graph->Control(CGraphPage::IDC_ZOOM_OUT), graph->Control(CGraphPage::IDC_SAVE_SELECTION),
    };
    const auto name = [](const QWidget* w) { return w ? w->objectName().toStdString() : std::string("none"); };
    dialog.Control(IDC_DOWNLOAD)->setFocus(Qt::TabFocusReason);
    for (std::size_t i = 1; i <= expected.size(); ++i) {
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
        const QWidget* want = expected[i % expected.size()];
        ASSERT_EQ(dialog.focusWidget(), want) << "step " << i << ": " << name(dialog.focusWidget()) << " instead of "
                                              << name(want);
    }
    for (std::size_t i = expected.size(); i-- > 0;) {
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        ASSERT_EQ(dialog.focusWidget(), expected[i]) << "back to " << name(expected[i]);
    }
}

// F5 downloads the virtual logger plugged in, as the Download button does.
TEST(KeyboardDownload, F5StartsTheDownload)
{
    InstallQtMessagePoster();
    CDemoLogger demo({.serial = false, .type = 4});
    {
        CMainDialog dialog(StartDisplay(0), {1920, 1080});
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        dialog.Start();
        ASSERT_TRUE(demo.PlugIn());
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.Workflow().LoggerPresent() && dialog.IsButtonEnabled(IDC_DOWNLOAD); }, 2000));
        ASSERT_FALSE(dialog.Workflow().IsDownloading());
        QTest::keyClick(&dialog, Qt::Key_F5);
        EXPECT_TRUE(dialog.Workflow().IsDownloading());
        EXPECT_EQ(dialog.StatusText(), GetText(TextId::Downloading, 0));
    }
    SetMessagePoster({});
}

// The control Tab reaches wears a ring that shows on the dark window and on
// the light pages: amber outside, dark inside; a control Tab skips wears none.
TEST_F(Keyboard, TheFocusedControlWearsAVisibleRing)
{
    const auto ringAround = [this](QWidget* control) {
        const QImage shot = dialog.grab().toImage();
        const QRect r(control->mapTo(&dialog, QPoint(0, 0)), control->size());
        const int w = CFocusRing::kWidth;
        return shot.pixelColor(r.center().x(), r.top() - w) == CFocusRing::kOuter
            && shot.pixelColor(r.center().x(), r.top() - 1) == CFocusRing::kInner
            && shot.pixelColor(r.left() - w, r.center().y()) == CFocusRing::kOuter
            && shot.pixelColor(r.right() + w, r.center().y()) == CFocusRing::kOuter
            && shot.pixelColor(r.center().x(), r.bottom() + w) == CFocusRing::kOuter;
    };
    QWidget* save = dialog.Control(IDC_SAVE);
    dialog.Control(IDC_DOWNLOAD)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(dialog.focusWidget(), save);
    EXPECT_TRUE(ringAround(save));
    EXPECT_FALSE(ringAround(dialog.Control(IDC_DOWNLOAD)));

    QWidget* zoomIn = dialog.Graph()->Control(CGraphPage::IDC_ZOOM_IN);
    zoomIn->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(ringAround(zoomIn));
    EXPECT_FALSE(ringAround(save));

    dialog.Graph()->setFocus(Qt::MouseFocusReason); // the plot: arrows move its cursor
    Settle();
    EXPECT_FALSE(dialog.FocusRing()->Frame()->isVisible());
}
