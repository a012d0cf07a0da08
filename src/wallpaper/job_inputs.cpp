// The system's half of a wallpaper job: display, desktop colour and the monitors' own wallpapers.
#include "wallpaper/job_inputs.h"

#include <windows.h>

#include <memory>
#include <utility>

#include "win32/display.h"
#include "win32/wallpaper.h"

namespace qr {

uint32_t DesktopColour() { return GetSysColor(COLOR_BACKGROUND); }

std::vector<std::string> MonitorWallpaperFiles(const DisplayLayout& display) {
  std::vector<std::string> files;
  const std::unique_ptr<win::MonitorWallpapers> system = win::OpenMonitorWallpapers();
  if (!system) return files;
  const auto known = system->Monitors();
  for (const MonitorInfo& monitor : display.monitors) {
    std::string file;
    for (const auto& candidate : known)
      if (candidate.rect == monitor.rect) file = system->Wallpaper(candidate.id);
    files.push_back(file);
  }
  return files;
}

JobInputs SystemJobInputs(JobChoices choices, JobTable table) {
  JobInputs inputs;
  inputs.choices = std::move(choices);
  inputs.table = std::move(table);
  inputs.display = win::CurrentDisplay();
  inputs.desktopColour = DesktopColour();
  if (inputs.choices.background == BackgroundKind::CurrentWallpaper && inputs.display.monitors.size() > 1)
    inputs.monitorWallpapers = MonitorWallpaperFiles(inputs.display);
  return inputs;
}

WallpaperJob JobFromState(const AppState& state, const TableModel& table, Point tableAt) {
  JobInputs inputs =
      SystemJobInputs(JobChoicesOf(state), JobTableFrom(table, state.G_Rows, state.G_Cols, state.G_Cols_w));
  inputs.at = tableAt;
  return BuildWallpaperJob(inputs);
}

}  // namespace qr
