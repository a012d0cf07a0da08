#include "wallpaper_creation/create_wallpaper.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "canvas/canvas_window.h"
#include "canvas/wallpaper_render.h"
#include "core/app_state.h"
#include "core/paths.h"
#include "shared/fixed_files.h"
#include "win32/bitmap_file.h"
#include "win32/file_dialog.h"
#include "win32/files.h"
#include "win32/message_box.h"
#include "win32/text.h"
#include "win32/wallpaper.h"

namespace qr {

namespace {

bool IsBmpExtension(const std::string& path) {
  std::string extension = Get_Extension(path);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
  return extension == "BMP";
}

// Both names lead to the same file (compared as full paths, ignoring letter case as the file system
// does).
bool SamePath(const std::string& a, const std::string& b) {
  auto full = [](const std::string& path) {
    const std::wstring wide = win::ApiPath(path);
    std::wstring out(wide.size() + MAX_PATH, L'\0');
    const DWORD n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(out.size()), out.data(), nullptr);
    out.resize(n > 0 && n < out.size() ? n : 0);
    return out.empty() ? wide : out;
  };
  const std::wstring fa = full(a), fb = full(b);
  return CompareStringOrdinal(fa.c_str(), static_cast<int>(fa.size()), fb.c_str(),
                              static_cast<int>(fb.size()), TRUE) == CSTR_EQUAL;
}

std::optional<std::string> AskSaveName(const Quelm_Rask_S& editor, const AppState& state) {
  win::FileDialogSpec request;
  request.owner = editor.hwnd();
  request.filterName = kSaveFilterName;
  request.filterPattern = "*.bmp";
  request.initialName = "*.bmp";
  request.title = kSaveDialogTitle;
  request.flags = win::kSaveDialogFlags;
  request.defaultExtension = "bmp";
  request.initialFolder = state.Get_Kabe_Path;
  return win::ShowSaveDialog(request);
}

// Moves the built bitmap to the chosen name. A file already there is replaced by the move itself, so
// that it survives when the move fails.
bool MoveBitmapTo(const std::string& built, const std::string& chosen) {
  if (SamePath(built, chosen)) return true;
  return win::RenamePath(built, chosen);
}

HCURSOR CanvasCursor(Quelm_Rask_S& editor, HCURSOR given) {
  return given ? given : editor.lbl_Button(0).Cursor();
}

// `Pic_Back` as the table rectangle's formula takes it (the table 12 pixels inside its corner, 18
// narrower and 16 lower), in the window's device pixels: at any display scale the table's corner is
// then cell (1, 1)'s text area as the screen shows it, and its far edges keep the grid box's margins
// (6 and 4 pixels at 96 dots per inch) at the editor's scale. At 96 it is `Pic_Back`'s own rectangle.
RECT PicBackAsShown(const Quelm_Rask_S& editor) {
  constexpr int kInset = 12, kFarMarginX = 6, kFarMarginY = 4, kLessWidth = 18, kLessHeight = 16;
  RECT window{}, grid{};
  POINT text{0, 0};
  if (!GetWindowRect(editor.hwnd(), &window) || !GetWindowRect(editor.PicBackWindow(), &grid) ||
      !ClientToScreen(editor.FirstCellWindow(), &text)) {
    return editor.PicBackRect();
  }
  const forms::Scale& scale = editor.Scale();
  const int left = text.x - window.left - kInset;
  const int top = text.y - window.top - kInset;
  const int right = grid.right - window.left - scale.Px(kFarMarginX) + (kLessWidth - kInset);
  const int bottom = grid.bottom - window.top - scale.Px(kFarMarginY) + (kLessHeight - kInset);
  return RECT{left, top, right, bottom};
}

}  // namespace

Rect EditorTableRectangle(const Quelm_Rask_S& editor) {
  const RECT picBack = PicBackAsShown(editor);
  TableRectInput input;
  input.windowLeftTwips = editor.Left();
  input.windowTopTwips = editor.Top();
  input.twipsPerPixelX = forms::Form::TwipsPerPixelX();
  input.twipsPerPixelY = forms::Form::TwipsPerPixelY();
  input.picBackLeft = picBack.left;
  input.picBackTop = picBack.top;
  input.picBackWidth = picBack.right - picBack.left;
  input.picBackHeight = picBack.bottom - picBack.top;
  return TableRectangle(input);
}

WallpaperJob WallpaperJobFromEditor(const Quelm_Rask_S& editor) {
  WallpaperJob job = JobFromState(editor.State(), editor.Model());
  const Rect table = EditorTableRectangle(editor);
  job.tableAt = {table.x, table.y};
  job.dpi = editor.Scale().dpi;
  return job;
}

bool Build_Wallpaper(Quelm_Rask_S& editor, AppState& state, HCURSOR canvasCursor) {
  const WallpaperJob job = WallpaperJobFromEditor(editor);
  state.Table_X = job.tableAt.x;
  state.Table_Y = job.tableAt.y;
  if (job.transparent) state.Capture_Mode = 1;
  const win::Surface wallpaper = RenderWallpaper(job);
  ShowCanvas(job, wallpaper, CanvasOptions{canvasCursor, true});
  return wallpaper.ok() && win::WriteBitmapFile(wallpaper, WallpaperBitmapPath());
}

void Create_Wallpaper(Quelm_Rask_S& editor, AppState& state, const CreateWallpaperServices& services) {
  editor.FocusFirstSlider();  // away from the cells: no caret in the picture
  if (!Build_Wallpaper(editor, state, CanvasCursor(editor, services.canvasCursor))) {
    win::ShowMessage(editor.hwnd(), kBitmapNotWritten, win::kWarningStyle);
    return;
  }
  const std::string bitmap = WallpaperBitmapPath();
  if (win::ShowMessage(editor.hwnd(), kSaveQuestion, win::kQuestionStyle) != IDYES) {
    win::SetDesktopWallpaper(bitmap);
    editor.Unload();
    return;
  }
  const std::optional<std::string> chosen = AskSaveName(editor, state);
  if (!chosen || chosen->empty()) return;
  if (!IsBmpExtension(*chosen)) {
    win::ShowMessage(editor.hwnd(), kWrongExtension, win::kWarningStyle);
    return;
  }
  if (!MoveBitmapTo(bitmap, *chosen)) {
    win::ShowMessage(editor.hwnd(), kBitmapNotSaved, win::kWarningStyle);
    return;
  }
  win::SetDesktopWallpaper(*chosen);
  if (services.addToList) services.addToList(*chosen);
  state.Get_Kabe_Path = Get_Folder(*chosen);
  editor.Unload();
}

EditorHooks::Command CreateWallpaperHook(AppState& state, CreateWallpaperServices services) {
  return [&state, services = std::move(services)](Quelm_Rask_S& editor) {
    Create_Wallpaper(editor, state, services);
  };
}

}  // namespace qr
