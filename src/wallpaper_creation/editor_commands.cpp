#include "wallpaper_creation/editor_commands.h"

#include <string>
#include <utility>

#include "canvas/canvas_window.h"
#include "canvas/wallpaper_render.h"
#include "core/app_state.h"
#include "core/table_model.h"
#include "font_colour/colour_chooser.h"
#include "preview/preview_window.h"
#include "wallpaper_creation/create_wallpaper.h"
#include "shared/fixed_files.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/message_box.h"

namespace qr {

namespace {

// A file that is removed when its owner goes, on every way out of the scope.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() { win::DeletePath(path_); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The pointer the canvas and the preview show: the one over the editor's large buttons (the main
// window's).
HCURSOR PreviewCursor(Quelm_Rask_S& editor) { return editor.lbl_Button(0).Cursor(); }

win::Surface Render(const WallpaperRenderer& render, const WallpaperJob& job) {
  return render ? render(job) : RenderWallpaper(job);
}

// A wallpaper that could not be drawn is reported as the opaque preview's unwritten bitmap is: the
// canvas would show nothing but its grey.
void PreviewOnCanvas(Quelm_Rask_S& editor, AppState& state, const WallpaperRenderer& render) {
  const WallpaperJob job = WallpaperJobFromEditor(editor);
  state.Table_X = job.tableAt.x;
  state.Table_Y = job.tableAt.y;
  state.Capture_Mode = 0;  // stays as the preview until clicked; nothing is written
  const win::Surface wallpaper = Render(render, job);
  if (!wallpaper.ok()) {
    win::ShowMessage(editor.hwnd(), kBitmapNotWritten, win::kWarningStyle);
    return;
  }
  ShowCanvas(job, wallpaper, CanvasOptions{PreviewCursor(editor), false});
}

void PreviewOpaque(Quelm_Rask_S& editor, AppState& state, const WallpaperRenderer& render) {
  const win::Surface wallpaper = Render(render, WallpaperJobFromEditor(editor));
  // A stale file of an earlier run is replaced by the write; this one goes with the preview.
  const TemporaryFile bitmap(TempBitmapPath());
  if (!wallpaper.ok() || !win::WriteBitmapFile(wallpaper, bitmap.path())) {
    win::ShowMessage(editor.hwnd(), kBitmapNotWritten, win::kWarningStyle);
    return;
  }
  state.Capture_Mode = 1;
  ShowPreviewWindow(state, editor.hwnd(), PreviewOptions{PreviewCursor(editor), bitmap.path()});
}

void SetCellBackColour(Quelm_Rask_S& editor, int row, int col, COLORREF colour) {
  editor.Model().At(row, col).backColor = colour;
  editor.ApplyCellStyle(row, col);
}

}  // namespace

void Preview_Wallpaper(Quelm_Rask_S& editor, const WallpaperRenderer& render) {
  AppState& state = editor.State();
  editor.FocusFirstSlider();  // away from the cells: no caret in the picture
  if (state.Trans == 1) {
    PreviewOnCanvas(editor, state, render);
  } else {
    PreviewOpaque(editor, state, render);
  }
}

EditorHooks::Command PreviewWallpaperHook(WallpaperRenderer render) {
  return [render = std::move(render)](Quelm_Rask_S& editor) { Preview_Wallpaper(editor, render); };
}

void Set_Back_Colour(Quelm_Rask_S& editor, ColourChooser& colours) {
  const Color_Result result = colours.Show_Color_Dialog(editor.hwnd(), kCentreOverOwner);
  if (result.Canceled) return;
  const AppState& state = editor.State();
  if (state.Common == 1) {
    editor.RememberForUndo();
    for (int row = 1; row <= kMaxRows; ++row) {
      for (int col = 1; col <= kMaxCols; ++col) SetCellBackColour(editor, row, col, result.Value);
    }
    return;
  }
  editor.ForgetUndo();
  if (TableModel::Valid(state.Cur_Row, state.Cur_Col))
    SetCellBackColour(editor, state.Cur_Row, state.Cur_Col, result.Value);
}

EditorHooks::Command BackColourHook(ColourChooser& colours) {
  return [&colours](Quelm_Rask_S& editor) { Set_Back_Colour(editor, colours); };
}

}  // namespace qr
