#include "report/CellText.h"

#include <algorithm>
#include <functional>

namespace {

FontSpec Sized(const FontSpec& font, int size)
{
    FontSpec f = font;
    f.pixelHeight = size;
    return f;
}

// The largest size below `below` at which fits(size) holds, searched from
// guess (widths grow about in proportion to the size, but hinting bends
// the proportion); 0 when not even 1 pixel does.
int LargestSize(int below, long long guess, const std::function<bool(int)>& fits)
{
    if (below <= 1)
        return 0;
    int size = static_cast<int>(std::clamp<long long>(guess, 1, below - 1));
    while (size >= 1 && !fits(size))
        --size;
    while (size >= 1 && size + 1 < below && fits(size + 1))
        ++size;
    return size;
}

struct TwoLines {
    QString first, second;
};

// text broken into two lines as even as the blanks allow, or between any
// two characters when it has no blank; none for a single character.
TwoLines Break(const ISurface& s, const FontSpec& font, const QString& text)
{
    const bool blanks = text.trimmed().contains(QLatin1Char(' '));
    TwoLines best;
    int bestWidth = 0;
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (blanks ? text[i] != QLatin1Char(' ') : text[i].isLowSurrogate())
            continue;
        const TwoLines lines{text.left(i).trimmed(), text.mid(i).trimmed()};
        if (lines.first.isEmpty() || lines.second.isEmpty())
            continue;
        const int width = std::max(s.TextWidth(font, lines.first), s.TextWidth(font, lines.second));
        if (best.first.isEmpty() || width < bestWidth) {
            best = lines;
            bestWidth = width;
        }
    }
    return best;
}

} // namespace

void CellTextOut(ISurface& s, const FontSpec& font, int x, int y, const CellEdges& cell, const QString& text)
{
    const int width = s.TextWidth(font, text);
    if (width <= cell.right - x) {
        s.TextOut(x, y, text);
        return;
    }
    const int room = cell.right - x - std::max(0, x - cell.left);
    const int base = font.pixelHeight;
    const int one = LargestSize(base, static_cast<long long>(base) * std::max(room, 0) / std::max(width, 1),
                                [&](int size) { return s.TextWidth(Sized(font, size), text) <= room; });
    const int height = cell.bottom - cell.top - 1;
    const TwoLines lines = Break(s, font, text);
    int two = 0;
    if (!lines.first.isEmpty()) {
        auto fits = [&](int size) {
            const FontSpec f = Sized(font, size);
            return 2 * s.LineHeight(f) <= height && s.TextWidth(f, lines.first) <= room && s.TextWidth(f, lines.second) <= room;
        };
        const int widest = std::max({s.TextWidth(font, lines.first), s.TextWidth(font, lines.second), 1});
        const long long guess = std::min(static_cast<long long>(base) * std::max(room, 0) / widest,
                                         static_cast<long long>(base) * std::max(height, 0) / (2 * std::max(s.LineHeight(font), 1)));
        two = LargestSize(base, guess, fits);
    }
    if (two > one) {
        const FontSpec f = Sized(font, two);
        const int lineHeight = s.LineHeight(f);
        const int top = cell.top + 1 + (height - 2 * lineHeight) / 2;
        s.SetFont(f);
        s.TextOut(x, top, lines.first);
        s.TextOut(x, top + lineHeight, lines.second);
    } else {
        s.SetFont(Sized(font, std::max(one, 1)));
        s.TextOut(x, y, text);
    }
    s.SetFont(font);
}
