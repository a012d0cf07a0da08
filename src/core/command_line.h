#pragma once
// The program's command line: no arguments start the windows; "/render" re-renders a saved table into
// the wallpaper bitmap with no window at all; "/monitors" lists the display's monitors; "/?" asks for
// the usage.
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

inline constexpr std::string_view kUsageText =
    "Quelm_Rask.exe /render <table.qlm> [/out <file.bmp>] [/set] [/at <x>,<y>]\r\n"
    "Quelm_Rask.exe /render <table.qlm> /layout \"WxH@X,Y[;WxH@X,Y...]\" /out <folder>\\\r\n"
    "Quelm_Rask.exe /refresh\r\n"
    "Quelm_Rask.exe /watch\r\n"
    "Quelm_Rask.exe /monitors\r\n"
    "  /render <table.qlm>  draws the saved table over the background of Quelm_Rask.ini\r\n"
    "  /out <file.bmp>      writes the bitmap there instead of the wallpaper file (with several\r\n"
    "                       monitors: the whole virtual screen)\r\n"
    "  /set                 installs the bitmap as the desktop wallpaper (each monitor its own)\r\n"
    "  /at <x>,<y>          the table's top-left corner in virtual-screen pixels, negative left of\r\n"
    "                       or above the primary monitor (default: where the editor was last closed)\r\n"
    "  /layout <monitors>   renders for these monitors instead of this machine's, the first the\r\n"
    "                       primary; writes monitor1.bmp ... and span.bmp into the /out folder and\r\n"
    "                       installs nothing\r\n"
    "  /monitors            lists this machine's monitors: size at position, dpi, the primary\r\n"
    "  /refresh             makes the last wallpaper installed again for the display as it is now\r\n"
    "  /watch               stays resident and does /refresh after display changes\r\n"
    "Exit codes: 0 done, 2 bad arguments, 3 input missing or unreadable, 4 bitmap not written or not\r\n"
    "installed.\r\n";

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
