#include "mainwnd/StationView.h"

#include "mainwnd/StationRowModel.h"

#include <QEvent>
#include <QHeaderView>

CStationView::CStationView(CStationRowModel& model, QWidget* parent)
    : QTableView(parent), m_model(model)
{
    setModel(&model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideMiddle);
    verticalHeader()->hide();
    // Every column as wide as its texts; the files take what is left.
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(CStationRowModel::Files, QHeaderView::Stretch);
    horizontalHeader()->setHighlightSections(false);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) { Activate(index.row()); });
}

void CStationView::changeEvent(QEvent* event)
{
    // The header takes the list's font, not the style's smaller header font.
    if (event->type() == QEvent::FontChange)
        horizontalHeader()->setFont(font());
    QTableView::changeEvent(event);
}

void CStationView::Activate(int row)
{
    const QString file = m_model.data(m_model.index(row, 0), CStationRowModel::DataFileRole).toString();
    if (!file.isEmpty() && m_open)
        m_open(file);
}
