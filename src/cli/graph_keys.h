// The graph keys of `halvorn-cli info`: what the spectrum window's first
// redraw after a read computes (mapping, peak candidates and marks, label
// boxes) and the probes of the mapping.
#pragma once

#include <ostream>

#include "cli/cli_options.h"
#include "cli/interaction_steps.h"
#include "cli/json_writer.h"
#include "core/record.h"
#include "core/settings.h"
#include "graph/graph.h"

namespace halvorn {

// The display settings a command line asks for.
DisplaySettings SettingsOf(const CliOptions& o);

class InfoGraph {
  public:
    // Runs the redraw's computations on a plot of the options' size.
    InfoGraph(Spectrum& s, const CliOptions& o);

    const GraphOutcome& outcome() const { return outcome_; }
    // The peak list, and whether the peak search has run on it.
    const PeakList& peaks() const { return state_.peaks; }
    bool searched() const { return searched_; }

    // The redraw's computations again, after a step that changed the display
    // range or the peaks; a redraw that completes ends the Loading state.
    GraphOutcome Redraw();
    // What the interaction steps act on, with Redraw as their redraw.
    InteractionTarget Target();

    // mapping, TopCandidates, PeakPoints, PeakLabelBoxes: the state as far as
    // the redraw got (the peak keys only when their step ran).
    void WriteKeys(Json& json) const;
    // probe: x of each wavenumber and the wavenumber back from that x; values
    // that have no number (a wavenumber of 0 on the wavelength scale) are null.
    void WriteProbes(Json& json, const std::vector<double>& probes) const;

  private:
    DisplaySettings settings_;
    GraphState state_;
    Graph graph_;
    GraphOutcome outcome_;
    int plotWidth_;
    int plotHeight_;
    bool searched_ = false;
    bool laidOut_ = false;
};

}  // namespace halvorn
