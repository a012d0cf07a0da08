#pragma once
// The editor's preview command (`Img_SS`(4)): the wallpaper the create command would install, composed
// exactly as that command composes it. The editor stays open after it.
//
//   hooks.preview = PreviewWallpaperHook();
#include <functional>

#include "core/wallpaper_job.h"
#include "table_editor/editor_window.h"
#include "win32/surface.h"

namespace qr {

// Draws what the screens show of a job (RenderScreen when empty); an empty surface when it cannot.
using WallpaperRenderer = std::function<win::Surface(const WallpaperJob& job)>;

// The preview: with transparent cells (`Trans` = 1) the canvas shows background and table until it is
// clicked off the cells. Otherwise the opaque wallpaper, composed exactly as the create command composes
// it, is shown by the preview window from memory. Neither writes a file. When the wallpaper cannot be
// drawn, a message says so and nothing is shown.
void Preview_Wallpaper(Quelm_Rask_S& editor, const WallpaperRenderer& render = {});
EditorHooks::Command PreviewWallpaperHook(WallpaperRenderer render = {});

}  // namespace qr
