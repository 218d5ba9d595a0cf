// `halvorn-cli render`: the process set-up the figure's fonts need, and the
// two steps of a render. First the spectrum window's graph is prepared as its
// first redraw after a read leaves it; then the copy-preview figure is
// composed from that graph and written. Steps that change the graph in
// between (as a user would in the window) run on the prepared graph.
#pragma once

#include <cstdint>
#include <string>

#include "core/record.h"
#include "core/settings.h"
#include "graph/figure.h"
#include "graph/graph.h"

class QGuiApplication;

namespace halvorn {

// Makes sure a QGuiApplication runs while this object lives (fonts need one).
// Without a display setting it uses the offscreen platform, so rendering works
// on machines without a screen.
class GuiApplicationScope {
  public:
    GuiApplicationScope();
    ~GuiApplicationScope();
    GuiApplicationScope(const GuiApplicationScope&) = delete;
    GuiApplicationScope& operator=(const GuiApplicationScope&) = delete;

  private:
    QGuiApplication* owned_ = nullptr;
};

// What `halvorn-cli render` asks for.
struct FigureRequest {
    DisplaySettings settings;
    // The copy preview's element switches and colour set (all on, colour, as
    // the window loads).
    FigureSwitches switches;
    bool points = false;  // the trace as points instead of a line
    int step = 1;         // the trace stride
    int heightPercent = 100;
};

// The spectrum window's graph for a figure: the request's settings and trace
// options, and the plot size of its height option.
class FigureGraph {
  public:
    FigureGraph(Spectrum& s, const FigureRequest& request);
    FigureGraph(const FigureGraph&) = delete;
    FigureGraph& operator=(const FigureGraph&) = delete;

    // The redraw's computations after a read, on a plot of 673 x the plot
    // height (mapping, peak search, label layout). Call again after a step
    // that changes the display range or the peaks.
    GraphOutcome Prepare();

    Graph& graph() { return graph_; }
    const Graph& graph() const { return graph_; }
    GraphState& state() { return state_; }
    Spectrum& spectrum() { return graph_.spectrum(); }
    const DisplaySettings& settings() const { return settings_; }
    std::int32_t PlotWidth() const { return kPlotWidth; }
    std::int32_t PlotHeight() const { return plotHeight_; }
    int HeightPercent() const { return heightPercent_; }

  private:
    DisplaySettings settings_;
    GraphState state_;
    Graph graph_;
    int heightPercent_ = 100;
    std::int32_t plotHeight_ = kPlotHeight;
};

// The copy-preview figure as the window composes it when it loads, from the
// prepared graph: the request's switches and colour set, every sample label
// shown, peak labels without their fill.
FigureState ComposeFigure(FigureGraph& prepared, const FigureRequest& request);

// Composes the figure and writes it to path in the form its extension names,
// whole or not at all. The outcome says why nothing was written.
GraphOutcome WriteFigureFile(FigureGraph& prepared, const FigureRequest& request,
                             const std::string& path);

// Both steps: prepare the graph, then compose and write the figure.
GraphOutcome RenderFigureFile(Spectrum& s, const FigureRequest& request, const std::string& path);

}  // namespace halvorn
