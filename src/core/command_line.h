#pragma once
// The program's command line: no arguments start the windows; "/render" re-renders a saved table into
// the wallpaper bitmap with no window at all; "/monitors" lists the display's monitors; "/autostart"
// turns the start at log-on on or off; "/version" names the version; "/?" asks for the usage.
//
//   Quelm_Rask.exe /render <table.qlm> [/out <file.bmp>] [/set] [/at <x>,<y>]
//   Quelm_Rask.exe /render <table.qlm> /layout "WxH@X,Y[;WxH@X,Y...]" /out <folder>
//   Quelm_Rask.exe /monitors
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/geometry.h"

namespace qr {

// The usage, as "/?" prints it (the name typed in a console reaches the console companion).
inline constexpr std::string_view kUsageText =
    "Quelm_Rask /render <table.qlm> [/out <file.bmp>] [/set] [/at <x>,<y>]\r\n"
    "           [/settings <file.ini>]\r\n"
    "Quelm_Rask /render <table.qlm> /layout \"WxH@X,Y[;WxH@X,Y...]\" /out <folder>\\\r\n"
    "Quelm_Rask /refresh\r\n"
    "Quelm_Rask /watch [stop]\r\n"
    "Quelm_Rask /autostart on|off\r\n"
    "Quelm_Rask /monitors\r\n"
    "Quelm_Rask /version\r\n"
    "  /render <table.qlm>   保存した表を背景に重ねて描きます\r\n"
    "  /out <file.bmp>       壁紙のファイルの代わりにここへ書き込みます\r\n"
    "                        (モニターが複数のときは仮想画面の全体)\r\n"
    "  /set                  描いた絵を壁紙に設定します (モニターごと)\r\n"
    "  /at <x>,<y>           表の左上 (仮想画面のピクセル。プライマリの左や上は負。\r\n"
    "                        既定は表エディターを最後に閉じた位置)\r\n"
    "  /layout <モニター>    これらのモニター (最初がプライマリ) に合わせて描き、\r\n"
    "                        /out のフォルダーに monitor1.bmp ... と span.bmp を\r\n"
    "                        書き込みます。壁紙は設定しません。すべてのモニターを\r\n"
    "                        囲む仮想画面は幅と高さがそれぞれ 32767 ピクセルまで\r\n"
    "  /settings <file.ini>  背景の設定をこのファイルから読みます (既定はプログラム\r\n"
    "                        の横の Quelm_Rask.ini。どちらにも書き込みません)\r\n"
    "  /refresh              最後に貼り付けた壁紙を今の画面に合わせて描き直します\r\n"
    "  /watch                画面の変化を見張り、壁紙を描き直します (常駐)\r\n"
    "  /watch stop           動いている /watch を終わらせます\r\n"
    "  /autostart on|off     ログオン時に /watch で起動するかどうかを決めます\r\n"
    "  /monitors             モニターを一覧します (大きさと位置、dpi、プライマリ)\r\n"
    "  /version              バージョンとビルドのコミット、libjpeg-turbo の版を表示します\r\n"
    "終了コード: 0 完了、2 引数の誤り、3 入力がないか読めない、\r\n"
    "            4 書き込めないか設定できない、5 背景の画像を読み込めない、\r\n"
    "            6 壁紙は設定したが /refresh のための記録を保存できない\r\n";

// The usage as "/?" prints it: a first line naming the program and its version, then kUsageText.
std::string UsageText();

// The ways the render command ends, as the process's exit code.
// PictureUndecodable: the background picture exists but cannot be decoded (nothing written).
// NotRemembered: the wallpaper was installed, but the snapshot for /refresh and /watch could not be saved.
enum class RenderExit : int {
  Done = 0,
  BadArguments = 2,
  InputMissing = 3,
  OutputFailed = 4,
  PictureUndecodable = 5,
  NotRemembered = 6,
};

struct RenderRequest {
  std::string table;               // the ".qlm" file
  std::optional<std::string> out;  // the bitmap to write; nothing: the wallpaper file
  bool set = false;                // install it as the wallpaper
  std::optional<Point> at;         // the table's corner; nothing: from the editor's saved position
  std::optional<std::string> layout;  // monitors given by hand ("WxH@X,Y;..."); `out` is then a folder
  bool operator==(const RenderRequest&) const = default;
};

struct CommandLine {
  enum class Kind { Windows, Usage, Version, Monitors, Render, Refresh, Watch, StopWatch, Autostart, Bad };
  Kind kind = Kind::Windows;
  RenderRequest render;  // Kind::Render
  // Kind::Render and Kind::Refresh: the settings file to read the background from instead of the one
  // beside the program (never written).
  std::optional<std::string> settings;
  bool autostartOn = false;  // Kind::Autostart: on or off
  std::string error;     // Kind::Bad: what is wrong
};

// The arguments after the program's name. Switches are case-insensitive and may start with "-"; each
// may be given once.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace qr
