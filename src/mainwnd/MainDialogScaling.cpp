// The one-time fit of the main window to 90 % of the screen: every control
// keeps its centre scaled about the client origin, fonts grow with it, and
// each page rescales its own controls.
#include "mainwnd/MainDialog.h"

#include "views/DialogScale.h"
#include "views/SummaryPage.h"
#include "mainwnd/TabHost.h"
#include "views/DataListPage.h"
#include "views/GraphPage.h"
#include "views/AlarmFormView.h"
#include "mainwnd/StationView.h"

namespace {

// Scaling order of the controls below the banner.
constexpr int kScaledControls[] = {
    CMainDialog::IDC_DOWNLOAD, CMainDialog::IDC_OPEN, CMainDialog::IDC_SAVE,
    CMainDialog::IDC_PRINT, CMainDialog::IDC_START_SETTING, CMainDialog::IDCANCEL,
    CMainDialog::IDC_CALIBRATE, CMainDialog::IDC_TABS, CMainDialog::IDC_UNIT_F,
    CMainDialog::IDC_UNIT_C, CMainDialog::IDC_BATTERY, CMainDialog::IDC_LOGGER_CLOCK,
    CMainDialog::IDC_RUN_STATE, CMainDialog::IDC_GRAPH_FRAME, CMainDialog::IDC_UNIT_GROUP,
    CMainDialog::IDC_STATUS, CMainDialog::IDC_PROGRESS, CMainDialog::IDC_AUTOMATIC,
    CMainDialog::IDC_STATION_SETTINGS, CMainDialog::IDC_ARCHIVE,
};

QSize Scaled(QSize size, float s)
{
    return {static_cast<int>(static_cast<float>(size.width()) * s),
            static_cast<int>(static_cast<float>(size.height()) * s)};
}

} // namespace

void CMainDialog::ScaleToScreen(QSize screen)
{
    const QSize window = size();
    m_fScale = ScreenFitScale(screen, window);
    m_scaledSize = Scaled(window, m_fScale);

    const QRect banner = Control(IDC_BANNER)->geometry();
    const int hw = (banner.width() + 1) / 2;
    const int hh = (banner.height() + 1) / 2;
    Control(IDC_BANNER)->setGeometry(0, 0, 2 * static_cast<int>(static_cast<float>(hw) * m_fScale),
                                     2 * static_cast<int>(static_cast<float>(hh) * m_fScale));

    m_scaledFont = ScaledFont(Control(IDC_DOWNLOAD)->font(), m_fScale);
    for (const int id : kScaledControls) {
        QWidget* control = Control(id);
        control->setFont(m_scaledFont);
        control->setGeometry(ScaleControlRect(control->geometry(), m_fScale));
    }
    RescalePages();
    m_tabsNarrow = m_pTabs->geometry();
    setFixedSize(m_scaledSize);
    move(CentredOrigin(screen, m_scaledSize));
}

void CMainDialog::RescalePages()
{
    auto fit = [this](QWidget* page) {
        const QSize size(page->width() + 1, page->height() + 1);
        page->setGeometry(QRect(QPoint(0, 0), Scaled(size, m_fScale)));
    };
    const QPoint summaryOrigin = m_pSummary->mapTo(this, QPoint(0, 0));
    fit(m_pSummary);
    m_pSummary->Rescale(m_fScale, summaryOrigin.x(), summaryOrigin.y());
    fit(m_pAreaSummary);
    m_pAreaSummary->Rescale(m_fScale, summaryOrigin.x(), summaryOrigin.y());
    const QPoint listOrigin = m_pDataList->mapTo(this, QPoint(0, 0));
    fit(m_pDataList);
    m_pDataList->Rescale(m_fScale, listOrigin.x(), listOrigin.y());
    fit(m_pAreaDataList);
    m_pAreaDataList->Rescale(m_fScale, listOrigin.x(), listOrigin.y());
    fit(m_pAlarms);
    m_pAlarms->Rescale(m_fScale);
    fit(m_pStationView);
    const QPoint graphOrigin = m_pGraph->mapTo(this, QPoint(0, 0));
    fit(m_pGraph);
    m_pGraph->Rescale(m_fScale, graphOrigin.x(), graphOrigin.y());
}
