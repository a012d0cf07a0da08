#pragma once
// The program's command line: no arguments start the windows; "/render" re-renders a saved table into
// the wallpaper bitmap with no window at all; "/monitors" lists the display's monitors; "/autostart"
// turns the start at log-on on or off; "/?" asks for the usage.
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
    "Quelm_Rask /render <table.qlm> [/out <file.bmp>] [/set] [/at <x>,<y>] [/settings <file.ini>]\r\n"
    "Quelm_Rask /render <table.qlm> /layout \"WxH@X,Y[;WxH@X,Y...]\" /out <folder>\\\r\n"
    "Quelm_Rask /refresh [/settings <file.ini>]\r\n"
    "Quelm_Rask /watch\r\n"
    "Quelm_Rask /autostart on|off\r\n"
    "Quelm_Rask /monitors\r\n"
    "  /render <table.qlm>   保存した表を背景 (Quelm_Rask.ini の設定) に重ねて描きます\r\n"
    "  /out <file.bmp>       壁紙のファイルの代わりにこのファイルへ書き込みます (モニターが\r\n"
    "                        複数のときは仮想画面の全体)\r\n"
    "  /set                  描いたビットマップをデスクトップの壁紙に設定します (モニターごと)\r\n"
    "  /at <x>,<y>           表の左上の位置 (仮想画面のピクセル。プライマリ モニターの左や上は\r\n"
    "                        負の値。既定は表エディターを最後に閉じた位置)\r\n"
    "  /layout <モニター>    この機械のモニターの代わりにこれらのモニター (最初がプライマリ) に\r\n"
    "                        合わせて描き、/out のフォルダーに monitor1.bmp ... と span.bmp を\r\n"
    "                        書き込みます。壁紙は設定しません\r\n"
    "  /settings <file.ini>  背景の設定をプログラムの横の Quelm_Rask.ini の代わりにこのファイル\r\n"
    "                        から読みます (書き込みはしません)\r\n"
    "  /refresh              最後に貼り付けた壁紙を今の画面に合わせて描き直し、設定します\r\n"
    "  /watch                画面の変化を見張り、壁紙を描き直します (常駐します)\r\n"
    "  /autostart on|off     ログオン時に /watch で起動するかどうかを決めます\r\n"
    "  /monitors             この機械のモニターを一覧します (大きさと位置、dpi、プライマリ)\r\n"
    "終了コード: 0 完了、2 引数の誤り、3 入力がないか読めない、4 書き込めないか設定できない\r\n";

// The ways the render command ends, as the process's exit code.
enum class RenderExit : int { Done = 0, BadArguments = 2, InputMissing = 3, OutputFailed = 4 };

struct RenderRequest {
  std::string table;               // the ".qlm" file
  std::optional<std::string> out;  // the bitmap to write; nothing: the wallpaper file
  bool set = false;                // install it as the wallpaper
  std::optional<Point> at;         // the table's corner; nothing: from the editor's saved position
  std::optional<std::string> layout;  // monitors given by hand ("WxH@X,Y;..."); `out` is then a folder
  bool operator==(const RenderRequest&) const = default;
};

struct CommandLine {
  enum class Kind { Windows, Usage, Monitors, Render, Refresh, Watch, Autostart, Bad };
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
