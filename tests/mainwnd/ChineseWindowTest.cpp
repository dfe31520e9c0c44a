// The window in Chinese after a download from the demo logger: every text
// whole and drawn and none in English, the unit in force (degrees C)
// checked; Qt's own texts in Chinese too.
#include "ShownTexts.h"
#include "TextFit.h"

#include "base/QtMessagePoster.h"
#include "mainwnd/CommandKeys.h"
#include "mainwnd/DemoDriver.h"
#include "mainwnd/MainDialog.h"
#include "mainwnd/QtTranslation.h"
#include "mainwnd/TabHost.h"
#include "record/LoggerRecord.h"
#include "sim/DemoLogger.h"
#include "views/DataListPage.h"
#include "views/GraphPage.h"
#include "views/SampleTableModel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

using Dlg = CMainDialog;

TEST(ChineseWindow, DownloadedRecordShowsEveryTextWhole)
{
    InstallQtMessagePoster();
    CDemoLogger demo({.serial = false, .type = 4});
    {
        Dlg dialog(StartDisplay(LANG_CHINESE), {1366, 768});
        dialog.show();
        dialog.Start();
        CDemoDriver driver(dialog, demo);
        driver.PlugInAfter(0);
        QString error;
        ASSERT_TRUE(driver.WaitForDemo(true, error)) << qPrintable(error);
        ASSERT_GT(dialog.DataList()->Model()->rowCount(), 100);

        EXPECT_EQ(dialog.Control<QAbstractButton>(Dlg::IDC_DOWNLOAD)->text(), "读取数据");
        EXPECT_TRUE(dialog.Control<QAbstractButton>(Dlg::IDC_UNIT_C)->isChecked());
        EXPECT_FALSE(dialog.Control<QAbstractButton>(Dlg::IDC_UNIT_F)->isChecked());

        // The graph's reset after the download comes first (it would clear a
        // selection made before it), then the range adds the area tabs.
        QWidget* saveSelection = dialog.Graph()->Control(CGraphPage::IDC_SAVE_SELECTION);
        ASSERT_TRUE(QTest::qWaitFor([&] { return saveSelection->isEnabled(); }));
        const CLoggerRecord& r = dialog.Connection().Record();
        dialog.Graph()->SelectTimeRange(r.m_tTime[10], r.m_tTime[r.m_nReceived - 10]);
        QTabBar* tabs = dialog.Tabs()->Bar();
        ASSERT_TRUE(QTest::qWaitFor([&] { return tabs->count() == 5; }));
        ASSERT_EQ(tabs->count(), 5); // Summary, Data, Alarms and the two area tabs
        // Latin letters only in the units, the "ID" the Chinese captions keep,
        // the key names printed on the keyboard that tooltips show, and what
        // the logger holds: its ID and the description its user gave.
        QStringList allowed{r.m_strValue[ROW_ID].trimmed(), r.m_strValue[ROW_DESCRIPTION].trimmed(),
                            QString::fromUtf8("°C"), QString::fromUtf8("°F"), QStringLiteral("%RH"),
                            QStringLiteral("ID")};
        for (const CommandKeys& keys : CommandKeyTable())
            for (const QKeySequence& shortcut : ShortcutsOf(keys))
                allowed << QStringLiteral("(%1)").arg(shortcut.toString(QKeySequence::NativeText));
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QApplication::processEvents();
            const QStringList problems = WindowTextProblems(&dialog);
            EXPECT_TRUE(problems.isEmpty()) << "tab " << tab << ":\n  "
                                            << qPrintable(problems.join(QStringLiteral("\n  ")));
            const QStringList english = TextsWithLatin(ShownTexts(&dialog), allowed);
            EXPECT_TRUE(english.isEmpty()) << "tab " << tab << ":\n  "
                                           << qPrintable(english.join(QStringLiteral("\n  ")));
            EXPECT_FALSE(dialog.grab().toImage().isNull());
        }
    }
    SetMessagePoster({});
}

// Qt's own buttons and dialogs once said Yes, No, Cancel in the Chinese window.
TEST(ChineseWindow, QtsOwnTextsAreChinese)
{
    const QLocale before;
    QTranslator* translator = InstallQtTranslation(LANG_CHINESE, *QApplication::instance());
    ASSERT_NE(translator, nullptr) << qPrintable(QtTranslationFile(LANG_CHINESE));
    QMessageBox box(QMessageBox::Question, QString(), QStringLiteral("?"), QMessageBox::Yes | QMessageBox::No);
    const QString yes = box.button(QMessageBox::Yes)->text();
    const QString no = box.button(QMessageBox::No)->text();
    QCoreApplication::removeTranslator(translator);
    delete translator;
    QLocale::setDefault(before);
    EXPECT_TRUE(yes.contains(QString::fromUtf8("是"))) << qPrintable(yes);
    EXPECT_TRUE(no.contains(QString::fromUtf8("否"))) << qPrintable(no);
    EXPECT_EQ(InstallQtTranslation(0, *QApplication::instance()), nullptr); // English needs none
}
