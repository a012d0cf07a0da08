#pragma once
// The display as one value: the monitors, each with its rectangle in virtual-screen pixels (the primary's
// top-left corner is 0,0; others may lie left of or above it, at negative coordinates), its resolution,
// whether it is the primary, and the system's name for it. The Win32 side reads it in one place
// (win32/display.h); every screen fact the program uses (screen size, dots per inch, twips per pixel, the
// virtual screen) is taken from it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/geometry.h"

namespace qr {

struct MonitorInfo {
  Rect rect;                           // virtual-screen pixels
  int32_t dpi = kDesignPixelsPerInch;  // the monitor's resolution (the session's where it has no own)
  bool primary = false;
  std::string deviceId;  // e.g. "\\.\DISPLAY1"; empty for a layout given by hand
  bool operator==(const MonitorInfo&) const = default;
};

struct DisplayLayout {
  std::vector<MonitorInfo> monitors;  // the primary first
  // The session's logical resolution: windows' own positions in twips use 1440 / systemDpi.
  int32_t systemDpi = kDesignPixelsPerInch;

  // The primary monitor (the first when none is marked); a 1024 x 768 screen for an empty layout.
  const MonitorInfo& Primary() const;
  size_t PrimaryIndex() const;
  Size PrimarySize() const;
  // The rectangle that holds every monitor.
  Rect VirtualScreen() const;
  double TwipsPerPixel() const;
  bool operator==(const DisplayLayout&) const = default;
};

// One monitor of `size` at 0,0, the primary.
DisplayLayout SingleMonitorLayout(Size size, int32_t dpi = kDesignPixelsPerInch);

// What a layout given by hand may hold: each monitor at most this many pixels either way, and the virtual
// screen (the rectangle around all of them, which span.bmp covers) no larger either way, so that every
// coordinate after the move of the primary to 0,0 lies within +-kLargestLayoutSide and the whole screen
// fits one bitmap file.
inline constexpr int32_t kLargestLayoutSide = 32767;

// A layout written as "WxH@X,Y[;WxH@X,Y...]" ("×" may stand for "x"); the first monitor is the primary
// and is moved to 0,0 with the others keeping their place relative to it. Every monitor gets `dpi`.
// Nothing, with `error` saying why (in Japanese, naming the monitor by its number), for a malformed text,
// an empty part (a stray ";"), a monitor without area, monitors that overlap, or a monitor or virtual
// screen beyond kLargestLayoutSide. The bounds are checked after the move, so they do not depend on the
// order of the monitors, and the lines of DescribeMonitors, written back as a layout, give it again.
std::optional<DisplayLayout> ParseLayoutSpec(std::string_view text, int32_t dpi, std::string& error);

// One line per monitor: "1: 1920x1080 at 0,0, 96 dpi, primary" (lines end in CR LF).
std::string DescribeMonitors(const DisplayLayout& layout);

// The monitor a rectangle lies on as the system decides it: the one it overlaps most, or, when it
// overlaps none, nothing.
std::optional<size_t> MonitorOverlapping(const DisplayLayout& layout, const Rect& r);
// The monitor it overlaps most, or else the nearest one (by the distance between the edges).
size_t NearestMonitor(const DisplayLayout& layout, const Rect& r);

// `r` moved (not resized) as little as possible so that it lies inside `area`; where it is larger than
// the area, its top-left corner is kept at the area's.
Rect KeepInside(const Rect& r, const Rect& area);

}  // namespace qr
