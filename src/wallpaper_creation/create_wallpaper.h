#pragma once
// The editor's create command, `lbl_Button`(0) "壁紙貼り付け": builds the wallpaper bitmap at full
// screen size with the table where the editor shows it, offers to save it under a name, installs it as
// the desktop wallpaper and closes the editor.
//
// With transparent cells (`Trans` = 1) the canvas composes the background and the table and writes the
// bitmap. Otherwise the canvas composes the background only and the table rectangle is pasted onto it
// from the editor's own rendering of itself, so the cells come out exactly as the editor draws them,
// even where the editor is covered or partly off the screen.
#include <windows.h>

#include <functional>
#include <string>

#include "core/geometry.h"
#include "table_editor/editor_window.h"
#include "win32/surface.h"

namespace qr {

struct AppState;

inline constexpr const char* kSaveQuestion = "作成した壁紙に名前を付けて保存しますか？";
inline constexpr const char* kWrongExtension = "保存ﾌｧｲﾙの拡張子が違います！";
inline constexpr const char* kBitmapNotWritten = "壁紙ﾌｧｲﾙを作成できませんでした！";
inline constexpr const char* kBitmapNotSaved = "壁紙ﾌｧｲﾙを保存できませんでした！";
inline constexpr const char* kSaveDialogTitle = "壁紙に名前を付けて保存";
inline constexpr const char* kSaveFilterName = "壁紙ﾌｧｲﾙ (bmp)";

struct CreateWallpaperServices {
  // Adds a saved wallpaper to the main window's list unless an equal entry is there already.
  std::function<void(const std::string& path)> addToList;
  // The pointer over the canvas; nullptr: the one the editor's large buttons show (the main window's).
  HCURSOR canvasCursor = nullptr;
};

// The whole command. `state` is the editor's shared state.
void Create_Wallpaper(Quelm_Rask_S& editor, AppState& state, const CreateWallpaperServices& services);

// The command as the editor's create hook.
EditorHooks::Command CreateWallpaperHook(AppState& state, CreateWallpaperServices services);

// Builds the wallpaper and writes it to WallpaperBitmapPath(); false when no bitmap was written.
bool Build_Wallpaper(Quelm_Rask_S& editor, AppState& state, HCURSOR canvasCursor);

// The opaque wallpaper: the background composed by the canvas with the table rectangle pasted from the
// editor's rendering. An empty surface when the canvas produced no background.
win::Surface ComposeOpaqueWallpaper(Quelm_Rask_S& editor, AppState& state, HCURSOR canvasCursor);

// The table rectangle on the screen (pixels) from the editor window's position now and `Pic_Back`.
Rect EditorTableRectangle(const Quelm_Rask_S& editor);

// A screen-sized (width x height) black surface with the window drawn into it at its screen position,
// by the window itself: covered and off-screen parts come out as they would look.
win::Surface RenderWindowOnScreen(HWND window, int width, int height);

}  // namespace qr
