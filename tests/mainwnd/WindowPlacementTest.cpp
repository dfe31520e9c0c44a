// The main window at any size: the placement of its controls from their
// dialog units (a pure function of the size), the window following its
// size with its pages, the smallest size it takes, and the size, position
// and maximised state it keeps between runs.
#include "mainwnd/MainDialog.h"
#include "mainwnd/MainLayout.h"
#include "mainwnd/TabHost.h"
#include "support/TempDir.h"
#include "views/DataListPage.h"
#include "views/GraphPage.h"
#include "views/SummaryPage.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QWidget>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

const DialogBaseUnits kUnits{6, 13};

float FitScaleOn(QSize screen)
{
    return ScreenFitScale(screen, MainTemplateSize(kUnits));
}

QString Name(QSize size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// A part of a list (header, scroll bar): the list lays it out itself.
bool InsideAList(const QWidget* w)
{
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(p))
            return true;
    return false;
}

// Every widget of the window with its place and font size.
std::map<QString, std::pair<QRect, int>> Places(const QWidget& window)
{
    std::map<QString, std::pair<QRect, int>> places;
    int unnamed = 0;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (InsideAList(w))
            continue;
        const QString name = w->objectName().isEmpty() ? QStringLiteral("#%1").arg(unnamed++) : w->objectName();
        places[QStringLiteral("%1 %2").arg(QString::fromLatin1(w->metaObject()->className()), name)]
            = {w->geometry(), w->font().pixelSize()};
    }
    return places;
}

// The widgets whose place or font differs, one line each.
std::string Moved(const std::map<QString, std::pair<QRect, int>>& before,
                  const std::map<QString, std::pair<QRect, int>>& after)
{
    std::string lines;
    const auto text = [](const std::pair<QRect, int>& p) {
        return QStringLiteral("(%1,%2 %3x%4 font %5)")
            .arg(p.first.x()).arg(p.first.y()).arg(p.first.width()).arg(p.first.height()).arg(p.second);
    };
    for (const auto& [name, place] : before) {
        const auto it = after.find(name);
        if (it == after.end() || it->second != place)
            lines += (name + QStringLiteral(": ") + text(place) + QStringLiteral(" -> ")
                      + (it == after.end() ? QStringLiteral("gone") : text(it->second)) + QLatin1Char('\n'))
                         .toStdString();
    }
    return lines;
}

} // namespace

// Sizes to rectangles, on a 1920 x 1080 screen (fit scale 972 / 599): at the
// fit everything stands where the one-time fit puts it; a larger window
// gives its room to the graph (and the list beside it) and moves the bottom
// line down; a window below the fit shrinks the template to what fits.
TEST(MainPlacement, SizesGiveTheseRectangles)
{
    struct Case {
        QSize window;
        float scale;
        QSize room;
        QRect download, exit, tabs, graph, status, progress;
    };
    const float fit = FitScaleOn({1920, 1080});
    const float narrow = 1048.0f / 909.0f, low = 691.0f / 599.0f;
    const Case cases[] = {
        // fitted to the screen
        {{1475, 972}, fit, {0, 0}, {60, 165, 122, 38}, {1277, 165, 146, 48}, {1, 239, 506, 674},
         {547, 310, 924, 602}, {0, 929, 928, 42}, {920, 929, 554, 42}},
        // maximised on it
        {{1916, 1076}, fit, {441, 104}, {60, 165, 122, 38}, {1277, 165, 146, 48}, {1, 239, 506, 778},
         {547, 310, 1365, 706}, {0, 1033, 1369, 42}, {1361, 1033, 554, 42}},
        // the smallest: the fit to 1366 x 768
        {{1048, 691}, narrow, {0, 1}, {43, 118, 86, 26}, {908, 117, 102, 34}, {2, 170, 358, 479},
         {389, 220, 656, 429}, {0, 662, 658, 28}, {653, 662, 394, 28}},
        // narrow and tall: the width sets the scale, the height is room
        {{1048, 1000}, narrow, {0, 310}, {43, 118, 86, 26}, {908, 117, 102, 34}, {2, 170, 358, 788},
         {389, 220, 656, 738}, {0, 971, 658, 28}, {653, 971, 394, 28}},
        // wide and low
        {{1900, 691}, low, {852, 0}, {43, 118, 86, 26}, {908, 117, 102, 34}, {2, 170, 358, 478},
         {389, 220, 1508, 428}, {0, 662, 1510, 28}, {1506, 662, 394, 28}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Name(c.window).toStdString());
        const MainPlacement p = PlaceMainControls(c.window, fit, kUnits);
        EXPECT_FLOAT_EQ(p.fit.scale, c.scale);
        EXPECT_EQ(p.fit.room, c.room);
        EXPECT_EQ(p.Of(IDC_DOWNLOAD), c.download);
        EXPECT_EQ(p.Of(IDCANCEL), c.exit);
        EXPECT_EQ(p.Of(IDC_TABS), c.tabs);
        EXPECT_EQ(p.Of(IDC_GRAPH_FRAME), c.graph);
        EXPECT_EQ(p.Of(IDC_STATUS), c.status);
        EXPECT_EQ(p.Of(IDC_PROGRESS), c.progress);
        EXPECT_EQ(p.Of(IDC_BANNER), QRect(0, 0, c.window.width(), p.Of(IDC_BANNER).height()));
    }
}

