// A layout given by hand over any text: an accepted one has its primary first, at 0,0, no two monitors
// overlapping, everything within the stated bounds, and its description, written back as a layout, gives
// the same layout again.
#include <cstdio>
#include <string>

#include "core/display_layout.h"
#include "fuzz_check.h"

using namespace qr;

namespace {

// The lines of DescribeMonitors as "WxH@X,Y;...", checking each line's number and the primary mark.
std::string LayoutFromDescription(const std::string& description, size_t count) {
  std::string spec;
  size_t start = 0;
  for (size_t i = 0; i < count; ++i) {
    const size_t end = description.find("\r\n", start);
    FUZZ_CHECK(end != std::string::npos);
    const std::string line = description.substr(start, end - start);
    start = end + 2;
    unsigned number = 0;
    int w = 0, h = 0, x = 0, y = 0, dpi = 0;
    FUZZ_CHECK(std::sscanf(line.c_str(), "%u: %dx%d at %d,%d, %d dpi", &number, &w, &h, &x, &y, &dpi) == 6);
    FUZZ_CHECK(number == i + 1);
    FUZZ_CHECK((line.find(", primary") != std::string::npos) == (i == 0));
    if (!spec.empty()) spec += ';';
    spec += std::to_string(w) + "x" + std::to_string(h) + "@" + std::to_string(x) + "," + std::to_string(y);
  }
  FUZZ_CHECK(start == description.size());
  return spec;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  const auto layout = ParseLayoutSpec(fuzz::Bytes(data, size), 120, error);
  if (!layout) {
    FUZZ_CHECK(!error.empty());
    return 0;
  }
  const auto& monitors = layout->monitors;
  FUZZ_CHECK(!monitors.empty());
  FUZZ_CHECK(monitors[0].primary && monitors[0].rect.x == 0 && monitors[0].rect.y == 0);
  FUZZ_CHECK(layout->PrimaryIndex() == 0);
  const Rect whole = layout->VirtualScreen();
  FUZZ_CHECK(whole.w <= kLargestLayoutSide && whole.h <= kLargestLayoutSide);
  for (size_t i = 0; i < monitors.size(); ++i) {
    const Rect& a = monitors[i].rect;
    FUZZ_CHECK(a.w > 0 && a.h > 0);
    FUZZ_CHECK(i == 0 || !monitors[i].primary);
    for (size_t j = i + 1; j < monitors.size(); ++j) {
      const Rect& b = monitors[j].rect;
      const bool apart = int64_t{a.x} + a.w <= b.x || int64_t{b.x} + b.w <= a.x ||
                         int64_t{a.y} + a.h <= b.y || int64_t{b.y} + b.h <= a.y;
      FUZZ_CHECK(apart);
    }
  }
  const std::string spec = LayoutFromDescription(DescribeMonitors(*layout), monitors.size());
  const auto again = ParseLayoutSpec(spec, 120, error);
  FUZZ_CHECK(again && *again == *layout);
  return 0;
}
