#include "mainwnd/Statics.h"

#include <QFontMetrics>
#include <QPainter>

CBannerStatic::CBannerStatic(QWidget* parent)
    : QWidget(parent), m_picture(QStringLiteral(":/halvern/banner.png"))
{
}

void CBannerStatic::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    const int w = qMin(m_picture.width(), width());
    const int h = qMin(m_picture.height(), height());
    painter.drawPixmap(0, 0, m_picture, 0, 0, w, h);
}

CColourStatic::CColourStatic(const QColor& text, const QColor& background, QWidget* parent)
    : QWidget(parent), m_textColour(text), m_background(background)
{
    setAutoFillBackground(true);
}

void CColourStatic::SetText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
}

void CColourStatic::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics fm(font());
    const QRect box(0, 0, qMin(width(), fm.horizontalAdvance(m_text)), qMin(height(), fm.height()));
    painter.fillRect(box, m_background);
    painter.setPen(m_textColour);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, m_text);
}
