// The main window's placement: fitted to 90 % of the screen at start, then
// placed again from the template's dialog units each time its size
// changes, so no rounding piles up. The fonts follow the scale; each page
// places its own controls.
#include "mainwnd/MainDialog.h"

#include "mainwnd/MainLayout.h"
#include "mainwnd/StationView.h"
#include "mainwnd/TabHost.h"
#include "views/AlarmFormView.h"
#include "views/DataListPage.h"
#include "views/DialogScale.h"
#include "views/GraphPage.h"
#include "views/SummaryPage.h"

#include <QResizeEvent>
#include <QSettings>
#include <QTabBar>

namespace {

// The graph page's own size in the unscaled window; the graph frame shows
// what of it fits.
constexpr QSize kGraphPageSize(930, 600);

const QString kPlacementKey = QStringLiteral("window/geometry");

} // namespace

void CMainDialog::ScaleToScreen(QSize screen)
{
    const DialogBaseUnits units = BaseUnitsOf(font());
    const QSize unscaled = MainTemplateSize(units);
    m_fScale = ScreenFitScale(screen, unscaled);
    setMinimumSize(MinimumMainSize(screen, units));
    const QSize fitted = ScaledSize(unscaled, m_fScale);
    resize(fitted);
    PlaceControls(fitted);
    move(CentredOrigin(screen, fitted));
}

void CMainDialog::PlaceControls(QSize size)
{
    const MainPlacement placement = PlaceMainControls(size, m_fScale, BaseUnitsOf(font()));
    m_placed = placement.fit;
    m_placedSize = size;
    m_scaledFont = ScaledFont(font(), m_placed.scale);
    for (const auto& [id, rect] : placement.controls) {
        QWidget* control = Control(id);
        control->setFont(m_scaledFont);
        control->setGeometry(rect);
    }
    PlacePages();
    m_tabsNarrow = m_pTabs->geometry();
    WidenTabs(PageOfTab(m_pTabs->Bar()->currentIndex()) == TabPage::Station);
}

void CMainDialog::PlacePages()
{
    const float s = m_placed.scale;
    const QSize room = m_placed.room;
    const QSize taller(0, room.height());
    const auto fit = [s](QWidget* page, QSize unscaled, QSize extra) {
        page->setGeometry(QRect(QPoint(0, 0), ScaledSize(unscaled + QSize(1, 1), s) + extra));
    };
    const QPoint tabs = m_pTabs->pos();
    for (CSummaryPage* page : {m_pSummary, m_pAreaSummary}) {
        fit(page, m_tabPageSize, taller);
        page->Rescale(s, tabs.x(), tabs.y());
    }
    for (CDataListPage* page : {m_pDataList, m_pAreaDataList}) {
        fit(page, m_tabPageSize, taller);
        page->Rescale(s, tabs.x(), tabs.y(), taller);
    }
    fit(m_pAlarms, m_tabPageSize, taller);
    m_pAlarms->Rescale(s);
    fit(m_pStationView, m_tabPageSize, taller);
    // Its own font: one inherited from a parent whose pixel size changed
    // comes back in points.
    m_pStationView->setFont(m_scaledFont);
    const QPoint graph = Control(IDC_GRAPH_FRAME)->pos();
    fit(m_pGraph, kGraphPageSize, room);
    m_pGraph->Rescale(s, graph.x(), graph.y(), room);
}

void CMainDialog::resizeEvent(QResizeEvent* event)
{
    if (m_placedSize.isValid() && event->size() != m_placedSize)
        PlaceControls(event->size());
    QDialog::resizeEvent(event);
}

void CMainDialog::RememberPlacement()
{
    m_bRememberPlacement = true;
    const QByteArray kept = QSettings().value(kPlacementKey).toByteArray();
    if (!kept.isEmpty())
        restoreGeometry(kept);
}

void CMainDialog::done(int result)
{
    if (m_bRememberPlacement) {
        QSettings settings;
        settings.setValue(kPlacementKey, saveGeometry());
    }
    QDialog::done(result);
}
