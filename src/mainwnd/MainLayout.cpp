#include "mainwnd/MainLayout.h"

#include "mainwnd/ControlId.h"

#include <algorithm>
#include <utility>

namespace {

// The controls that follow a window larger than the template; the others
// (the buttons, the unit choice, the logger clock) keep their places.
constexpr std::pair<int, unsigned> kGrowth[] = {
    {IDC_BANNER, kGrowX},
    {IDC_TABS, kGrowY},
    {IDC_BATTERY, kGrowY},
    {IDC_GRAPH_FRAME, kGrowX | kGrowY},
    {IDC_STATUS, kMoveY | kGrowX},
    {IDC_PROGRESS, kMoveX | kMoveY},
};

unsigned GrowthOf(int id)
{
    const auto* it = std::find_if(std::begin(kGrowth), std::end(kGrowth), [id](const auto& g) { return g.first == id; });
    return it == std::end(kGrowth) ? kGrowNone : it->second;
}

// The fit to a screen of this size that the window never goes below.
constexpr QSize kSmallestScreen(1366, 768);

} // namespace

QSize MainTemplateSize(const DialogBaseUnits& units)
{
    return DluToPixels(0, 0, 606, 369, units).size();
}

QSize MinimumMainSize(QSize screen, const DialogBaseUnits& units)
{
    const QSize unscaled = MainTemplateSize(units);
    return ScaledSize(unscaled, std::min(ScreenFitScale(kSmallestScreen, unscaled), ScreenFitScale(screen, unscaled)));
}

QRect MainPlacement::Of(int id) const
{
    const auto it = std::find_if(controls.begin(), controls.end(), [id](const auto& c) { return c.first == id; });
    return it == controls.end() ? QRect() : it->second;
}

MainPlacement PlaceMainControls(QSize window, float fitScale, const DialogBaseUnits& units)
{
    MainPlacement placement;
    placement.fit = FitToWindow(MainTemplateSize(units), fitScale, window);
    for (const TemplateRect& control : MainTemplateRects()) {
        QRect rect = PlaceFromUnits(control.du, units, placement.fit.scale, {}, GrowthOf(control.id), placement.fit.room);
        // The banner spans the window: its even width may pass the edge by a pixel.
        if (control.id == IDC_BANNER)
            rect.setWidth(std::min(rect.width(), window.width()));
        placement.controls.emplace_back(control.id, rect);
    }
    return placement;
}
