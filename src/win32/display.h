#pragma once
// The one place that asks the system about the display: the monitors, their rectangles and resolutions,
// and the session's resolution. Everything else takes its screen facts from the value read here.
#include <optional>

#include "core/display_layout.h"

namespace qr::win {

// Reads the display from the system now.
DisplayLayout ReadDisplayLayout();

// The display as last read (read on first use, and again after InvalidateDisplay), or the layout a test or
// the command line put in its place.
const DisplayLayout& CurrentDisplay();
// The display changed (resolution, scaling, monitors): the next CurrentDisplay reads it again.
void InvalidateDisplay();
// Puts a layout in place of the system's (nothing: the system's again). For the command line's
// /layout and for tests.
void OverrideDisplay(std::optional<DisplayLayout> layout);

}  // namespace qr::win
