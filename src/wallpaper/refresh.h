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

// What `say` hears, each followed by the file's name: the background picture is missing, it is there but
// is not a picture the program can read, or the kept copy of the wallpaper the table was drawn over is gone.
inline constexpr const char* kRefreshPictureMissing =
    "背景の画像ﾌｧｲﾙが見つかりません。ﾃﾞｽｸﾄｯﾌﾟの色で作成します（ﾌｧｲﾙを元の場所に戻すと、次の /refresh "
    "で画像に戻ります）: ";
inline constexpr const char* kRefreshNotAPicture =
    "背景のﾌｧｲﾙは画像ではありません。ﾃﾞｽｸﾄｯﾌﾟの色で作成します: ";
inline constexpr const char* kRefreshKeptCopyMissing =
    "元の壁紙の控えが見つかりません。ﾃﾞｽｸﾄｯﾌﾟの色で作成します（壁紙貼り付け、または /render … /set "
    "で壁紙を作り直すと、その時の壁紙が控えになります）: ";

}  // namespace qr
