#pragma once
// The program's whole command line, run with no window: /render (a wallpaper job from a saved table and the
// settings file, rendered, written, and with /set installed through the one installation), /refresh,
// /watch, /monitors, /autostart and /?.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/command_line.h"
#include "core/key_store.h"
#include "core/wallpaper_job.h"

namespace qr {

// A job from a ".qlm" file and the settings, built by the one job builder: the background (`G_Kabe`,
// `G_Kabe_File`, `G_Pos`), `Trans`, and, unless `at` is given, the table where the editor opens
// (`G_Left`, `G_Top`, or centred) shows it, on this machine's display or on `display`. The table is drawn
// as saved. Nothing when the file is missing, unreadable, or not whole records; `problem` then says why.
// `warn` hears what falls back (a background picture that is missing).
std::optional<WallpaperJob> LoadWallpaperJob(const std::string& tablePath, KeyStore& settings,
                                             std::optional<Point> at, std::string& problem,
                                             const std::function<void(std::string_view)>& warn = {},
                                             const DisplayLayout* display = nullptr);

inline constexpr const char* kNothingRemembered =
    "作り直す壁紙がありません（壁紙貼り付け、または /render … /set で作った壁紙を記憶します）。";
// Before the snapshot's path, and after it the remedy.
inline constexpr const char* kSnapshotDamaged = "記憶した壁紙の記録が壊れています: ";
inline constexpr const char* kSnapshotDamagedRemedy =
    "（壁紙貼り付け、または /render … /set でもう一度壁紙を作ると、新しい記録に置き換わります）";
// /render … /set and 壁紙貼り付け when the snapshot could not be saved: the wallpaper is installed.
inline constexpr const char* kNotRemembered =
    "壁紙は設定しましたが、/refresh と /watch のための記録を保存できません（古い記録は使いません）: ";
// After the snapshot's path: what it means and what the user can do.
inline constexpr const char* kNotRememberedRemedy =
    "。画面が変わってもこの壁紙は作り直されません。このフォルダーが読み取り専用でないか、ディスクの空きがある"
    "かを確かめて、もう一度壁紙を作ってください。";
// /refresh when the snapshot is not of the wallpaper installed now; the snapshot's path follows.
inline constexpr const char* kNotInstalledNow =
    "記憶した壁紙の記録は、いま設定されている壁紙のものではないため、古い壁紙には戻しません。壁紙貼り付け、ま"
    "たは /render … /set で壁紙を作り直すと、新しい記録が保存されます: ";
inline constexpr const char* kRefreshFailed = "壁紙ﾌｧｲﾙを作成できませんでした！";
inline constexpr const char* kRefreshDone = "記憶した壁紙を今の画面に合わせて作り直しました。";

// "/refresh": the remembered last wallpaper made again for the display as it is now and installed.
// Exit codes as /render's: 3 when nothing is remembered or the snapshot is not of the wallpaper installed
// now, 4 when it could not be written or installed.
RenderExit RunRefresh(const std::function<void(std::string_view)>& say);

// Runs the request with the settings from `settingsFile` (given with /settings; it must exist) or else
// from the settings file in `programFolder`; every message goes to `say`. It writes only the bitmaps:
// never the settings it reads, nor anything beside the table.
RenderExit RunRender(const RenderRequest& request, const std::string& programFolder,
                     const std::function<void(std::string_view)>& say,
                     const std::optional<std::string>& settingsFile = std::nullopt);

// The settings file a command reads: the one given with /settings, or "Quelm_Rask.ini" in `programFolder`.
// Read it through a ReadOnlyKeyStore: it is never written.
std::string SettingsPathFor(const CommandLine& line, const std::string& programFolder);
std::string SettingsPathFor(const std::optional<std::string>& settingsFile, const std::string& programFolder);

// Writes to the console the program was started from (WriteConsoleW), or to its redirected output (a
// pipe or a file) in the console's output code page.
void WriteToConsole(std::string_view text);

// The GUI program for a running one: the console companion "X.com" stands for "X.exe" beside it.
std::string GuiProgramPath(const std::string& executablePath);

// The program's whole command line (arguments after the program's name): the exit code, or nothing when
// the windows are to start. Settings are read from `dataFolder`. Messages go to the console the program
// was started from.
std::optional<int> RunCommandLine(const std::vector<std::string>& args, const std::string& dataFolder);

}  // namespace qr
