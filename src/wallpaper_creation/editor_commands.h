#pragma once
// Two commands of the editor's toolbar: the preview of the wallpaper the create command would install
// (`Img_SS`(4)) and the cells' background colour (`Img_SS`(5)). The editor stays open after both.
//
//   hooks.preview = PreviewWallpaperHook();
//   hooks.backColour = BackColourHook(colours);  // one ColourChooser for the whole run
#include <functional>

#include "core/wallpaper_job.h"
#include "table_editor/editor_window.h"
#include "win32/surface.h"

namespace qr {

class ColourChooser;

// Draws the wallpaper of a job (RenderWallpaper when empty); an empty surface when it cannot.
using WallpaperRenderer = std::function<win::Surface(const WallpaperJob& job)>;

// The preview: with transparent cells (`Trans` = 1) the canvas shows background and table until it is
// clicked off the cells, and writes nothing. Otherwise the opaque wallpaper, composed exactly as the
// create command composes it, is written as the temporary bitmap (TempBitmapPath()) and shown by the
// preview window; the file is removed when the preview is over, however it ends. When the wallpaper
// cannot be drawn, or its bitmap cannot be written, a message says so and nothing is shown.
void Preview_Wallpaper(Quelm_Rask_S& editor, const WallpaperRenderer& render = {});
EditorHooks::Command PreviewWallpaperHook(WallpaperRenderer render = {});

// The background colour: the colour dialog over the editor; a chosen colour goes to every cell, hidden
// rows and columns included, when `Common` = 1, otherwise to the current cell (`Cur_Row`, `Cur_Col`;
// none when that is not a cell). Cancelling changes nothing.
void Set_Back_Colour(Quelm_Rask_S& editor, ColourChooser& colours);
// `colours` must outlive every editor that runs the command.
EditorHooks::Command BackColourHook(ColourChooser& colours);

}  // namespace qr
