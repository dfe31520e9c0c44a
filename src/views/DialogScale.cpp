#include "views/DialogScale.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>

DialogBaseUnits BaseUnitsOf(const QFont& font)
{
    const QFontMetrics fm(font);
    const int extent = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(extent / 26 + 1) / 2, fm.height()};
}

QFont DialogFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(11);
    // The dialog templates are laid out for base units of 6 x 13. A default
    // face wider than that (DejaVu Sans gives 7) is narrowed with its own
    // condensed cut, so controls, texts and the graph's pixel geometry keep
    // the proportions they were drawn for.
    const int width = BaseUnitsOf(font).avgWidth;
    if (width > kTemplateAvgWidth) {
        QFont narrow = font;
        narrow.setStretch(QFont::SemiCondensed);
        if (BaseUnitsOf(narrow).avgWidth < width)
            return narrow;
    }
    return font;
}

QRect DluToPixels(int x, int y, int w, int h, const DialogBaseUnits& u)
{
    const int left = x * u.avgWidth / 4;
    const int top = y * u.height / 8;
    const int right = (x + w) * u.avgWidth / 4;
    const int bottom = (y + h) * u.height / 8;
    return {left, top, right - left, bottom - top};
}

QRect DluToPixels(const QRect& du, const DialogBaseUnits& units)
{
    return DluToPixels(du.x(), du.y(), du.width(), du.height(), units);
}

float ScreenFitScale(QSize screen, QSize window)
{
    if (window.width() <= 0 || window.height() <= 0)
        return 1.0f;
    const int tw = static_cast<int>(screen.width() * 0.9);
    const int th = static_cast<int>(screen.height() * 0.9);
    const float sx = static_cast<float>(tw) / static_cast<float>(window.width());
    const float sy = static_cast<float>(th) / static_cast<float>(window.height());
    return sx < sy ? sx : sy;
}

QRect ScaleControlRect(const QRect& r, float s, QPoint origin)
{
    // Half sizes as a window rectangle gives them: (right - left + 1) / 2
    // with an exclusive right edge.
    const int hw = (r.width() + 1) / 2;
    const int hh = (r.height() + 1) / 2;
    const int nw = static_cast<int>(static_cast<float>(hw) * s);
    const int nh = static_cast<int>(static_cast<float>(hh) * s);
    const int cx = static_cast<int>(static_cast<float>(r.x() + hw) * s)
        - static_cast<int>(static_cast<float>(origin.x()) * s);
    const int cy = static_cast<int>(static_cast<float>(r.y() + hh) * s)
        - static_cast<int>(static_cast<float>(origin.y()) * s);
    return {cx - nw, cy - nh, 2 * nw, 2 * nh};
}

QSize ScaledSize(QSize templateSize, float scale)
{
    return {static_cast<int>(static_cast<float>(templateSize.width()) * scale),
            static_cast<int>(static_cast<float>(templateSize.height()) * scale)};
}

WindowFit FitToWindow(QSize templateSize, float fitScale, QSize window)
{
    WindowFit fit{fitScale, QSize(0, 0)};
    const QSize fitted = ScaledSize(templateSize, fitScale);
    if ((fitted.width() > window.width() || fitted.height() > window.height()) && templateSize.width() > 0
        && templateSize.height() > 0) {
        const float sx = static_cast<float>(window.width()) / static_cast<float>(templateSize.width());
        const float sy = static_cast<float>(window.height()) / static_cast<float>(templateSize.height());
        fit.scale = sx < sy ? sx : sy;
    }
    const QSize scaled = ScaledSize(templateSize, fit.scale);
    fit.room = QSize(std::max(0, window.width() - scaled.width()), std::max(0, window.height() - scaled.height()));
    return fit;
}

QRect PlaceFromUnits(const QRect& du, const DialogBaseUnits& units, float scale, QPoint origin, unsigned grow,
                     QSize room)
{
    QRect r = ScaleControlRect(DluToPixels(du, units).translated(origin), scale, origin);
    const int dx = room.width(), dy = room.height();
    r.adjust((grow & kMoveX) ? dx : 0, (grow & kMoveY) ? dy : 0, (grow & (kMoveX | kGrowX)) ? dx : 0,
             (grow & (kMoveY | kGrowY)) ? dy : 0);
    return r;
}

QFont ScaledFont(const QFont& font, float scale)
{
    QFont scaled = font;
    const int px = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    const int height = static_cast<int>(static_cast<float>(px) * scale);
    scaled.setPixelSize(height > 0 ? height : 1);
    return scaled;
}

QPoint CentredOrigin(QSize screen, QSize window)
{
    return {(screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2};
}