// From the smallest window to past a 4K screen: every control stays inside
// the window, the graph grows with it and never shrinks, the buttons never
// move once the template fits at the screen's scale.
TEST(MainPlacement, ControlsStayInsideAndTheGraphGrows)
{
    const float fit = FitScaleOn({1920, 1080});
    const MainPlacement fitted = PlaceMainControls(ScaledSize(MainTemplateSize(kUnits), fit), fit, kUnits);
    const QSize smallest = MinimumMainSize({1920, 1080}, kUnits);
    QRect lastGraph;
    for (int step = 0; step <= 12; ++step) {
        const QSize window(smallest.width() + step * 230, smallest.height() + step * 120);
        SCOPED_TRACE(Name(window).toStdString());
        const MainPlacement p = PlaceMainControls(window, fit, kUnits);
        for (const auto& [id, rect] : p.controls)
            EXPECT_TRUE(QRect(QPoint(0, 0), window).contains(rect)) << id;
        const QRect graph = p.Of(IDC_GRAPH_FRAME);
        EXPECT_GE(graph.width(), lastGraph.width());
        EXPECT_GE(graph.height(), lastGraph.height());
        lastGraph = graph;
        if (window.width() >= 1475 && window.height() >= 972) {
            for (const int id : {IDC_DOWNLOAD, IDC_OPEN, IDCANCEL, IDC_UNIT_C, IDC_AUTOMATIC})
                EXPECT_EQ(p.Of(id), fitted.Of(id)) << id;
        }
    }
}

TEST(MainPlacement, SmallestSizeIsTheFitToTheSmallerOfTheScreenAnd1366By768)
{
    const QSize unscaled = MainTemplateSize(kUnits);
    EXPECT_EQ(MinimumMainSize({1920, 1080}, kUnits), ScaledSize(unscaled, FitScaleOn({1366, 768})));
    EXPECT_EQ(MinimumMainSize({1920, 1080}, kUnits), QSize(1048, 691));
    EXPECT_EQ(MinimumMainSize({1366, 768}, kUnits), QSize(1048, 691));
    EXPECT_EQ(MinimumMainSize({1200, 666}, kUnits), ScaledSize(unscaled, FitScaleOn({1200, 666})));
}

