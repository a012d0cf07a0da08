#pragma once
// The first step of the wallpaper's road: the system's half of a job (the display, the desktop colour and
// each monitor's own wallpaper), read here and nowhere else, beside the user's choices and the table.
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/table_model.h"
#include "core/wallpaper_job.h"

namespace qr {

// The desktop colour, and each monitor's own wallpaper file where the system keeps one per monitor (in the
// display's order; empty where it has none).
uint32_t DesktopColour();
std::vector<std::string> MonitorWallpaperFiles(const DisplayLayout& display);

// The builder's inputs for the display as it is now: the choices, the table, the display, the desktop
// colour and, for the current wallpaper on several monitors, each monitor's file.
JobInputs SystemJobInputs(JobChoices choices, JobTable table);

// A job from the program's state (background choice, table size, widths, `Trans`, the text effect) and the
// table's cells, with the table's first cell at `tableAt`, for the display as it is now.
WallpaperJob JobFromState(const AppState& state, const TableModel& table, Point tableAt);

}  // namespace qr
