#include "app/render_command.h"

#include <windows.h>

#include <utility>

#include "canvas/wallpaper_render.h"
#include "core/app_state.h"
#include "core/settings.h"
#include "core/table_record.h"
#include "shared/fixed_files.h"
#include "shared/helpers.h"
#include "shared/profile_store.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/screen.h"
#include "win32/text.h"
#include "win32/wallpaper.h"

namespace qr {

namespace {

// The editor opens at its saved place unless that lies on no monitor; then it is centred.
Rect EditorWindowAtOpening(const AppState& settings, const win::ScreenMetrics& screen) {
  EditorPlacementInput input;
  input.leftTwips = settings.G_Left;
  input.topTwips = settings.G_Top;
  input.twipsPerPixelX = screen.twipsPerPixelX;
  input.twipsPerPixelY = screen.twipsPerPixelY;
  input.screenPx = {screen.widthPx, screen.heightPx};
  input.rows = settings.G_Rows;
  input.cols = settings.G_Cols;
  input.widths = settings.G_Cols_w;
  const Rect window = EditorWindowRect(input);
  const RECT placed{window.x, window.y, window.x + window.w, window.y + window.h};
  if (MonitorFromRect(&placed, MONITOR_DEFAULTTONULL)) return window;
  return CentredEditorWindowRect(input);
}

// Writes to the console the program was started from, or to its redirected output.
void WriteToConsole(std::string_view text) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!out || out == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(out, &mode)) {
    const std::wstring wide = win::Wide(text);
    WriteConsoleW(out, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
}

}  // namespace

std::optional<WallpaperJob> LoadWallpaperJob(const std::string& tablePath, KeyStore& settings,
                                             std::optional<Point> at, std::string& problem,
                                             const std::function<void(std::string_view)>& warn) {
  const std::optional<std::string> bytes = win::ReadFileBytes(tablePath);
  if (!bytes) {
    problem = "cannot read the table file: " + tablePath;
    return std::nullopt;
  }
  const std::optional<DecodedTable> decoded =
      bytes->size() % kTableRecordSize == 0 ? DecodeTableFile(*bytes) : std::nullopt;
  if (!decoded) {
    problem = "not a whole table file (.qlm): " + tablePath;
    return std::nullopt;
  }
  AppState state;
  Load_Main_Settings(settings, state, File_Exists);
  Load_Editor_Settings(settings, state);
  if (state.G_Kabe == 1 && state.Chosen_File.empty() && warn)
    warn("the background picture is missing: the desktop colour is used instead");

  const win::ScreenMetrics screen = win::GetScreenMetrics();
  WallpaperJob job;
  job.screen = ScreenSizePx();
  job.background = {BackgroundKindOf(state.G_Kabe), state.Chosen_File, PlacementOf(state.G_Pos),
                    DesktopColour()};
  job.table = JobTableFrom(*decoded);
  job.tableAt =
      at ? *at
         : TableCornerFor(EditorWindowAtOpening(state, screen), screen.twipsPerPixelX, screen.twipsPerPixelY);
  job.transparent = state.Trans == 1;
  job.textEffect = TextEffectOf(state.Text_Effect);
  job.panelAlpha = PanelAlphaOf(state.Panel_Alpha);
  job.dpi = win::SystemDpi();  // the cells as the editor shows them on this screen
  return job;
}

RenderExit RunRender(const RenderRequest& request, const std::string& programFolder,
                     const std::function<void(std::string_view)>& say) {
  ProfileKeyStore settings(FileInProgramFolder(programFolder, kSettingsFileName));
  std::string problem;
  const auto job =
      LoadWallpaperJob(request.table, settings, request.at, problem,
                       [&](std::string_view warning) { say("warning: " + std::string(warning) + "\r\n"); });
  if (!job) {
    say(problem + "\r\n");
    return RenderExit::InputMissing;
  }
  const win::Surface wallpaper = RenderWallpaper(*job);
  const std::string path = request.out ? *request.out : WallpaperBitmapPath();
  if (!wallpaper.ok() || !win::WriteBitmapFile(wallpaper, path)) {
    say("cannot write the bitmap: " + path + "\r\n");
    return RenderExit::OutputFailed;
  }
  if (request.set && !win::SetDesktopWallpaper(path)) {
    say("written, but cannot install it as the wallpaper: " + path + "\r\n");
    return RenderExit::OutputFailed;
  }
  say("written: " + path + "\r\n");
  return RenderExit::Done;
}

std::optional<int> RunCommandLine(const std::vector<std::string>& args, const std::string& programFolder) {
  const CommandLine line = ParseCommandLine(args);
  if (line.kind == CommandLine::Kind::Windows) return std::nullopt;
  AttachConsole(ATTACH_PARENT_PROCESS);
  switch (line.kind) {
    case CommandLine::Kind::Usage:
      WriteToConsole(kUsageText);
      return static_cast<int>(RenderExit::Done);
    case CommandLine::Kind::Bad:
      WriteToConsole(line.error + "\r\n");
      WriteToConsole(kUsageText);
      return static_cast<int>(RenderExit::BadArguments);
    default:
      return static_cast<int>(RunRender(line.render, programFolder, WriteToConsole));
  }
}

}  // namespace qr
