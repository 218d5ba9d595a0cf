// Everything the viewer's windows share: the loaded spectrum, the display
// settings and the graph engine's state (mapping, peak list, colours, trace
// style, expansion level). One object lives as long as the main window and is
// handed to the windows by reference.
#pragma once

#include <array>
#include <string>

#include "core/record.h"
#include "core/settings.h"
#include "graph/graph.h"

namespace halvorn {

struct ViewerState {
    Spectrum spectrum;
    DisplaySettings settings;
    GraphState graph;

    // True while a height below 100 % is chosen.
    bool GraphHeightReduced = false;

    // The spectrum window's two interaction modes, which exclude each other.
    // Their buttons' captions ("End Mark", "End Move") show them.
    bool PeakMarkMode = false;
    bool MoveLabelsMode = false;

    // Whether each sample label Label14(0..6) is shown; the header editor
    // sets it.
    std::array<bool, 7> Label14Visible = {true, true, true, true, true, true, true};

    // The file the Open dialog holds: its full path and its name without the
    // folder (empty for the demonstration spectrum read at start).
    std::string DialogFileName;
    std::string DialogFileTitle;

    // Where the figure's metafile is written.
    std::string MetafilePath;
};

}  // namespace halvorn
