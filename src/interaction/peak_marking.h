// Marking and unmarking peaks by clicking in peak-mark mode.
#pragma once

#include "core/settings.h"
#include "graph/peaks.h"

namespace halvorn {

inline constexpr const char* kTooManyPeaksText = "Cannot mark more than 30 peaks!";
inline constexpr const char* kTooManyPeaksTitle = "Too many peaks!";

enum class PeakToggle {
    Removed,      // the candidate was marked and is no longer
    Added,        // the candidate is marked in the first free slot
    TooMany,      // 30 peaks are marked: show kTooManyPeaksText, nothing changed
    NoCandidate,  // NearestCandidate points at no candidate: nothing changed
};

// Toggles the candidate NearestCandidate in or out of the peak list. A removal
// keeps the order of the other marks, each later slot taking its label box of
// the settings' layout along; an addition takes the first free slot. Both
// count as a change of the peak list (every label layout is due again).
//
// After Removed or Added the caller sets RelayoutLabels and redraws; after
// TooMany it shows the message (error icon, OK) and does not redraw.
PeakToggle TopCollecModify(PeakList& peaks, const DisplaySettings& settings);

}  // namespace halvorn
