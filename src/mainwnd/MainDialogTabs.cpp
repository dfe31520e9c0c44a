// Page switching on the tab control: summary, data, alarms; while a range
// is selected on the graph, the area summary and area data pages; while
// Automatic is on, the station list last. Each tab carries the page it
// shows, so the tabs that come and go never shift another tab's page. The
// station list needs the window's width for its columns: while it is the
// current page, the tab control widens over the battery strip and the graph
// and narrows again for every other page.
#include "mainwnd/MainDialog.h"

#include "base/TextTable.h"
#include "mainwnd/StationView.h"
#include "views/SummaryPage.h"
#include "mainwnd/TabHost.h"
#include "record/LoggerRecord.h"
#include "views/DataListPage.h"
#include "views/GraphPage.h"
#include "views/AlarmFormView.h"

#include <QSignalBlocker>
#include <QTabBar>

namespace {

// The fixed tabs before the area tabs: Summary, Data, Alarms.
constexpr int kFixedTabs = 3;

} // namespace

void CMainDialog::ShowOnly(QWidget* shown)
{
    for (QWidget* page : {static_cast<QWidget*>(m_pSummary), static_cast<QWidget*>(m_pDataList),
                          static_cast<QWidget*>(m_pAreaSummary), static_cast<QWidget*>(m_pAreaDataList),
                          static_cast<QWidget*>(m_pAlarms), static_cast<QWidget*>(m_pStationView)})
        page->setVisible(page == shown);
}

void CMainDialog::AddTab(TabPage page, const QString& text, int at)
{
    QTabBar* bar = m_pTabs->Bar();
    const int index = bar->insertTab(at < 0 ? bar->count() : at, text);
    bar->setTabData(index, static_cast<int>(page));
}

CMainDialog::TabPage CMainDialog::PageOfTab(int index) const
{
    const QVariant data = m_pTabs->Bar()->tabData(index);
    // A tab that is not there: the page that index has when every tab is.
    return data.isValid() ? static_cast<TabPage>(data.toInt()) : static_cast<TabPage>(index);
}

int CMainDialog::TabOf(TabPage page) const
{
    const QTabBar* bar = m_pTabs->Bar();
    for (int i = 0; i < bar->count(); ++i)
        if (bar->tabData(i).toInt() == static_cast<int>(page))
            return i;
    return -1;
}

void CMainDialog::RemoveTab(TabPage page)
{
    const QSignalBlocker block(m_pTabs->Bar());
    if (const int index = TabOf(page); index >= 0)
        m_pTabs->Bar()->removeTab(index);
}

void CMainDialog::WidenTabs(bool wide)
{
    if (m_tabsNarrow.isNull())
        return; // not laid out yet
    const QRect graph = Control(IDC_GRAPH_FRAME)->geometry();
    const QRect rect = wide ? QRect(m_tabsNarrow.topLeft(), QPoint(graph.right(), m_tabsNarrow.bottom())) : m_tabsNarrow;
    if (m_pTabs->geometry() != rect)
        m_pTabs->setGeometry(rect);
    if (wide) {
        m_pTabs->raise();
        m_pStationView->setGeometry(0, 0, rect.width(), m_pTabs->PageHeight());
    }
}

void CMainDialog::OnTabChanged(int index)
{
    const bool selection = m_pGraph && m_pGraph->IsSelectionOn();
    const TabPage page = PageOfTab(index);
    WidenTabs(page == TabPage::Station);
    switch (page) {
    case TabPage::Summary:
        ShowOnly(m_pSummary);
        break;
    case TabPage::Data:
        ShowOnly(m_pDataList);
        break;
    case TabPage::Alarms:
        ShowOnly(m_pAlarms);
        break;
    case TabPage::AreaSummary:
        if (selection)
            ShowOnly(m_pAreaSummary);
        else
            m_pAreaSummary->hide();
        break;
    case TabPage::AreaData:
        if (selection)
            ShowOnly(m_pAreaDataList);
        else
            m_pAreaDataList->hide();
        break;
    case TabPage::Station:
        ShowOnly(m_pStationView);
        break;
    }
}

void CMainDialog::SelectTab(TabPage page)
{
    const int index = TabOf(page);
    if (index < 0)
        return;
    {
        const QSignalBlocker block(m_pTabs->Bar());
        m_pTabs->Bar()->setCurrentIndex(index);
    }
    OnTabChanged(index);
}

void CMainDialog::ShowAreaTabs(bool show)
{
    const bool onStation = PageOfTab(m_pTabs->Bar()->currentIndex()) == TabPage::Station;
    RemoveTab(TabPage::AreaSummary);
    RemoveTab(TabPage::AreaData);
    if (!show) {
        SelectTab(onStation ? TabPage::Station : TabPage::Summary);
        return;
    }
    {
        const QSignalBlocker block(m_pTabs->Bar());
        AddTab(TabPage::AreaSummary, GetText(TextId::AreaSummaryTab, m_display.language), kFixedTabs);
        AddTab(TabPage::AreaData, GetText(TextId::AreaDataTab, m_display.language), kFixedTabs + 1);
    }
    m_pAreaSummary->m_pRecord = &m_connection.Range();
    m_pAreaSummary->UpdateLayout();
    m_pAreaSummary->UpdateValues();
    m_pAreaDataList->SetRecord(&m_connection.Range());
    {
        const QSignalBlocker block(m_pTabs->Bar());
        m_pTabs->Bar()->setCurrentIndex(TabOf(TabPage::AreaSummary));
    }
    ShowOnly(m_pAreaSummary);
}

void CMainDialog::ShowStationTab(bool show)
{
    const bool wasCurrent = PageOfTab(m_pTabs->Bar()->currentIndex()) == TabPage::Station;
    RemoveTab(TabPage::Station);
    if (show) {
        {
            const QSignalBlocker block(m_pTabs->Bar());
            AddTab(TabPage::Station, GetText(TextId::StationTab, m_display.language));
        }
        SelectTab(TabPage::Station);
    } else if (wasCurrent) {
        SelectTab(TabPage::Summary);
    }
}
