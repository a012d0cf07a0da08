// Judging the reports of the shown wallpaper against the program's installed files.
#include "core/shown_wallpaper.h"

#include <algorithm>

namespace qr {

namespace {

bool IsInstalled(const std::string& report, const std::vector<std::string>& installed,
                 const SamePathRule& samePath) {
  return !report.empty() && std::any_of(installed.begin(), installed.end(),
                                        [&](const std::string& file) { return samePath(file, report); });
}

}  // namespace

ShownWallpaper JudgeShownWallpaper(const WallpaperReports& before, const WallpaperReports& now,
                                   const std::vector<std::string>& installed, const SamePathRule& samePath) {
  if (now.empty()) return ShownWallpaper::NotOurs;
  const bool compare = before.size() == now.size();
  bool anyChanged = false;
  for (size_t i = 0; i < now.size(); ++i) {
    if (compare && now[i] == before[i]) continue;
    anyChanged = true;
    if (!IsInstalled(now[i], installed, samePath)) return ShownWallpaper::NotOurs;
  }
  return anyChanged ? ShownWallpaper::Ours : ShownWallpaper::Unchanged;
}

}  // namespace qr
