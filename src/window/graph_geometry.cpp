#include "window/graph_geometry.h"

#include "core/numbers.h"
#include "graph/figure.h"

namespace halvorn {

GraphHeights HeightsForOption(int index) {
    GraphHeights h;
    h.plotHeight = PlotHeightForPercent(100 - 10 * index);
    h.picture6Height = h.plotHeight + 68;
    h.picture2Height = h.plotHeight + 101;
    h.picture11Top = kPlotTop + h.plotHeight;
    h.picture4Top = h.picture11Top + 55;
    h.picture7Height = h.picture11Top + 97;
    h.line6End = h.plotHeight + 36;
    return h;
}

std::string HeightOptionCaption(int index) {
    return IntegerText(100 - 10 * index) + " %";
}

int PlotWidthAtLevel(int level) {
    return kPlotWidth << level;
}

std::string ExpansionFactorText(int level) {
    return CStrForm(1 << level) + "/ 1";
}

int CenteredPlotLeft(int frameWidth, int containerLeft) {
    return (frameWidth - kPlotWidth) / 2 - containerLeft - 4;
}

std::optional<ScrollSettings> ScrollAdjustSettings(int frameWidth, int plotWidth, int plotLeft) {
    if (plotWidth < 1000) {
        return std::nullopt;
    }
    ScrollSettings s;
    s.min = ToInteger(static_cast<double>(frameWidth) - plotWidth - 2.0 * plotLeft);
    s.max = -10;
    s.largeChange = ToInteger((s.max - s.min) / 10.0);
    s.smallChange = s.largeChange / 10.0 < 1.0 ? std::int16_t{1} : ToInteger(s.largeChange / 10.0);
    return s;
}

double ScrollProportion(int min, int max, int value) {
    return Divide(static_cast<double>(max) + min, value);
}

std::int16_t ValueAtProportion(int min, int max, double proportion) {
    return ToInteger(Divide(static_cast<double>(max) + min, proportion));
}

int ContainerLeftForValue(int min, int max, int value) {
    return max + min - value;
}

}  // namespace halvorn
