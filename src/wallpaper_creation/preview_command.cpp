// The editor's preview command: the wallpaper the create command would install, shown and not written.
#include "wallpaper_creation/preview_command.h"

#include <string>
#include <utility>

#include "canvas/canvas_window.h"
#include "core/app_state.h"
#include "core/table_model.h"
#include "forms/focus.h"
#include "preview/preview_window.h"
#include "wallpaper/render.h"
#include "wallpaper_creation/create_wallpaper.h"
#include "win32/message_box.h"

namespace qr {

namespace {

// The pointer the canvas and the preview show: the one over the editor's large buttons (the main
// window's).
HCURSOR PreviewCursor(Quelm_Rask_S& editor) { return editor.lbl_Button(0).Cursor(); }

// The focus leaves the cells (no caret in the captured picture) for the preview command itself, where the
// user is: a screen reader hears nothing move, and the focus comes back there when the preview closes.
void FocusOnPreviewCommand(Quelm_Rask_S& editor) {
  forms::Windowless& command = editor.Img_SS(4);
  if (!command.Parent() || forms::CurrentFocus().control == &command) return;
  forms::MoveFocus({command.Parent()->hwnd(), &command});
}

win::Surface Render(const WallpaperRenderer& render, const WallpaperJob& job) {
  return render ? render(job) : RenderScreen(job);
}

// A wallpaper that could not be drawn is reported as the opaque preview's unwritten bitmap is: the
// canvas would show nothing but its grey.
void PreviewOnCanvas(Quelm_Rask_S& editor, const WallpaperRenderer& render) {
  const WallpaperJob job = WallpaperJobFromEditor(editor);
  const win::Surface wallpaper = Render(render, job);
  if (!wallpaper.ok()) {
    win::ShowMessage(editor.hwnd(), kBitmapNotWritten, win::kWarningStyle);
    return;
  }
  ShowCanvas(job, wallpaper, CanvasOptions{PreviewCursor(editor), false});
}

// The opaque wallpaper shown from memory over every monitor, unscaled on black; nothing is written.
void PreviewOpaque(Quelm_Rask_S& editor, const WallpaperRenderer& render) {
  const WallpaperJob job = WallpaperJobFromEditor(editor);
  win::Surface wallpaper = Render(render, job);
  if (!wallpaper.ok()) {
    win::ShowMessage(editor.hwnd(), kBitmapNotWritten, win::kWarningStyle);
    return;
  }
  ShowPreviewWindow(std::move(wallpaper), editor.hwnd(),
                    PreviewOptions{PreviewCursor(editor), ScreenArea(job)});
}

}  // namespace

void Preview_Wallpaper(Quelm_Rask_S& editor, const WallpaperRenderer& render) {
  FocusOnPreviewCommand(editor);
  if (editor.State().Trans == 1) {
    PreviewOnCanvas(editor, render);
  } else {
    PreviewOpaque(editor, render);
  }
}

EditorHooks::Command PreviewWallpaperHook(WallpaperRenderer render) {
  return [render = std::move(render)](Quelm_Rask_S& editor) { Preview_Wallpaper(editor, render); };
}

}  // namespace qr
