#include "mainwnd/Statics.h"

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
    // A window wider than the picture: its right edge carries on.
    if (width() > w)
        painter.drawPixmap(QRect(w, 0, width() - w, h), m_picture, QRect(m_picture.width() - 1, 0, 1, h));
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
    // The whole control takes the text's background, so no strip of another
    // colour shows below or beside the text.
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    painter.setPen(m_textColour);
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, m_text);
}
