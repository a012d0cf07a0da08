// The display as one value: monitors, their rectangles and dpi, layouts given by hand.
#include "core/display_layout.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace qr {

namespace {

constexpr double kTwipsPerInch = 1440.0;

const MonitorInfo& DefaultMonitor() {
  static const MonitorInfo monitor{{0, 0, 1024, 768}, kDesignPixelsPerInch, true, {}};
  return monitor;
}

int64_t Right(const Rect& r) { return int64_t{r.x} + r.w; }
int64_t Bottom(const Rect& r) { return int64_t{r.y} + r.h; }

int64_t OverlapArea(const Rect& a, const Rect& b) {
  const int64_t w = std::min(Right(a), Right(b)) - std::max<int64_t>(a.x, b.x);
  const int64_t h = std::min(Bottom(a), Bottom(b)) - std::max<int64_t>(a.y, b.y);
  return w > 0 && h > 0 ? w * h : 0;
}

// How far apart two rectangles are: the larger of the horizontal and vertical gaps (0 when they touch).
int64_t Gap(const Rect& a, const Rect& b) {
  const int64_t gapX = std::max<int64_t>({0, int64_t{b.x} - Right(a), int64_t{a.x} - Right(b)});
  const int64_t gapY = std::max<int64_t>({0, int64_t{b.y} - Bottom(a), int64_t{a.y} - Bottom(b)});
  return std::max(gapX, gapY);
}

// Reads a whole number from the front of `text`, leaving the rest.
std::optional<int32_t> TakeInt(std::string_view& text) {
  int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end == text.data()) return std::nullopt;
  text.remove_prefix(static_cast<size_t>(end - text.data()));
  return value;
}

bool TakeSeparator(std::string_view& text, std::string_view separator) {
  if (text.substr(0, separator.size()) != separator) return false;
  text.remove_prefix(separator.size());
  return true;
}

std::optional<Rect> ParseMonitor(std::string_view text) {
  const auto w = TakeInt(text);
  if (!w || !(TakeSeparator(text, "x") || TakeSeparator(text, "X") || TakeSeparator(text, "×"))) return {};
  const auto h = TakeInt(text);
  if (!h || !TakeSeparator(text, "@")) return {};
  const auto x = TakeInt(text);
  if (!x || !TakeSeparator(text, ",")) return {};
  const auto y = TakeInt(text);
  if (!y || !text.empty()) return {};
  return Rect{*x, *y, *w, *h};
}

bool SizeFits(const Rect& r) {
  return r.w > 0 && r.h > 0 && r.w <= kLargestLayoutSide && r.h <= kLargestLayoutSide;
}

// Why an empty part between (or after) the ";" is not a monitor.
std::string EmptyPartError(size_t number, bool last) {
  if (number == 1 && last) return "モニターを WxH@X,Y で指定してください";
  if (last) return "レイアウトの最後に余分な「;」があります: 最後の「;」を消してください";
  return std::to_string(number) + " 台目のモニターがありません: 「;」が続いているか、先頭にあります";
}

std::optional<std::vector<Rect>> ParseMonitors(std::string_view text, std::string& error) {
  std::vector<Rect> rects;
  for (bool more = true; more;) {
    const size_t end = text.find(';');
    const std::string_view part = text.substr(0, end);
    more = end != std::string_view::npos;
    const size_t number = rects.size() + 1;
    if (part.empty()) {
      error = EmptyPartError(number, !more);
      return std::nullopt;
    }
    const std::optional<Rect> rect = ParseMonitor(part);
    if (!rect) {
      error = "モニターの指定が正しくありません（幅x高さ@X,Y）: \"" + std::string(part) + "\"";
      return std::nullopt;
    }
    if (!SizeFits(*rect)) {
      error = std::to_string(number) + " 台目のモニターの幅と高さは 1～" +
              std::to_string(kLargestLayoutSide) + " ピクセルにしてください: \"" + std::string(part) + "\"";
      return std::nullopt;
    }
    rects.push_back(*rect);
    if (more) text.remove_prefix(end + 1);
  }
  return rects;
}

// The monitors moved so that the first lies at 0,0; nothing when the rectangle around them would be larger
// than a layout may be (computed wide, so that no coordinate given can overflow).
std::optional<std::vector<Rect>> MovedToOrigin(const std::vector<Rect>& rects, std::string& error) {
  const int64_t originX = rects.front().x, originY = rects.front().y;
  int64_t left = 0, top = 0, right = 0, bottom = 0;
  for (const Rect& r : rects) {
    left = std::min(left, r.x - originX);
    top = std::min(top, r.y - originY);
    right = std::max(right, r.x - originX + r.w);
    bottom = std::max(bottom, r.y - originY + r.h);
  }
  if (right - left > kLargestLayoutSide || bottom - top > kLargestLayoutSide) {
    error = "すべてのモニターを囲む仮想画面が " + std::to_string(right - left) + "x" +
            std::to_string(bottom - top) + " ピクセルになります: 幅と高さはそれぞれ " +
            std::to_string(kLargestLayoutSide) + " ピクセルまでです";
    return std::nullopt;
  }
  std::vector<Rect> moved;
  for (const Rect& r : rects)
    moved.push_back({static_cast<int32_t>(r.x - originX), static_cast<int32_t>(r.y - originY), r.w, r.h});
  return moved;
}

}  // namespace

