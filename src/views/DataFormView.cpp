#include "views/DataFormView.h"

#include "views/DialogScale.h"
#include "record/LoggerRecord.h"
#include "record/SampleText.h"
#include "views/SampleTableModel.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>

namespace {
constexpr int kBaseWidth[4] = {45, 110, 80, 75};
} // namespace

CDataFormView::CDataFormView(QWidget* parent)
    : QWidget(parent), m_pList(new QTableView(this)), m_pModel(new SampleTableModel(this))
{
    setFont(DialogFont());
    m_pList->setObjectName(QStringLiteral("list_%1").arg(IDC_LIST));
    m_pList->setGeometry(DluToPixels(0, 0, 205, 238, BaseUnitsOf(font())));
    m_pList->setModel(m_pModel);
    m_pList->verticalHeader()->hide();
    m_pList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_pList->horizontalHeader()->setHighlightSections(false);
    m_pList->horizontalHeader()->setStretchLastSection(false);
    m_pList->setWordWrap(false);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pList->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_listFont = m_pList->font();
}

void CDataFormView::SetRecord(CLoggerRecord* record)
{
    m_pRecord = record;
    if (!record)
        return;
    m_pList->setShowGrid(true);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pModel->SetRecord(record);
    m_byColumns = static_cast<std::uint8_t>(SampleColumnCount(*record));
    for (int c = 0; c < m_byColumns; ++c)
        m_pList->setColumnWidth(c, static_cast<int>(static_cast<float>(kBaseWidth[c]) * m_fScale));
    m_pList->verticalHeader()->setDefaultSectionSize(QFontMetrics(m_listFont).height() + 4);
}

void CDataFormView::Rescale(float scale, int originX, int originY)
{
    m_fScale = scale;
    m_nOriginX = static_cast<int>(static_cast<float>(originX) * scale);
    m_nOriginY = static_cast<int>(static_cast<float>(originY) * scale);
    m_listFont = ScaledFont(m_pList->font(), scale);
    m_pList->setFont(m_listFont);
    const QRect r = m_pList->geometry();
    m_pList->setGeometry(0, 0, static_cast<int>(static_cast<float>(r.width() + 1) * scale),
                         static_cast<int>(static_cast<float>(r.height() + 1) * scale));
    SetRecord(m_pRecord);
}
