#pragma once
// The display seam for tests of several monitors: a second 800 x 600 monitor left of the primary and a
// little lower (virtual-screen rectangle -800,100), in place of the system's display while it lives.
#include <optional>

#include "core/display_layout.h"
#include "win32/display.h"

namespace qr::test {

class TwoMonitors {
 public:
  static constexpr Rect kSecond{-800, 100, 800, 600};
  TwoMonitors() {
    DisplayLayout two = win::CurrentDisplay();
    two.monitors.push_back(MonitorInfo{kSecond, two.systemDpi, false, "\\\\.\\DISPLAY9"});
    win::OverrideDisplay(two);
  }
  TwoMonitors(const TwoMonitors&) = delete;
  TwoMonitors& operator=(const TwoMonitors&) = delete;
  ~TwoMonitors() { win::OverrideDisplay(std::nullopt); }
};

}  // namespace qr::test
