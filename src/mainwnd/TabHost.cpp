#include "mainwnd/TabHost.h"

#include <QEvent>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

CTabHost::CTabHost(QWidget* parent)
    : QWidget(parent), m_pBar(new QTabBar(this))
{
    m_pBar->setShape(QTabBar::RoundedSouth);
    m_pBar->setDrawBase(false);
    m_pBar->setExpanding(false);
    setAutoFillBackground(true);
}

int CTabHost::PageHeight() const
{
    return height() - m_pBar->sizeHint().height();
}

void CTabHost::PlaceBar()
{
    const int h = m_pBar->sizeHint().height();
    m_pBar->setGeometry(0, height() - h, width(), h);
    m_pBar->raise();
}

void CTabHost::resizeEvent(QResizeEvent*)
{
    PlaceBar();
}

void CTabHost::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        m_pBar->setFont(font());
        PlaceBar();
    }
    QWidget::changeEvent(event);
}

void CTabHost::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame option;
    option.initFrom(this);
    option.shape = QTabBar::RoundedSouth;
    option.rect = QRect(0, 0, width(), PageHeight() + 1);
    option.tabBarSize = m_pBar->sizeHint();
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, option);
}
