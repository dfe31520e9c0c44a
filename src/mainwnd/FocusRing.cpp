#include "mainwnd/FocusRing.h"

#include <QApplication>
#include <QFocusFrame>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleHintReturnMask>
#include <QStyleOption>

namespace {

// Draws the focus frame as the ring, around the control rather than on it.
class RingStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_FocusFrameHMargin || metric == PM_FocusFrameVMargin)
            return CFocusRing::kWidth;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_FocusFrame_AboveWidget)
            return 1;
        if (hint == SH_FocusFrame_Mask) {
            // Only the ring itself covers anything.
            if (auto* mask = qstyleoption_cast<QStyleHintReturnMask*>(returnData); mask && option) {
                const int w = CFocusRing::kWidth;
                mask->region = QRegion(option->rect) - QRegion(option->rect.adjusted(w, w, -w, -w));
            }
            return 1;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (element != CE_FocusFrame) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        const int w = CFocusRing::kWidth;
        const QRect outer = option->rect;
        painter->fillRect(outer, CFocusRing::kOuter);
        painter->fillRect(outer.adjusted(w - 1, w - 1, 1 - w, 1 - w), CFocusRing::kInner);
    }
};

} // namespace

CFocusRing::CFocusRing(QWidget* window)
    : QObject(window), m_pWindow(window), m_pFrame(new QFocusFrame(window))
{
    auto* style = new RingStyle;
    style->setParent(this);
    m_pFrame->setStyle(style);
    m_pFrame->setObjectName(QStringLiteral("focus_ring"));
    m_pFrame->hide();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { Follow(now); });
}

void CFocusRing::Follow(QWidget* focused)
{
    const bool ours = focused && focused != m_pWindow && focused->window() == m_pWindow
        && (focused->focusPolicy() & Qt::TabFocus);
    m_pFrame->setWidget(ours ? focused : nullptr);
}
