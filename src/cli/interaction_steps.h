// The interaction steps of halvorn-cli: the limits dialog, peak clicks and
// the cursor readout, run with the same functions as the spectrum window and
// each followed by the redraw the window does after it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/interaction_options.h"
#include "cli/json_writer.h"
#include "core/record.h"
#include "core/settings.h"
#include "graph/graph.h"
#include "interaction/readout.h"

namespace halvorn {

// The graph the steps act on, and the redraw's computations to run after a
// step that changed it (the spectrum window's redraw without its drawing).
struct InteractionTarget {
    Spectrum& s;
    const DisplaySettings& settings;
    GraphState& g;
    int W;
    int H;
    std::function<GraphOutcome()> redraw;
};

struct LimitsReport {
    bool asked = false;
    bool error = false;
    bool closed = false;
    std::string Text1;
    std::string Text2;
};

struct ClickReport {
    std::int16_t NearestCandidate = 0;
    std::string message;
};

struct InteractionReport {
    std::optional<LimitsReport> limits;
    std::vector<ClickReport> clicks;
    // The last redraw's outcome (success when no step redrew).
    GraphOutcome outcome;
};

// --limits, then --clicks, in that order.
InteractionReport RunInteractionSteps(InteractionTarget& target, const InteractionOptions& o);

// The keys `limits` and `clicks` of the steps that ran.
void WriteInteractionKeys(Json& json, const InteractionReport& report);

struct ReadoutRow {
    PlotPosition at;
    ReadoutFields fields;
    std::int16_t NearestCandidate = 0;
};

// The mouse moves of --at, in peak-mark mode with --peak-mark, starting from
// empty fields; each move starts from what the one before left.
std::vector<ReadoutRow> RunReadout(InteractionTarget& target, const InteractionOptions& o);

// The JSON array of the readout command.
Json ReadoutRowsJson(const std::vector<ReadoutRow>& rows);

}  // namespace halvorn
