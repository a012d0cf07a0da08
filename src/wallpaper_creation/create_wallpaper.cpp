// The editor's create command "壁紙貼り付け": the editor's job shown, saved if asked, and installed.
#include "wallpaper_creation/create_wallpaper.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "canvas/canvas_window.h"
#include "core/app_state.h"
#include "core/paths.h"
#include "shared/fixed_files.h"
#include "wallpaper/install_wallpaper.h"
#include "wallpaper/job_inputs.h"
#include "wallpaper/render.h"
#include "wallpaper/write_files.h"
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
  if (win::SamePath(built, chosen)) return true;
  return win::RenamePath(built, chosen);
}

// The canvas shows the written primary picture on one monitor; on several, every monitor's.
void ShowOnCanvas(const WallpaperJob& job, const WallpaperFiles* files, const CanvasOptions& options) {
  if (files && job.display.monitors.size() <= 1)
    ShowCanvas(job, files->primary, options);
  else
    ShowCanvas(job, RenderScreen(job), options);
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
  JobInputs inputs = SystemJobInputs(
      JobChoicesOf(state), JobTableFrom(editor.Model(), state.G_Rows, state.G_Cols, state.G_Cols_w));
  inputs.editor = EditorPlaceNow(editor);
  return BuildWallpaperJob(inputs);
}

Rect EditorTableRectangle(const Quelm_Rask_S& editor) {
  const Point corner = WallpaperJobFromEditor(editor).tableAt;
  const RECT grid = editor.PicBackRect();
  return {corner.x, corner.y, std::max<int32_t>(grid.right - grid.left - 18, 0),
          std::max<int32_t>(grid.bottom - grid.top - 16, 0)};
}

bool Build_Wallpaper(Quelm_Rask_S& editor, HCURSOR canvasCursor) {
  const WallpaperJob job = WallpaperJobFromEditor(editor);
  const std::optional<WallpaperFiles> files = WriteWallpaperFiles(job, WallpaperBitmapPath(), nullptr, true);
  const CanvasOptions canvas{canvasCursor, true};
  ShowOnCanvas(job, files ? &*files : nullptr, canvas);
  return files.has_value();
}

namespace {

// After "はい": the wallpaper saved under a name the user chooses, moved there. The name, or nothing when
// the editor is to stay open with nothing installed.
std::optional<std::string> SaveUnderName(Quelm_Rask_S& editor, const AppState& state,
                                         const std::string& bitmap) {
  const std::optional<std::string> chosen = AskSaveName(editor, state);
  if (!chosen || chosen->empty()) return std::nullopt;
  if (!IsBmpExtension(*chosen)) {
    win::ShowMessage(editor.hwnd(), kWrongExtension, win::kWarningStyle);
    return std::nullopt;
  }
  if (!MoveBitmapTo(bitmap, *chosen)) {
    win::ShowMessage(editor.hwnd(), kBitmapNotSaved, win::kWarningStyle);
    return std::nullopt;
  }
  return chosen;
}

}  // namespace

void Create_Wallpaper(Quelm_Rask_S& editor, AppState& state, const CreateWallpaperServices& services) {
  editor.FocusFirstSlider();  // away from the cells: no caret in the picture
  const WallpaperJob job = WallpaperJobFromEditor(editor);
  // The system's per-monitor wallpapers are asked for only when there is more than one monitor.
  std::unique_ptr<win::MonitorWallpapers> perMonitor;
  if (job.display.monitors.size() > 1 && services.monitorWallpapers)
    perMonitor = services.monitorWallpapers();
  const CanvasOptions canvas{CanvasCursor(editor, services.canvasCursor), true};
  const std::string bitmap = WallpaperBitmapPath();
  InstallSteps steps{bitmap, perMonitor.get()};
  steps.keepCurrentWallpaper = true;  // installing may replace the picture it is drawn over
  steps.keepPrimary = true;           // the canvas shows it
  std::optional<std::string> savedAs;
  steps.written = [&](const WallpaperFiles& files) -> std::optional<std::string> {
    ShowOnCanvas(job, &files, canvas);
    if (win::ShowMessage(editor.hwnd(), kSaveQuestion, win::kQuestionStyle) != IDYES) return bitmap;
    savedAs = SaveUnderName(editor, state, bitmap);
    return savedAs;
  };
  const InstallOutcome outcome = InstallWallpaper(job, steps);
  if (outcome.result == InstallOutcome::Result::NotWritten) {
    ShowOnCanvas(job, nullptr, canvas);
    win::ShowMessage(editor.hwnd(), kBitmapNotWritten, win::kWarningStyle);
    return;
  }
  if (outcome.result == InstallOutcome::Result::Stopped) return;
  if (outcome.ok() && !outcome.remembered)
    win::ShowMessage(editor.hwnd(), kWallpaperNotRemembered + LastWallpaperPath(), win::kWarningStyle);
  if (savedAs) {
    if (services.addToList) services.addToList(*savedAs);
    state.Get_Kabe_Path = Get_Folder(*savedAs);
  }
  editor.Unload();
}

EditorHooks::Command CreateWallpaperHook(AppState& state, CreateWallpaperServices services) {
  return [&state, services = std::move(services)](Quelm_Rask_S& editor) {
    Create_Wallpaper(editor, state, services);
  };
}

}  // namespace qr
