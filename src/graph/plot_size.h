// The size of the spectrum window's plot at full height and no expansion. The
// copy-preview figure draws its plot at the same width, so the mapping of the
// spectrum window's last redraw applies to the figure unchanged.
#pragma once

namespace halvorn {

inline constexpr int kPlotWidth = 673;
inline constexpr int kPlotHeight = 348;

}  // namespace halvorn
