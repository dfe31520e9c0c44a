// Page switching on the tab control: summary, data, alarms, and while a
// range is selected on the graph, the area summary and area data pages.
#include "mainwnd/MainDialog.h"

#include "base/TextTable.h"
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

void ShowOnly(QWidget* shown, std::initializer_list<QWidget*> pages)
{
    for (QWidget* page : pages)
        page->setVisible(page == shown);
}

} // namespace

void CMainDialog::OnTabChanged(int index)
{
    const auto pages = {static_cast<QWidget*>(m_pSummary), static_cast<QWidget*>(m_pDataList),
                        static_cast<QWidget*>(m_pAreaSummary), static_cast<QWidget*>(m_pAreaDataList),
                        static_cast<QWidget*>(m_pAlarms)};
    const bool selection = m_pGraph && m_pGraph->IsSelectionOn();
    switch (index) {
    case 0:
        ShowOnly(m_pSummary, pages);
        break;
    case 1:
        ShowOnly(m_pDataList, pages);
        break;
    case 2:
        ShowOnly(m_pAlarms, pages);
        break;
    case kFixedTabs:
        if (selection)
            ShowOnly(m_pAreaSummary, pages);
        else
            m_pAreaSummary->hide();
        break;
    case kFixedTabs + 1:
        if (selection)
            ShowOnly(m_pAreaDataList, pages);
        else
            m_pAreaDataList->hide();
        break;
    default:
        break;
    }
}

void CMainDialog::ShowAreaTabs(bool show)
{
    QTabBar* bar = m_pTabs->Bar();
    const auto pages = {static_cast<QWidget*>(m_pSummary), static_cast<QWidget*>(m_pDataList),
                        static_cast<QWidget*>(m_pAreaSummary), static_cast<QWidget*>(m_pAreaDataList),
                        static_cast<QWidget*>(m_pAlarms)};
    if (!show) {
        bar->setCurrentIndex(0);
        ShowOnly(m_pSummary, pages);
        const QSignalBlocker block(bar);
        while (bar->count() > kFixedTabs)
            bar->removeTab(bar->count() - 1);
        return;
    }
    {
        const QSignalBlocker block(bar);
        while (bar->count() > kFixedTabs)
            bar->removeTab(bar->count() - 1);
        bar->addTab(GetText(ToInt(TextId::AreaSummaryTab), m_display.language));
        bar->addTab(GetText(ToInt(TextId::AreaDataTab), m_display.language));
    }
    m_pAreaSummary->m_pRecord = &m_connection.Range();
    m_pAreaSummary->UpdateLayout();
    m_pAreaSummary->UpdateValues();
    m_pAreaDataList->SetRecord(&m_connection.Range());
    {
        const QSignalBlocker block(bar);
        bar->setCurrentIndex(kFixedTabs);
    }
    ShowOnly(m_pAreaSummary, pages);
}
