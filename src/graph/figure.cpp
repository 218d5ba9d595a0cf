#include "graph/figure.h"

#include <cmath>

#include "core/numbers.h"

#ifndef HALVORN_VERSION
#define HALVORN_VERSION "0.0.0"
#endif

namespace halvorn {

FigureGeometry FigureGeometryFor(bool graphHeightReduced, std::int32_t graphPanelHeight) {
    FigureGeometry g;
    if (graphHeightReduced) {
        g.FigureHeight = graphPanelHeight + 7;
    }
    g.PlotHeight = g.FigureHeight - 108;
    g.PlotTop = ToLong((g.FigureHeight - 32 - g.PlotHeight) / 2.0 + 32);
    g.PlotLeft = ToLong((g.FigureWidth - g.PlotWidth) / 2.0 - 2);
    return g;
}

std::int32_t PlotHeightForPercent(int percent) {
    if (percent >= 100) {
        return kPlotHeight;
    }
    const int option = (100 - percent) / 10;  // 1..5
    return ToLong(kPlotHeight * (1.0 - option / 10.0));
}

std::string FigureCredit() {
    return std::string("Halvorn ") + HALVORN_VERSION;
}

void ColorBW(FigureState& figure, bool blackAndWhite, Rgb screenPeakLabelColour) {
    FigureColours& c = figure.colours;
    figure.switches.BlackAndWhite = blackAndWhite;
    if (blackAndWhite) {
        c.MajorGridColour = MakeRgb(192, 192, 192);
        c.MinorGridColour = MakeRgb(224, 224, 224);
        c.FigureFrameColour = MakeRgb(0, 0, 0);
        c.TraceColour = MakeRgb(0, 0, 0);
        c.PeakLabelColour = MakeRgb(0, 0, 0);
    } else {
        c.MajorGridColour = MakeRgb(192, 192, 0);
        c.MinorGridColour = MakeRgb(255, 192, 128);
        c.FigureFrameColour = MakeRgb(0, 0, 255);
        c.TraceColour = MakeRgb(192, 0, 0);
        c.PeakLabelColour = screenPeakLabelColour;
    }
}

std::array<SampleLabel, 7> SampleLabelsAtDesignPlaces(const Spectrum& s, double titleWidth,
                                                      const SampleLabelVisibility& visible) {
    std::array<SampleLabel, 7> labels;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        labels[i] = {s.Label14[i], static_cast<double>(kSampleLabelPlaces[i][0]),
                     static_cast<double>(kSampleLabelPlaces[i][1]), visible[i]};
    }
    // The title is centred over the graph; the figure adds 22 to its left.
    const FigureGeometry g;
    labels[0].left = g.PlotLeft + g.PlotWidth / 2.0 - titleWidth / 2.0 - 22.0;
    return labels;
}

void FigComplete(const Graph& graph, const FigureState& figure, Surface& dc) {
    const FigureGeometry& g = figure.geometry;
    const FigureSwitches& on = figure.switches;
    const std::int32_t x0 = g.PlotLeft;
    const std::int32_t y0 = g.PlotTop;
    const std::int32_t pw = g.PlotWidth;
    const std::int32_t w = g.FigureWidth;
    const std::int32_t h = g.FigureHeight;

    if (on.ShowLabels) {
        const ObjectHandle lineFont = dc.CreateFont({"Arial", 11, 0, 0, 400});
        const ObjectHandle previousFont = dc.SelectObject(lineFont);
        const Rgb previousColour = dc.SetTextColor(0);
        for (std::size_t i = 1; i <= 6; ++i) {
            const SampleLabel& label = figure.labels[i];
            if (label.visible) {
                dc.TextOut(ToLong(label.left + 22), ToLong(label.top + 7), label.caption);
            }
        }
        const ObjectHandle titleFont = dc.CreateFont({"Arial", 12, 0, 0, 700});
        dc.SelectObject(titleFont);
        const SampleLabel& title = figure.labels[0];
        dc.TextOut(ToLong(title.left + 22), ToLong(title.top + 7), title.caption);
        dc.SelectObject(previousFont);
        dc.DeleteObject(lineFont);
        dc.DeleteObject(titleFont);
        dc.SetTextColor(previousColour);
    }

    // The figure's grid has the colours of its own colour set, whatever the
    // spectrum window last drew its own grid with.
    if (on.ShowGrid) {
        graph.DrawGrid(dc, x0, pw, y0, g.PlotHeight, figure.colours.MinorGridColour,
                       figure.colours.MajorGridColour);
    }
    if (on.ShowScale) {
        graph.DrawScales(dc, x0, pw, y0, g.PlotHeight, 0, true, true, true, true, 3);
    }

    const ObjectHandle framePen = dc.CreatePen(figure.colours.FigureFrameColour);
    const ObjectHandle previousPen = dc.SelectObject(framePen);
    if (on.ShowFigureFrame) {
        dc.MoveTo(0, 0);
        dc.LineTo(w - 2, 0);
        dc.LineTo(w - 2, h - 2);
        dc.LineTo(0, h - 2);
        dc.LineTo(0, 0);
        // Doubling the right and bottom edges gives a one-pixel shadow.
        dc.MoveTo(w - 1, 1);
        dc.LineTo(w - 1, h - 1);
        dc.LineTo(1, h - 1);
    }
    const ObjectHandle boxPen = dc.CreatePen(0);
    dc.SelectObject(boxPen);
    dc.MoveTo(x0, y0);
    dc.LineTo(x0 + pw, y0);
    dc.LineTo(x0 + pw, y0 + g.PlotHeight);
    dc.LineTo(x0, y0 + g.PlotHeight);
    dc.LineTo(x0, y0);
    dc.SelectObject(previousPen);
    dc.DeleteObject(framePen);
    dc.DeleteObject(boxPen);

    if (on.ShowGraph) {
        graph.DrawTrace(dc, x0, pw, y0, g.PlotHeight, figure.colours.TraceColour);
    }
    if (on.ShowPeakLabels) {
        graph.DrawPeakLabels(dc, x0, y0,
                             on.BlackAndWhite ? MakeRgb(0, 0, 0) : figure.colours.PeakLabelColour);
    }

    // The credit line of the program, bottom right under the plot.
    const ObjectHandle creditFont = dc.CreateFont({"Arial", -9, 0, 0, 400});
    const ObjectHandle fontBefore = dc.SelectObject(creditFont);
    const Rgb colourBefore = dc.SetTextColor(0);
    dc.TextOut(kCreditLeft, h - kCreditBottomMargin, FigureCredit());
    dc.SelectObject(fontBefore);
    dc.DeleteObject(creditFont);
    dc.SetTextColor(colourBefore);
}

}  // namespace halvorn
