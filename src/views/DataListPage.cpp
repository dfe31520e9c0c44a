#include "views/DataListPage.h"

#include "views/ColumnFit.h"
#include "views/DialogScale.h"
#include "record/LoggerRecord.h"
#include "record/SampleText.h"
#include "record/Units.h"
#include "views/SampleTableModel.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <algorithm>

namespace {

constexpr int kBaseWidth[4] = {45, 110, 80, 75};

// The widest text a cell of each column can hold: the highest sample
// number, a date and time, a value with its unit and alarm mark.
QString WidestCell(int column, int rows, TempUnit unit)
{
    switch (column) {
    case 0:
        return QString(QString::number(rows > 0 ? rows : 1).size(), QLatin1Char('8'));
    case 1:
        return QStringLiteral("8888-88-88 88:88");
    case 2:
        return QStringLiteral("-888.88") + UnitText(unit) + QLatin1Char('*');
    default:
        return QStringLiteral("888.88") + kUnitRH + QLatin1Char('*');
    }
}

// The list's place on the page template.
QRect ListTemplate(const DialogBaseUnits& units)
{
    return DluToPixels(0, 0, 205, 238, units);
}

} // namespace

CDataListPage::CDataListPage(const DisplaySettings& display, QWidget* parent)
    : QWidget(parent), m_display(display), m_pList(new QTableView(this)), m_pModel(new SampleTableModel(display, this))
{
    setFont(DialogFont());
    m_pList->setObjectName(QStringLiteral("list_%1").arg(IDC_LIST));
    m_pList->setGeometry(ListTemplate(BaseUnitsOf(font())));
    m_pList->setModel(m_pModel);
    m_pList->verticalHeader()->hide();
    m_pList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_pList->horizontalHeader()->setHighlightSections(false);
    m_pList->horizontalHeader()->setStretchLastSection(false);
    m_pList->setWordWrap(false);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pList->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_pList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_listFont = m_pList->font();
}

void CDataListPage::SetRecord(CLoggerRecord* record)
{
    m_pRecord = record;
    if (!record)
        return;
    m_pList->setShowGrid(true);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pModel->SetRecord(record);
    m_byColumns = static_cast<std::uint8_t>(SampleColumnCount(*record));
    FitColumnsToList();
    m_pList->verticalHeader()->setDefaultSectionSize(QFontMetrics(m_listFont).height() + 4);
}

int CDataListPage::ListRoom() const
{
    const int scrollBar = m_pList->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_pList);
    return m_pList->width() - 2 * m_pList->frameWidth() - scrollBar;
}

void CDataListPage::FitColumnsToList()
{
    // Each column asks for its template width at the layout scale, or more
    // when its header or its widest cell needs more; the list's width (less
    // the vertical scroll bar) is then shared out among them.
    const QFontMetrics cellFont(m_listFont);
    const QFontMetrics headerFont(m_pList->horizontalHeader()->font());
    const int cellPad = 2 * (m_pList->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_pList) + 1) + 1;
    const int headerPad = 2 * m_pList->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, m_pList) + 1;
    std::vector<int> wanted;
    for (int c = 0; c < m_byColumns; ++c) {
        const QString header = m_pModel->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        const int content = std::max(cellFont.horizontalAdvance(WidestCell(c, m_pModel->rowCount(), m_display.unit)) + cellPad,
                                     headerFont.horizontalAdvance(header) + headerPad);
        wanted.push_back(std::max(static_cast<int>(static_cast<float>(kBaseWidth[c]) * m_fScale), content));
    }
    const std::vector<int> widths = FitColumns(wanted, ListRoom());
    for (int c = 0; c < m_byColumns; ++c)
        m_pList->setColumnWidth(c, widths[c]);
}

void CDataListPage::Rescale(float scale, int originX, int originY, QSize room)
{
    m_fScale = scale;
    m_nOriginX = static_cast<int>(static_cast<float>(originX) * scale);
    m_nOriginY = static_cast<int>(static_cast<float>(originY) * scale);
    m_listFont = ScaledFont(font(), scale);
    m_pList->setFont(m_listFont);
    const QSize list = ListTemplate(BaseUnitsOf(font())).size();
    m_pList->setGeometry(QRect(QPoint(0, 0), ScaledSize(list + QSize(1, 1), scale) + room));
    // The rows stay as they are (no new model), so the list keeps its
    // place and selection as the window changes size.
    FitColumnsToList();
    m_pList->verticalHeader()->setDefaultSectionSize(QFontMetrics(m_listFont).height() + 4);
}
