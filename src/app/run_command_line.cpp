// The program's whole command line: /render, /refresh, /watch, /monitors, /autostart and /?, with no window.
#include "app/run_command_line.h"

#include <windows.h>

#include <cctype>
#include <utility>
#include <vector>

#include "app/version_report.h"
#include "app/watcher.h"
#include "core/app_state.h"
#include "core/settings.h"
#include "core/table_record.h"
#include "shared/fixed_files.h"
#include "shared/helpers.h"
#include "shared/profile_store.h"
#include "wallpaper/install_wallpaper.h"
#include "wallpaper/job_inputs.h"
#include "wallpaper/refresh.h"
#include "wallpaper/render.h"
#include "wallpaper/write_files.h"
#include "win32/autostart.h"
#include "win32/display.h"
#include "win32/files.h"
#include "win32/handles.h"
#include "win32/image.h"
#include "win32/screen.h"
#include "win32/step_times.h"
#include "win32/text.h"

namespace qr {

namespace {

// The text in the console's output code page, as the programs reading a redirected console expect
// (code page 932 on a Japanese system). Without a console, the system's OEM code page.
std::string InConsoleCodePage(const std::wstring& wide) {
  if (wide.empty()) return {};
  UINT codePage = GetConsoleOutputCP();
  if (codePage == 0) codePage = GetOEMCP();
  const int size = static_cast<int>(wide.size());
  const int bytes = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), bytes, nullptr, nullptr);
  return text;
}

}  // namespace

