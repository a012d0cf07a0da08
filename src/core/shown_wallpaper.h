#pragma once
// Whether the desktop shows the program's own wallpaper, from what the system's several sources of that
// fact say. They can disagree: a system may keep the answer of its call per process (Wine does, so a
// long-running watcher goes on reading the path it read first), while the profile's "Wallpaper" value
// and the per-monitor files are read afresh. The program never fights the user: only what every source
// agrees is its own counts as its own.
#include <functional>
#include <string>
#include <vector>

namespace qr {

// One reading per source, always in the same order (the system call, the profile value, then each
// monitor's file where the system keeps one per monitor); empty where a source names no file.
using WallpaperReports = std::vector<std::string>;

enum class ShownWallpaper { Ours, NotOurs, Unchanged };

// The judgement after a wallpaper change, from the reports now and at the last look (`before`, empty at
// the first look or when the sources themselves changed in number). At the first look every source must
// name one of the `installed` files (as `samePath` compares paths: the system's rule, whatever the letters).
// Later only the sources whose reading changed count: they tell what was installed just now, so a source that
// still repeats an old answer neither hides another program's wallpaper nor the program's own coming back;
// when the changed sources disagree it is not ours. Unchanged when no source changed.
using SamePathRule = std::function<bool(const std::string&, const std::string&)>;
ShownWallpaper JudgeShownWallpaper(const WallpaperReports& before, const WallpaperReports& now,
                                   const std::vector<std::string>& installed, const SamePathRule& samePath);

}  // namespace qr
