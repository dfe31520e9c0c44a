#include "mainwnd/Statics.h"

#include <QPainter>

CBannerStatic::CBannerStatic(QWidget* parent)
    : QWidget(parent), m_picture(QStringLiteral(":/halvern/banner.png"))
{
}

void CBannerStatic::SetTexts(const QString& title, const QString& subtitle)
{
    m_title = title;
    m_subtitle = subtitle;
    update();
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
    // Beside the picture's icon, above its amber rule; sizes in the
    // picture's pixels, as the picture is not scaled either. The Chinese
    // glyphs come from the CJK font when the Latin one has none.
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont title;
    title.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("WenQuanYi Micro Hei")});
    title.setPixelSize(40);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QPoint(128, 58), m_title);
    QFont subtitle = title;
    subtitle.setPixelSize(18);
    subtitle.setBold(false);
    painter.setFont(subtitle);
    painter.setPen(QColor(200, 220, 232));
    painter.drawText(QPoint(130, 88), m_subtitle);
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