void WriteToConsole(std::string_view text) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!out || out == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0;
  DWORD written = 0;
  const std::wstring wide = win::Wide(text);
  if (GetConsoleMode(out, &mode)) {
    WriteConsoleW(out, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    const std::string bytes = InConsoleCodePage(wide);
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
}

namespace {

// The Run value for the GUI program beside this one, also when the console companion was asked.
RenderExit RunAutostart(bool on, const std::function<void(std::string_view)>& say) {
  const std::string program = GuiProgramPath(win::ExecutablePath());
  if (!win::SetAutostart(on, program)) {
    say(on ? "ログオン時の起動を登録できません\r\n" : "ログオン時の起動の登録を消せません\r\n");
    return RenderExit::OutputFailed;
  }
  say(on ? "ログオン時に起動します: " + win::AutostartCommand(program) + "\r\n"
         : std::string("ログオン時には起動しません\r\n"));
  return RenderExit::Done;
}

// Whether another program holds `file` open (a viewer showing it): then it cannot be replaced.
bool HeldByAnotherProgram(const std::string& file) {
  const win::File opened(CreateFileW(win::ApiPath(file).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  return !opened && GetLastError() == ERROR_SHARING_VIOLATION;
}

// Why the bitmaps `files` in `folder` could not be written, and what the user can do, as one message.
std::string WhyNotWritten(const std::string& folder, const std::vector<std::string>& files) {
  if (!win::PathIsPresent(folder))
    return "ビットマップを書き込めません。フォルダーがありません: " + folder +
           "（フォルダーを作るか、/out に別の場所を指定してください）";
  for (const std::string& file : files) {
    if (HeldByAnotherProgram(file))
      return "ビットマップを書き込めません。ほかのプログラムがファイルを開いています: " + file +
             "（そのプログラムを閉じてから、もう一度実行してください）";
    if (win::IsReadOnlyFile(file))
      return "ビットマップを書き込めません。ファイルが読み取り専用です: " + file +
             "（読み取り専用を外すか、/out に別の名前を指定してください）";
  }
  if (!FolderIsWritable(folder))
    return "ビットマップを書き込めません。フォルダーに書き込めません（読み取り専用か、権限がありません）: " +
           folder + "（/out に別の場所を指定してください）";
  return "ビットマップを書き込めません。ディスクの空きかメモリが足りません: " + folder +
         "（空きを作ってから、もう一度実行してください）";
}

std::string FolderOfFile(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// Without /set: the bitmap to /out (with several monitors, the whole virtual screen), or the wallpaper
// files as the create command writes them.
RenderExit WriteOnly(const WallpaperJob& job, const std::string& path, bool toOut,
                     const std::function<void(std::string_view)>& say) {
  bool written = false;
  if (toOut) {
    if (job.display.monitors.size() > 1) {
      written = WriteSpanFile(job, path, false);
    } else {
      written = WriteWallpaperBitmap(job, path);
    }
  } else {
    written = WriteWallpaperFiles(job, path, nullptr).has_value();
  }
  if (!written) {
    say(WhyNotWritten(FolderOfFile(path), {path}) + "\r\n");
    return RenderExit::OutputFailed;
  }
  win::steps::Mark("written");
  say("書き込みました: " + path + "\r\n");
  return RenderExit::Done;
}

// With /set: written, installed and remembered by the one installation the create command uses, so
// several monitors get the same files, style and roll; /out names the primary's (or the only) file.
RenderExit WriteAndInstall(const WallpaperJob& job, const std::string& path,
                           const std::function<void(std::string_view)>& say) {
  InstallSteps steps{path};
  steps.keepCurrentWallpaper = true;  // installing may replace the picture under it
  const InstallOutcome outcome = InstallWallpaper(job, steps);
  switch (outcome.result) {
    case InstallOutcome::Result::Installed:
      say("書き込みました: " + path + "\r\n");
      if (outcome.remembered) return RenderExit::Done;
      say("警告: " + std::string(kNotRemembered) + LastWallpaperPath() + kNotRememberedRemedy + "\r\n");
      return RenderExit::NotRemembered;
    case InstallOutcome::Result::NotInstalled:
      say("書き込みましたが、壁紙に設定できません: " + path + "\r\n");
      return RenderExit::OutputFailed;
    default:
      say(WhyNotWritten(FolderOfFile(path), {path}) + "\r\n");
      return RenderExit::OutputFailed;
  }
}

}  // namespace

RenderExit RunRefresh(const std::function<void(std::string_view)>& say) {
  const RefreshResult result =
      RefreshLastWallpaper([&](std::string_view text) { say(std::string(text) + "\r\n"); });
  switch (result) {
    case RefreshResult::NothingRemembered:
      say(std::string(kNothingRemembered) + "\r\n");
      return RenderExit::InputMissing;
    case RefreshResult::Damaged:
      say(kSnapshotDamaged + LastWallpaperPath() + kSnapshotDamagedRemedy + "\r\n");
      return RenderExit::InputMissing;
    case RefreshResult::NotInstalledNow:
      say(kNotInstalledNow + LastWallpaperPath() + "\r\n");
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
    problem = "表のファイルを読めません: " + tablePath;
    return std::nullopt;
  }
  const std::optional<DecodedTable> decoded =
      bytes->size() % kTableRecordSize == 0 ? DecodeTableFile(*bytes) : std::nullopt;
  if (!decoded) {
    problem = "表のファイル (.qlm) として読めません: " + tablePath;
    return std::nullopt;
  }
  win::steps::Mark("table read");
  AppState state;
  std::string missingPicture;  // the chosen picture, when it is gone
  Load_Main_Settings(settings, state, [&](const std::string& file) {
    const bool present = File_Exists(file);
    if (!present) missingPicture = file;
    return present;
  });
  Load_Editor_Settings(settings, state);
  win::steps::Mark("settings read");
  if (state.G_Kabe == 1 && state.Chosen_File.empty() && warn)
    warn(missingPicture.empty() ? std::string("背景の画像がありません（選ばれていません）。デスクトップの色を"
                                              "使います（メイン画面で背景の画像を選んでください）")
                                : "背景の画像がありません: " + missingPicture +
                                      "。デスクトップの色を使います（ファイルを元に戻すか、メイン画面で背景の"
                                      "画像を選び直してください）");
  state.Kabe_File = state.Chosen_File;

  JobInputs inputs = SystemJobInputs(JobChoicesOf(state), JobTableFrom(*decoded));
  if (display) inputs.display = *display;
  inputs.editor = {state.G_Left, state.G_Top, state.G_Rows, state.G_Cols, state.G_Cols_w};
  inputs.at = at;
  win::steps::Mark("display query");
  return BuildWallpaperJob(inputs);
}

std::string SettingsPathFor(const CommandLine& line, const std::string& programFolder) {
  return SettingsPathFor(line.settings, programFolder);
}

std::string SettingsPathFor(const std::optional<std::string>& settingsFile,
                            const std::string& programFolder) {
  return settingsFile ? *settingsFile : FileInProgramFolder(programFolder, kSettingsFileName);
}

std::string GuiProgramPath(const std::string& executablePath) {
  std::string path = executablePath;
  if (path.size() < 4) return path;
  std::string extension = path.substr(path.size() - 4);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".com") path.replace(path.size() - 4, 4, ".exe");
  return path;
}

namespace {

// A missing picture gives the desktop colour, as in the windows; any other problem stops the render.
win::PictureProblem BackgroundPictureProblem(const WallpaperJob& job) {
  if (job.background.kind != BackgroundKind::ImageFile || job.background.file.empty())
    return win::PictureProblem::None;
  const win::PictureProblem problem = win::CheckPicture(job.background.file);
  return problem == win::PictureProblem::Missing ? win::PictureProblem::None : problem;
}

}  // namespace

RenderExit RunRender(const RenderRequest& request, const std::string& programFolder,
                     const std::function<void(std::string_view)>& say,
                     const std::optional<std::string>& settingsFile) {
  std::optional<DisplayLayout> given;
  if (request.layout) {
    std::string error;
    given = ParseLayoutSpec(*request.layout, win::SystemDpi(), error);
    if (!given) {
      say(error + "\r\n");
      return RenderExit::BadArguments;
    }
  }
  if (!given) win::StartReadingDisplay();  // while the table and the settings are read
  const std::string settingsPath = SettingsPathFor(settingsFile, programFolder);
  if (settingsFile && !File_Exists(settingsPath)) {
    say("設定ファイルを読めません: " + settingsPath + "\r\n");
    return RenderExit::InputMissing;
  }
  // One read of the file for all its keys, not one per key.
  ProfileSnapshotStore file(settingsPath);
  ReadOnlyKeyStore settings(file);  // a render leaves the settings as they are, wherever they lie
  std::string problem;
  const auto job = LoadWallpaperJob(
      request.table, settings, request.at, problem,
      [&](std::string_view warning) { say("警告: " + std::string(warning) + "\r\n"); },
      given ? &*given : nullptr);
  if (!job) {
    say(problem + "\r\n");
    return RenderExit::InputMissing;
  }
  // A picture that exists but cannot be decoded would give the desktop colour alone, without a word.
  if (const win::PictureProblem picture = BackgroundPictureProblem(*job);
      picture != win::PictureProblem::None) {
    say(win::PictureProblemMessage(picture, job->background.file) + "\r\n");
    return RenderExit::PictureUndecodable;
  }
  if (given) {
    if (!WriteLayoutFiles(*job, *request.out)) {
      std::vector<std::string> files = {*request.out + "\\span.bmp"};
      for (size_t i = 1; i <= job->display.monitors.size(); ++i)
        files.push_back(*request.out + "\\monitor" + std::to_string(i) + ".bmp");
      say(WhyNotWritten(*request.out, files) + "（フォルダーの前の組はそのままです）\r\n");
      return RenderExit::OutputFailed;
    }
    const size_t count = job->display.monitors.size();
    say("書き込みました: " + *request.out + " に monitor1.bmp " +
        (count > 1 ? "～ monitor" + std::to_string(count) + ".bmp " : std::string()) + "と span.bmp\r\n");
    return RenderExit::Done;
  }
  const std::string path = request.out ? *request.out : WallpaperBitmapPath();
  if (!request.set) return WriteOnly(*job, path, request.out.has_value(), say);
  return WriteAndInstall(*job, path, say);
}

std::optional<int> RunCommandLine(const std::vector<std::string>& args, const std::string& programFolder) {
  const CommandLine line = ParseCommandLine(args);
  if (line.kind == CommandLine::Kind::Windows) return std::nullopt;
  AttachConsole(ATTACH_PARENT_PROCESS);
  switch (line.kind) {
    case CommandLine::Kind::Usage:
      WriteToConsole(UsageText());
      return static_cast<int>(RenderExit::Done);
    case CommandLine::Kind::Version:
      WriteToConsole(VersionReport());
      return static_cast<int>(RenderExit::Done);
    case CommandLine::Kind::Monitors:
      win::StartReadingDisplay();  // under Wine, faster off the thread the process started with
      WriteToConsole(DescribeMonitors(win::CurrentDisplay()));
      return static_cast<int>(RenderExit::Done);
    case CommandLine::Kind::Bad:
      WriteToConsole(line.error + "\r\n");
      WriteToConsole(UsageText());
      return static_cast<int>(RenderExit::BadArguments);
    case CommandLine::Kind::Autostart:
      return static_cast<int>(RunAutostart(line.autostartOn, WriteToConsole));
    case CommandLine::Kind::Refresh:
      win::StartReadingDisplay();  // while the remembered wallpaper is read
      return static_cast<int>(RunRefresh(WriteToConsole));
    case CommandLine::Kind::Watch:
      return RunWatch();
    case CommandLine::Kind::StopWatch:
      if (StopRunningWatchers()) return static_cast<int>(RenderExit::Done);
      WriteToConsole("常駐している /watch を終わらせられません\r\n");
      return static_cast<int>(RenderExit::OutputFailed);
    default:
      return static_cast<int>(RunRender(line.render, programFolder, WriteToConsole, line.settings));
  }
}

}  // namespace qr
