#include "report/CellText.h"

#include <algorithm>

FontSpec FontToFit(const ISurface& s, const FontSpec& font, const QString& text, int room)
{
    const int width = s.TextWidth(font, text);
    if (width <= room || font.pixelHeight <= 1)
        return font;
    auto fits = [&](int size) {
        FontSpec f = font;
        f.pixelHeight = size;
        return s.TextWidth(f, text) <= room;
    };
    // Widths grow about in proportion to the size: start there, then find
    // the largest size that fits, since hinting bends the proportion.
    const long long guess = static_cast<long long>(font.pixelHeight) * std::max(room, 0) / width;
    int size = static_cast<int>(std::clamp<long long>(guess, 1, font.pixelHeight - 1));
    while (size > 1 && !fits(size))
        --size;
    while (size + 1 < font.pixelHeight && fits(size + 1))
        ++size;
    FontSpec fit = font;
    fit.pixelHeight = size;
    return fit;
}

void CellTextOut(ISurface& s, const FontSpec& font, int x, int y, int right, const QString& text)
{
    const FontSpec fit = FontToFit(s, font, text, right - x);
    if (fit == font) {
        s.TextOut(x, y, text);
        return;
    }
    s.SetFont(fit);
    s.TextOut(x, y, text);
    s.SetFont(font);
}