const MonitorInfo& DisplayLayout::Primary() const {
  return monitors.empty() ? DefaultMonitor() : monitors[PrimaryIndex()];
}

size_t DisplayLayout::PrimaryIndex() const {
  const auto it =
      std::find_if(monitors.begin(), monitors.end(), [](const MonitorInfo& m) { return m.primary; });
  return it == monitors.end() ? 0 : static_cast<size_t>(it - monitors.begin());
}

Size DisplayLayout::PrimarySize() const { return {Primary().rect.w, Primary().rect.h}; }

Rect DisplayLayout::VirtualScreen() const {
  if (monitors.empty()) return DefaultMonitor().rect;
  int64_t left = std::numeric_limits<int32_t>::max(), top = left;
  int64_t right = std::numeric_limits<int32_t>::min(), bottom = right;
  for (const MonitorInfo& m : monitors) {
    left = std::min<int64_t>(left, m.rect.x);
    top = std::min<int64_t>(top, m.rect.y);
    right = std::max(right, Right(m.rect));
    bottom = std::max(bottom, Bottom(m.rect));
  }
  return {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right - left),
          static_cast<int32_t>(bottom - top)};
}

double DisplayLayout::TwipsPerPixel() const {
  return kTwipsPerInch / (systemDpi > 0 ? systemDpi : kDesignPixelsPerInch);
}

DisplayLayout SingleMonitorLayout(Size size, int32_t dpi) {
  DisplayLayout layout;
  layout.monitors.push_back({{0, 0, size.w, size.h}, dpi, true, {}});
  layout.systemDpi = dpi;
  return layout;
}

std::optional<DisplayLayout> ParseLayoutSpec(std::string_view text, int32_t dpi, std::string& error) {
  const auto given = ParseMonitors(text, error);
  const auto moved = given ? MovedToOrigin(*given, error) : std::nullopt;
  if (!moved) return std::nullopt;
  DisplayLayout layout;
  layout.systemDpi = dpi;
  for (const Rect& rect : *moved) layout.monitors.push_back({rect, dpi, layout.monitors.empty(), {}});
  for (size_t i = 0; i < layout.monitors.size(); ++i)
    for (size_t j = i + 1; j < layout.monitors.size(); ++j)
      if (OverlapArea(layout.monitors[i].rect, layout.monitors[j].rect) > 0) {
        error = "モニター " + std::to_string(i + 1) + " と " + std::to_string(j + 1) + " が重なっています";
        return std::nullopt;
      }
  return layout;
}

std::string DescribeMonitors(const DisplayLayout& layout) {
  std::string text;
  for (size_t i = 0; i < layout.monitors.size(); ++i) {
    const MonitorInfo& m = layout.monitors[i];
    text += std::to_string(i + 1) + ": " + std::to_string(m.rect.w) + "x" + std::to_string(m.rect.h) +
            " at " + std::to_string(m.rect.x) + "," + std::to_string(m.rect.y) + ", " +
            std::to_string(m.dpi) + " dpi";
    if (m.primary) text += ", primary";
    text += "\r\n";
  }
  return text;
}

std::optional<size_t> MonitorOverlapping(const DisplayLayout& layout, const Rect& r) {
  std::optional<size_t> best;
  int64_t bestArea = 0;
  for (size_t i = 0; i < layout.monitors.size(); ++i) {
    const int64_t area = OverlapArea(layout.monitors[i].rect, r);
    if (area > bestArea) {
      bestArea = area;
      best = i;
    }
  }
  return best;
}

size_t NearestMonitor(const DisplayLayout& layout, const Rect& r) {
  if (const auto overlapping = MonitorOverlapping(layout, r)) return *overlapping;
  size_t best = layout.PrimaryIndex();
  int64_t bestGap = std::numeric_limits<int64_t>::max();
  for (size_t i = 0; i < layout.monitors.size(); ++i) {
    const int64_t gap = Gap(layout.monitors[i].rect, r);
    if (gap < bestGap) {
      bestGap = gap;
      best = i;
    }
  }
  return best;
}

Rect KeepInside(const Rect& r, const Rect& area) {
  auto axis = [](int32_t start, int32_t length, int32_t areaStart, int32_t areaLength) {
    const int64_t latest = int64_t{areaStart} + areaLength - length;
    return static_cast<int32_t>(std::max<int64_t>(areaStart, std::min<int64_t>(start, latest)));
  };
  return {axis(r.x, r.w, area.x, area.w), axis(r.y, r.h, area.y, area.h), r.w, r.h};
}

}  // namespace qr
