// The cursor readout: what the four readout fields, the peak cursor line
// (Line5) and the floating peak label (Label19) show while the mouse moves
// over the plot area. Plain values; the spectrum window copies them into its
// widgets after each move.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/record.h"
#include "core/settings.h"
#include "graph/mapping.h"
#include "graph/peaks.h"

namespace halvorn {

inline constexpr const char* kReadoutAbsorbancePrefix = " Y (abs) = ";
inline constexpr const char* kReadoutPercentPrefix = " Y (%T) = ";
inline constexpr const char* kReadoutMicrometrePrefix = " X (um) = ";
inline constexpr const char* kReadoutWavenumberPrefix = " X (cm-1) = ";

struct ReadoutFields {
    // The texts of Label1(0..3): absorbance, %T, micrometres, wavenumber.
    std::array<std::string, 4> Label1;
    // The peak cursor: visible, and its x on the plot (not rounded).
    bool Line5Visible = false;
    float Line5X = 0.0f;
    // The floating peak label: visible, its text, and whether it sits to the
    // left of the cursor. Its top edge is Label19Top; its left edge depends on
    // its own width, which only the window can measure (Label19Left).
    bool Label19Visible = false;
    std::string Label19Text;
    bool Label19Flipped = false;
    float Label19CursorX = 0.0f;
    float Label19Top = 0.0f;
};

// The left edge of the floating label of the given width: 10 pixels right of
// the cursor, or, flipped, its right edge 10 pixels left of it.
inline float Label19Left(const ReadoutFields& f, float width) {
    return f.Label19Flipped ? f.Label19CursorX - 10.0f - width : f.Label19CursorX + 10.0f;
}

enum class ReadoutStep {
    Ignored,   // a file is being read (Loading): nothing changed
    Off,       // the cursor is off the plot: fields emptied, Line5 and Label19 hidden
    Normal,    // the four fields show the cursor's place
    PeakMark,  // the X fields, Line5 and Label19 follow the nearest candidate
};

// A mouse move to (x, y) over a plot of W x H pixels whose last redraw left
// the mapping m. In peak-mark mode writes peaks.NearestCandidate (0 when the
// spectrum has no candidate, and then Line5 and Label19 are hidden). Numbers in
// the texts use decimalSeparator. Constant work: at most 21 comparisons and
// one pass over the marks, or one pass over the candidates; the only
// allocations are the texts, whose capacity is reused.
//
// The caller moves the label-dragging frame after this returned anything but
// Ignored or Off (the frame stops at the plot's edge).
ReadoutStep MoveReadout(ReadoutFields& fields, PeakList& peaks, const Spectrum& s,
                        const MappingState& m, const DisplaySettings& settings, bool Loading,
                        bool PeakMarkMode, float x, float y, int W, int H, char decimalSeparator);

// What a move over the panels around the plot or over the window background
// does: the four texts emptied (index 0 to 3), Line5 and Label19 hidden.
void ClearReadout(ReadoutFields& fields);

}  // namespace halvorn
