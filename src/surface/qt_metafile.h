// What the metafile recording asks of Qt: the reference screen's metrics and
// exact character advances for the recorded texts.
#pragma once

#include "surface/emf_recorder.h"
#include "surface/metafile_geometry.h"

namespace halvorn {

// The metrics of Qt's primary screen when the application has one (with the
// offscreen platform that is Qt's virtual screen); a screen that reports no
// physical size is taken at its logical resolution. Without an application or
// a screen: FixedScreenMetrics(), a 96 dpi screen.
ScreenMetrics PrimaryScreenMetrics();

// Advances measured with the fonts the painter surfaces draw with (Arial's
// metrics for "Arial"). Needs a running application.
TextMeasurer QtTextMeasurer();

}  // namespace halvorn
