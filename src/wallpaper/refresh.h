#pragma once
// The last step of the wallpaper's road: the remembered wallpaper (wallpaper/remember.h) made again for the
// display as it is now and installed through the one installation: "/refresh", and the resident watcher.
#include <functional>
#include <string_view>

#include "core/display_layout.h"
#include "win32/wallpaper.h"

namespace qr {

enum class RefreshResult { Done, NothingRemembered, Damaged, NotInstalledNow, Failed };

// Makes the remembered wallpaper again for the display as it is now (`display`, the system's when
// null), installs it and remembers the display it was made for. A background picture that is missing
// gives the desktop colour, and `say` hears it; so does a file that is not a picture. Damaged: the
// snapshot's file is there but cannot be read. NotInstalledNow: the snapshot is not of the wallpaper
// installed now (another one was installed since, or written over its file), so nothing older is brought
// back. `perMonitor`: the system's per-monitor wallpapers, asked for when there are several monitors and none
// is given.
RefreshResult RefreshLastWallpaper(const std::function<void(std::string_view)>& say,
                                   const DisplayLayout* display = nullptr,
                                   win::MonitorWallpapers* perMonitor = nullptr);

// The message `say` hears when the background picture is missing, and (before the file's name) when it is
// there but is not a picture the program can read.
inline constexpr const char* kRefreshPictureMissing =
    "背景の画像ﾌｧｲﾙが見つかりません。ﾃﾞｽｸﾄｯﾌﾟの色で作成します。";
inline constexpr const char* kRefreshNotAPicture =
    "背景のﾌｧｲﾙは画像ではありません。ﾃﾞｽｸﾄｯﾌﾟの色で作成します: ";

}  // namespace qr
