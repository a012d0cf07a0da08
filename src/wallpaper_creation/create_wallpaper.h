#pragma once
// The editor's create command, `lbl_Button`(0) "壁紙貼り付け": builds the wallpaper bitmap at full
// screen size with the table where the editor shows it, offers to save it under a name, installs it as
// the desktop wallpaper and closes the editor.
//
// The wallpaper is a job (WallpaperJobFromEditor) installed by the one installation
// (wallpaper/install_wallpaper.h): the background, then the table where the editor shows it, as
// transparent text (`Trans` = 1) or as opaque cells drawn exactly as the editor's cells look. The bitmap is
// written first; the canvas then shows it, and the question whether to save it under a name comes before
// it is installed.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/geometry.h"
#include "core/wallpaper_job.h"
#include "table_editor/editor_window.h"
#include "wallpaper/write_files.h"

namespace qr {

struct AppState;

inline constexpr const char* kSaveQuestion = "作成した壁紙に名前を付けて保存しますか？";
inline constexpr const char* kWrongExtension = "保存ﾌｧｲﾙの拡張子が違います！";
inline constexpr const char* kBitmapNotWritten = "壁紙ﾌｧｲﾙを作成できませんでした！";
// Before the snapshot's path: the wallpaper is installed, but /refresh and /watch cannot make it again.
inline constexpr const char* kWallpaperNotRemembered =
    "壁紙を設定しましたが、画面が変わったときに作り直すための記録を保存できませんでした。"
    "画面が変わっても古い壁紙には戻しません。\n";
inline constexpr const char* kBitmapNotSaved = "壁紙ﾌｧｲﾙを保存できませんでした！";
inline constexpr const char* kSaveDialogTitle = "壁紙に名前を付けて保存";
inline constexpr const char* kSaveFilterName = "壁紙ﾌｧｲﾙ (bmp)";

struct CreateWallpaperServices {
  // Adds a saved wallpaper to the main window's list unless an equal entry is there already.
  std::function<void(const std::string& path)> addToList;
  // The pointer over the canvas; nullptr: the one the editor's large buttons show (the main window's).
  HCURSOR canvasCursor = nullptr;
  // The system's per-monitor wallpapers, asked for when there are several monitors (tests give a fake);
  // empty: the system's own.
  std::function<std::unique_ptr<win::MonitorWallpapers>()> monitorWallpapers;
};

// The whole command. `state` is the editor's shared state.
void Create_Wallpaper(Quelm_Rask_S& editor, AppState& state, const CreateWallpaperServices& services);

// The command as the editor's create hook.
EditorHooks::Command CreateWallpaperHook(AppState& state, CreateWallpaperServices services);

// The job of the editor as it stands: the background chosen in the main window, the editor's table and
// options, and the table's corner where the editor window stands now, computed by the one builder as for
// a saved place.
WallpaperJob WallpaperJobFromEditor(const Quelm_Rask_S& editor);

// Writes the editor's wallpaper to WallpaperBitmapPath() (and, with several monitors, the others' bitmaps
// beside it or the whole virtual screen in it; see wallpaper/write_files.h) and shows it on the canvas,
// installing nothing; false when a bitmap was not written.
bool Build_Wallpaper(Quelm_Rask_S& editor, HCURSOR canvasCursor);

// The table rectangle on the screen (pixels): the job's corner, and `Pic_Back`'s size less its margins.
Rect EditorTableRectangle(const Quelm_Rask_S& editor);

}  // namespace qr