// The window itself: resized to its maximised size and back, every widget
// (the pages' own controls too) is where it was and has the font it had;
// in between the graph's plot and the data list took the room.
TEST(MainWindowSize, FollowsItsSizeAndComesBackToTheSamePlaces)
{
    CMainDialog dialog({}, {1920, 1080});
    dialog.show();
    dialog.OpenDataFile(QStringLiteral(HALVERN_SAMPLES "/mission.tavo"), QStringLiteral("mission"));
    dialog.SelectTab(CMainDialog::TabPage::Data);
    QTableView* list = dialog.DataList()->List();
    list->selectRow(100);
    list->scrollTo(list->currentIndex(), QAbstractItemView::PositionAtTop);
    Settle();
    const int topRow = list->rowAt(0);
    ASSERT_GT(topRow, 50);
    const QSize fitted = dialog.size();
    const auto before = Places(dialog);
    const int columns = dialog.Graph()->Geometry().columns;
    const int listHeight = dialog.DataList()->List()->height();
    const QRect graphFrame = dialog.Control(IDC_GRAPH_FRAME)->geometry();

    for (const QSize other : {QSize(1916, 1076), QSize(1048, 691), QSize(1300, 1000)}) {
        SCOPED_TRACE(Name(other).toStdString());
        dialog.resize(other);
        Settle();
        ASSERT_EQ(dialog.size(), other);
        const WindowFit fit = dialog.Placement();
        if (fit.scale == dialog.Scale()) {
            EXPECT_EQ(dialog.Graph()->Geometry().columns, columns + fit.room.width());
            EXPECT_EQ(dialog.DataList()->List()->height(), listHeight + fit.room.height());
            EXPECT_EQ(dialog.Control(IDC_GRAPH_FRAME)->size(), graphFrame.size() + fit.room);
        }
        // The graph page's controls stay inside the frame that shows it,
        // the pages' inside the tab control.
        const QWidget* frame = dialog.Control(IDC_GRAPH_FRAME);
        for (const QWidget* w : dialog.Graph()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(frame->rect().contains(w->geometry())) << w->objectName().toStdString();
        for (const QWidget* w : dialog.Summary()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(dialog.Tabs()->rect().contains(w->geometry())) << w->objectName().toStdString();
        EXPECT_TRUE(dialog.Tabs()->rect().contains(dialog.DataList()->List()->geometry()));
        dialog.resize(fitted);
        Settle();
        EXPECT_EQ(Moved(before, Places(dialog)), "");
        // The list shows the rows it showed, with the row chosen.
        EXPECT_EQ(list->currentIndex().row(), 100);
        EXPECT_EQ(list->rowAt(0), topRow);
    }
}

// The window can be maximised and resized, but not below the fit to a
// 1366 x 768 screen (or its own screen, when that is smaller).
TEST(MainWindowSize, MaximisesAndRefusesASizeBelowTheSmallest)
{
    CMainDialog dialog({}, {1920, 1080});
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
    const QSize smallest = MinimumMainSize({1920, 1080}, BaseUnitsOf(dialog.font()));
    EXPECT_EQ(dialog.minimumSize(), smallest);
    EXPECT_GT(dialog.maximumWidth(), 4000);
    dialog.show();
    dialog.resize(800, 500);
    Settle();
    EXPECT_EQ(dialog.size(), smallest);

    dialog.showMaximized();
    Settle();
    EXPECT_TRUE(dialog.isMaximized());
    EXPECT_GT(dialog.width(), 1800);
    // The progress bar keeps the two-pixel margin to the corner it has at the fit.
    const QRect progress = dialog.Control(IDC_PROGRESS)->geometry();
    EXPECT_EQ(dialog.width() - progress.right(), 2);
    EXPECT_EQ(dialog.height() - progress.bottom(), 2);

    CMainDialog onSmallScreen({}, {1200, 666});
    EXPECT_EQ(onSmallScreen.minimumSize(), onSmallScreen.size());
}

namespace {

// The settings in a folder of the test's own, never the user's.
class KeptPlacement : public ::testing::Test {
protected:
    KeptPlacement() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path("config")); }
    ~KeptPlacement() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    }

    TempDir dir;
};

} // namespace

TEST_F(KeptPlacement, SizePositionAndMaximisedStateComeBackNextRun)
{
    QRect normal;
    {
        CMainDialog first({}, {1920, 1080});
        first.RememberPlacement(); // nothing kept yet: fitted and centred
        EXPECT_EQ(first.size(), QSize(1475, 972));
        first.show();
        first.setGeometry(40, 60, 1300, 800);
        Settle();
        normal = first.geometry();
        first.done(QDialog::Rejected);
    }
    {
        CMainDialog second({}, {1920, 1080});
        second.RememberPlacement();
        second.show();
        Settle();
        EXPECT_EQ(second.geometry(), normal);
        EXPECT_FALSE(second.isMaximized());
        EXPECT_EQ(second.Control(IDC_GRAPH_FRAME)->width(),
                  PlaceMainControls(normal.size(), second.Scale(), BaseUnitsOf(second.font())).Of(IDC_GRAPH_FRAME).width());
        second.showMaximized();
        Settle();
        second.done(QDialog::Rejected);
    }
    CMainDialog third({}, {1920, 1080});
    third.RememberPlacement();
    third.show();
    Settle();
    EXPECT_TRUE(third.isMaximized());
    EXPECT_EQ(third.normalGeometry(), normal);

    // A window that keeps nothing writes nothing.
    QSettings().clear();
    {
        CMainDialog forgetful({}, {1920, 1080});
        forgetful.show();
        forgetful.done(QDialog::Rejected);
    }
    EXPECT_FALSE(QSettings().contains("window/geometry"));
}

TEST_F(KeptPlacement, AKeptSizeBelowTheSmallestIsRefused)
{
    {
        QWidget small;
        small.setGeometry(30, 30, 600, 400);
        QSettings().setValue("window/geometry", small.saveGeometry());
    }
    CMainDialog dialog({}, {1920, 1080});
    dialog.RememberPlacement();
    dialog.show();
    Settle();
    EXPECT_EQ(dialog.size(), dialog.minimumSize());
}
