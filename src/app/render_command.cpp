#include "app/render_command.h"

#include <windows.h>

#include <utility>

#include "canvas/wallpaper_install.h"
#include "canvas/wallpaper_render.h"
#include "core/app_state.h"
#include "core/settings.h"
#include "core/table_record.h"
#include "shared/fixed_files.h"
#include "shared/helpers.h"
#include "shared/profile_store.h"
#include "app/watcher.h"
#include "wallpaper_creation/last_wallpaper_file.h"
#include "win32/bitmap_file.h"
#include "win32/display.h"
#include "win32/files.h"
#include "win32/screen.h"
#include "win32/text.h"
#include "win32/wallpaper.h"

namespace qr {

namespace {

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

// The bitmap to /out (with several monitors, the whole virtual screen), or the wallpaper files written
// and, with /set, installed as the create command does.
RenderExit WriteAndInstall(const WallpaperJob& job, const RenderRequest& request,
                           const std::function<void(std::string_view)>& say) {
  if (request.out) {
    const win::Surface picture = job.display.monitors.size() > 1 ? RenderSpan(job) : RenderWallpaper(job);
    if (!picture.ok() || !win::WriteBitmapFile(picture, *request.out)) {
      say("cannot write the bitmap: " + *request.out + "\r\n");
      return RenderExit::OutputFailed;
    }
    if (request.set && !win::SetDesktopWallpaper(*request.out)) {
      say("written, but cannot install it as the wallpaper: " + *request.out + "\r\n");
      return RenderExit::OutputFailed;
    }
    if (request.set) RememberLastWallpaper(job, {*request.out});
    say("written: " + *request.out + "\r\n");
    return RenderExit::Done;
  }
  std::unique_ptr<win::MonitorWallpapers> perMonitor;
  if (request.set && job.display.monitors.size() > 1) perMonitor = win::OpenMonitorWallpapers();
  const std::string path = WallpaperBitmapPath();
  const auto files = WriteWallpaperFiles(job, path, perMonitor.get());
  if (!files) {
    say("cannot write the bitmap: " + path + "\r\n");
    return RenderExit::OutputFailed;
  }
  if (request.set && !InstallWallpaperFiles(*files, job, path, perMonitor.get())) {
    say("written, but cannot install it as the wallpaper: " + path + "\r\n");
    return RenderExit::OutputFailed;
  }
  if (request.set) RememberLastWallpaper(job, InstalledPaths(*files, job, path));
  say("written: " + path + "\r\n");
  return RenderExit::Done;
}

}  // namespace

RenderExit RunRefresh(const std::function<void(std::string_view)>& say) {
  const RefreshResult result =
      RefreshLastWallpaper([&](std::string_view text) { say(std::string(text) + "\r\n"); });
  switch (result) {
    case RefreshResult::NothingRemembered:
      say(std::string(kNothingRemembered) + "\r\n");
      return RenderExit::InputMissing;
    case RefreshResult::Failed:
      say(std::string(kRefreshFailed) + "\r\n");
      return RenderExit::OutputFailed;
    case RefreshResult::Done:
      break;
  }
  say(std::string(kRefreshDone) + "\r\n");
  return RenderExit::Done;
}

std::optional<WallpaperJob> LoadWallpaperJob(const std::string& tablePath, KeyStore& settings,
                                             std::optional<Point> at, std::string& problem,
                                             const std::function<void(std::string_view)>& warn,
                                             const DisplayLayout* display) {
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
  state.Kabe_File = state.Chosen_File;

  JobInputs inputs = SystemJobInputs(state, JobTableFrom(*decoded));
  if (display) inputs.display = *display;
  inputs.editor = {state.G_Left, state.G_Top, state.G_Rows, state.G_Cols, state.G_Cols_w};
  inputs.at = at;
  return BuildWallpaperJob(inputs);
}

RenderExit RunRender(const RenderRequest& request, const std::string& programFolder,
                     const std::function<void(std::string_view)>& say) {
  std::optional<DisplayLayout> given;
  if (request.layout) {
    std::string error;
    given = ParseLayoutSpec(*request.layout, win::SystemDpi(), error);
    if (!given) {
      say(error + "\r\n");
      return RenderExit::BadArguments;
    }
  }
  ProfileKeyStore settings(FileInProgramFolder(programFolder, kSettingsFileName));
  std::string problem;
  const auto job = LoadWallpaperJob(
      request.table, settings, request.at, problem,
      [&](std::string_view warning) { say("warning: " + std::string(warning) + "\r\n"); },
      given ? &*given : nullptr);
  if (!job) {
    say(problem + "\r\n");
    return RenderExit::InputMissing;
  }
  if (given) {
    if (!WriteLayoutFiles(*job, *request.out)) {
      say("cannot write the bitmaps into: " + *request.out + "\r\n");
      return RenderExit::OutputFailed;
    }
    say("written: monitor1.bmp ... monitor" + std::to_string(job->display.monitors.size()) +
        ".bmp and span.bmp in " + *request.out + "\r\n");
    return RenderExit::Done;
  }
  WallpaperJob installed = *job;
  if (request.set) PreserveCurrentWallpaper(installed);  // installing may replace the picture under it
  return WriteAndInstall(installed, request, say);
}

std::optional<int> RunCommandLine(const std::vector<std::string>& args, const std::string& programFolder) {
  const CommandLine line = ParseCommandLine(args);
  if (line.kind == CommandLine::Kind::Windows) return std::nullopt;
  AttachConsole(ATTACH_PARENT_PROCESS);
  switch (line.kind) {
    case CommandLine::Kind::Usage:
      WriteToConsole(kUsageText);
      return static_cast<int>(RenderExit::Done);
    case CommandLine::Kind::Monitors:
      WriteToConsole(DescribeMonitors(win::CurrentDisplay()));
      return static_cast<int>(RenderExit::Done);
    case CommandLine::Kind::Bad:
      WriteToConsole(line.error + "\r\n");
      WriteToConsole(kUsageText);
      return static_cast<int>(RenderExit::BadArguments);
    case CommandLine::Kind::Refresh:
      return static_cast<int>(RunRefresh(WriteToConsole));
    case CommandLine::Kind::Watch:
      return RunWatch();
    case CommandLine::Kind::Autostart:
      WriteToConsole("not available yet\r\n");
      return static_cast<int>(RenderExit::BadArguments);
    default:
      return static_cast<int>(RunRender(line.render, programFolder, WriteToConsole));
  }
}

}  // namespace qr
