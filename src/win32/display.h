#pragma once
// The one place that asks the system about the display: the monitors, their rectangles and resolutions,
// and the session's resolution. Everything else takes its screen facts from the value read here.
#include <optional>

#include "core/display_layout.h"

namespace qr::win {

// Reads the display from the system now.
DisplayLayout ReadDisplayLayout();

// The display as last read (read on first use, and again after InvalidateDisplay), or the layout a test or
// the command line put in its place. A copy: what a caller holds stays as it was when a change of the
// display (a message run meanwhile, another thread) reads it again.
DisplayLayout CurrentDisplay();
// Starts reading the display on a thread of its own; CurrentDisplay() waits for it. The first question
// about the display starts the display driver: under Wine that took 24 to 28 ms on a thread of its own
// against 57 to 79 ms on the thread the process started with, and the caller's other work (reading the
// table and the settings) goes on meanwhile. Nothing when the display is read already or being read.
void StartReadingDisplay();
// The display changed (resolution, scaling, monitors): the next CurrentDisplay reads it again.
void InvalidateDisplay();
// Puts a layout in place of the system's (nothing: the system's again). For the command line's
// /layout and for tests.
void OverrideDisplay(std::optional<DisplayLayout> layout);

}  // namespace qr::win
