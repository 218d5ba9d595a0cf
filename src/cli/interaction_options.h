// The command-line options that act as a user would on the spectrum window:
// typed limits, peak clicks and mouse positions for the readout.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace halvorn {

// A position on the plot area in its pixels, single precision like the
// mouse events.
struct PlotPosition {
    float x = 0.0f;
    float y = 0.0f;
};

struct InteractionOptions {
    // --limits L,R[,um]: the two texts typed into the limits dialog, and
    // whether they are micrometres.
    std::optional<std::string> limitsLeft;
    std::string limitsRight;
    bool limitsMicrometres = false;
    // --too-short yes|no: the answer to the "Too Short Range" question.
    bool tooShortYes = true;
    // --clicks X,Y[;X,Y...]: left-button presses in peak-mark mode.
    std::vector<PlotPosition> clicks;
    // readout: --at X,Y[;X,Y...] and --peak-mark.
    std::vector<PlotPosition> at;
    bool peakMark = false;
};

// "L,R" or "L,R,um"; the texts are kept as typed.
bool ParseLimitsOption(const std::string& text, InteractionOptions& o);
// "yes" or "no".
bool ParseYesNo(const std::string& text, bool& yes);
// "X,Y[;X,Y...]" with finite numbers (period as decimal point).
bool ParsePositions(const std::string& text, std::vector<PlotPosition>& positions);

}  // namespace halvorn
