#include "graph/graph.h"

#include <algorithm>
#include <optional>

#include "core/numbers.h"

namespace halvorn {

namespace {

std::int32_t R(double v) {
    return ToLong(v);
}

}  // namespace

GraphOutcome Graph::PrepareRedraw(std::int32_t plotWidth, std::int32_t plotHeight) {
    return RunGuarded([&] {
        SetUpYRange(g_.mapping, s_, settings_);
        if (s_.NeedPeakSearch) {
            g_.mapping.PlotHeight = plotHeight;
            FindPeakTops();
            s_.NeedPeakSearch = false;
        }
        SetUpMapping(g_.mapping, s_, settings_, plotWidth, plotHeight);
        if (s_.RelayoutLabels || !IsLaidOut(g_.peaks, settings_)) {
            LayoutPeakLabels();
            s_.RelayoutLabels = false;
        }
    });
}

void Graph::FindPeakTops() {
    halvorn::FindPeakTops(g_.peaks, s_, g_.mapping, g_.mapping.PlotHeight);
}

std::string Graph::PeakLabelText(std::int16_t point) const {
    const double nu = s_.WaveX.at(static_cast<std::size_t>(point));
    const double value =
        g_.mapping.XScaleKind == 1 ? RoundTo(Divide(10000.0, nu), 2) : RoundTo(nu, 0);
    return CStrForm(value, g_.DecimalSeparator);
}

LabelBox& Graph::CurrentBox(int slot) const {
    LabelBox* box = LabelBoxOf(g_.peaks, settings_, slot);
    if (box == nullptr) {
        throw GraphFault("peak label index out of range");
    }
    return *box;
}

// y of a point on the spectrum window's plot (inner height H), from the top y0.
std::int32_t Graph::PeakY(std::int16_t point, std::int32_t y0) const {
    const MappingState& m = g_.mapping;
    const double t = s_.RawY.at(static_cast<std::size_t>(point)) / s_.YFactor;
    return R(y0 +
             m.PlotHeight / static_cast<double>(m.PlotYTop - m.PlotYBottom) * (m.PlotYTop - t));
}

void Graph::DrawTrace(Surface& dc, std::int32_t x0, std::int32_t /*width*/, std::int32_t y0,
                      std::int32_t height, Rgb colour) const {
    const MappingState& m = g_.mapping;
    const bool line = g_.mnuLineChecked;
    const ObjectHandle pen = dc.CreatePen(colour);
    const ObjectHandle previous = dc.SelectObject(pen);
    const double perPercent = height / static_cast<double>(m.PlotYTop - m.PlotYBottom);
    const double top = m.PlotYTop;
    auto yOf = [&](std::int32_t p) { return R(y0 + perPercent * (top - s_.RawY[p] / s_.YFactor)); };

    const std::int32_t first = s_.ViewFirstPoint;
    const std::int32_t last = std::min<std::int32_t>(s_.ViewLastPoint, s_.PointCount);
    if (first >= 1 && first <= last) {
        // The display range starts at the first point's abscissa, at x0.
        if (line) {
            dc.MoveTo(x0, yOf(first));
        } else {
            dc.SetPixel(x0, yOf(first), 0);
        }
        // A stride below 1 would never reach the last point; draw every point.
        const std::int32_t step = std::max<std::int32_t>(1, g_.PointStep);
        for (std::int32_t p = first + 1; p <= last; p += step) {
            const std::int32_t x = R(x0 + XOfWavenumber(s_.WaveX[p]));
            const std::int32_t y = yOf(p);
            if (line) {
                dc.LineTo(x, y);
            } else {
                dc.SetPixel(x, y, 0);  // points are always black
            }
        }
    }
    dc.SelectObject(previous);
    dc.DeleteObject(pen);
}

void Graph::LayoutPeakLabels() const {
    const std::int32_t outer = g_.PlotOuterHeight > 0 ? g_.PlotOuterHeight : g_.mapping.PlotHeight;
    for (int slot = 0; slot < g_.peaks.PeakCount; ++slot) {
        const std::int16_t p = g_.peaks.PeakPoints.at(static_cast<std::size_t>(slot));
        const std::int32_t x = R(XOfWavenumber(s_.WaveX.at(static_cast<std::size_t>(p))));
        const std::int32_t y = PeakY(p, 0);
        const auto n = static_cast<std::int32_t>(PeakLabelText(p).size());
        LabelBox& box = CurrentBox(slot);
        if (y + 5 > outer - 48) {
            // It would run off the bottom: to the left of the peak instead.
            box = {x - 24, outer - 48, x - 14, (outer - 48) + 6 * n + 1};
        } else {
            box = {x - 4, y + 22, x + 6, y + 22 + 6 * n + 1};
        }
    }
    if (const std::optional<LabelLayoutIndex> layout = LabelLayoutOf(settings_)) {
        g_.peaks.LaidOut[layout->sections][layout->kind] = true;
    }
}

void Graph::DrawPeakLabels(Surface& dc, std::int32_t x0, std::int32_t y0, Rgb colour) const {
    const ObjectHandle pen = dc.CreatePen(colour);
    const ObjectHandle previousPen = dc.SelectObject(pen);
    const ObjectHandle font = dc.CreateFont({"Arial", 12, 5, 2700, 400});
    const ObjectHandle previousFont = dc.SelectObject(font);
    const Rgb previousColour = dc.SetTextColor(colour);
    for (int slot = 0; slot < g_.peaks.PeakCount; ++slot) {
        const std::int16_t p = g_.peaks.PeakPoints.at(static_cast<std::size_t>(slot));
        const LabelBox r = CurrentBox(slot);
        const std::int32_t x = R(x0 + XOfWavenumber(s_.WaveX.at(static_cast<std::size_t>(p))));
        const std::int32_t y = PeakY(p, y0);
        const std::int32_t xl = x0 + r.Left + 4;
        const std::int32_t top = y0 + r.Top;
        dc.MoveTo(x, y + 5);
        dc.LineTo(x, y + 10);
        if (r.Top < (y - y0) - 20) {
            // The label lies above the peak: the leader climbs to its bottom.
            dc.LineTo(xl, y0 + r.Bottom + 5);
            dc.LineTo(xl, y0 + r.Bottom);
        } else {
            dc.LineTo(xl, top - 5);
            dc.LineTo(xl, top);
        }
        const std::string text = PeakLabelText(p);
        if (g_.FillLabelBackground) {
            dc.FillRect(x0 + r.Left, y0 + r.Top, x0 + r.Right, y0 + r.Bottom,
                        g_.LabelBackgroundColour);
        }
        dc.TextOut(xl + 7, top + 1, text);
    }
    dc.SelectObject(previousPen);
    dc.SelectObject(previousFont);
    dc.DeleteObject(pen);
    dc.DeleteObject(font);
    dc.SetTextColor(previousColour);
}

}  // namespace halvorn
