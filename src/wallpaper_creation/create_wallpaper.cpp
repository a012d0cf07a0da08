#include "wallpaper_creation/create_wallpaper.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "canvas/canvas_window.h"
#include "canvas/wallpaper_install.h"
#include "canvas/wallpaper_render.h"
#include "wallpaper_creation/last_wallpaper_file.h"
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

// Where the editor stands now, as a saved place would put it.
EditorPlace EditorPlaceNow(const Quelm_Rask_S& editor) {
  const AppState& state = editor.State();
  return {static_cast<int32_t>(std::lround(editor.Left())), static_cast<int32_t>(std::lround(editor.Top())),
          state.G_Rows, state.G_Cols, state.G_Cols_w};
}

}  // namespace

WallpaperJob WallpaperJobFromEditor(const Quelm_Rask_S& editor) {
  const AppState& state = editor.State();
  JobInputs inputs =
      SystemJobInputs(state, JobTableFrom(editor.Model(), state.G_Rows, state.G_Cols, state.G_Cols_w));
  inputs.editor = EditorPlaceNow(editor);
  return BuildWallpaperJob(inputs);
}

Rect EditorTableRectangle(const Quelm_Rask_S& editor) {
  const Point corner = WallpaperJobFromEditor(editor).tableAt;
  const RECT grid = editor.PicBackRect();
  return {corner.x, corner.y, std::max<int32_t>(grid.right - grid.left - 18, 0),
          std::max<int32_t>(grid.bottom - grid.top - 16, 0)};
}

std::optional<WallpaperFiles> Build_Wallpaper_Files(const WallpaperJob& job, AppState& state, HCURSOR canvasCursor,
                                                    win::MonitorWallpapers* perMonitor) {
  state.Table_X = job.tableAt.x;
  state.Table_Y = job.tableAt.y;
  if (job.transparent) state.Capture_Mode = 1;
  std::optional<WallpaperFiles> files = WriteWallpaperFiles(job, WallpaperBitmapPath(), perMonitor);
  const CanvasOptions canvas{canvasCursor, true};
  if (files)
    ShowCanvas(job, files->primary, canvas);
  else
    ShowCanvas(job, RenderWallpaper(job), canvas);
  return files;
}

bool Build_Wallpaper(Quelm_Rask_S& editor, AppState& state, HCURSOR canvasCursor) {
  return Build_Wallpaper_Files(WallpaperJobFromEditor(editor), state, canvasCursor, nullptr).has_value();
}

void Create_Wallpaper(Quelm_Rask_S& editor, AppState& state, const CreateWallpaperServices& services) {
  editor.FocusFirstSlider();  // away from the cells: no caret in the picture
  WallpaperJob job = WallpaperJobFromEditor(editor);
  PreserveCurrentWallpaper(job);  // installing may replace the picture it is drawn over
  // The system's per-monitor wallpapers are asked for only when there is more than one monitor.
  std::unique_ptr<win::MonitorWallpapers> perMonitor;
  if (job.display.monitors.size() > 1)
    perMonitor = services.monitorWallpapers ? services.monitorWallpapers() : win::OpenMonitorWallpapers();
  const std::optional<WallpaperFiles> files =
      Build_Wallpaper_Files(job, state, CanvasCursor(editor, services.canvasCursor), perMonitor.get());
  if (!files) {
    win::ShowMessage(editor.hwnd(), kBitmapNotWritten, win::kWarningStyle);
    return;
  }
  const std::string bitmap = WallpaperBitmapPath();
  if (win::ShowMessage(editor.hwnd(), kSaveQuestion, win::kQuestionStyle) != IDYES) {
    if (InstallWallpaperFiles(*files, job, bitmap, perMonitor.get()))
      RememberLastWallpaper(job, InstalledPaths(*files, job, bitmap));
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
  if (InstallWallpaperFiles(*files, job, *chosen, perMonitor.get()))
    RememberLastWallpaper(job, InstalledPaths(*files, job, *chosen));
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
