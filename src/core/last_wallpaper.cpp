// The remembered last wallpaper: its text file and the job that makes it again.
#include "core/last_wallpaper.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "core/cp932.h"

namespace qr {

namespace {

constexpr std::string_view kFirstLine = "Quelm_Rask last wallpaper 1";
constexpr size_t kMaxMonitors = 16;
constexpr size_t kMaxTextBytes = 1u << 16;  // escaped: a long path or a cell's text
constexpr size_t kMaxInstalled = kMaxMonitors;

// ---- Writing: one field a line, "key<TAB>value<TAB>value...", texts escaped.

std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Number(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
  return std::string(buffer, result.ptr);
}

class Writer {
 public:
  template <typename... Fields>
  void Line(std::string_view key, const Fields&... fields) {
    text_ += key;
    ((text_ += '\t', text_ += Field(fields)), ...);
    text_ += "\r\n";
  }
  std::string Text() && { return std::move(text_); }

 private:
  static std::string Field(const std::string& text) { return Escaped(text); }
  static std::string Field(const char* text) { return Escaped(text); }
  template <typename T>
  static std::string Field(T number) {
    if constexpr (std::is_floating_point_v<T>)
      return Number(number);
    else
      return std::to_string(number);
  }
  std::string text_;
};

// ---- Reading.

std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\':
        out += '\\';
        break;
      case 't':
        out += '\t';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      default:
        return std::nullopt;
    }
  }
  for (size_t pos = 0; pos < out.size();) {
    const size_t length = Utf8CharLength(out, pos);
    if (length == 0) return std::nullopt;
    pos += length;
  }
  return out;
}

std::vector<std::string_view> Split(std::string_view line, char separator) {
  std::vector<std::string_view> parts;
  for (size_t start = 0;;) {
    const size_t end = line.find(separator, start);
    parts.push_back(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

template <typename T>
std::optional<T> Parsed(std::string_view text, T low, T high) {
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !(value >= low) ||
      !(value <= high))
    return std::nullopt;
  return value;
}

// The fields of one line after its key, each checked as it is taken; any failure marks the whole read bad.
class Fields {
 public:
  explicit Fields(std::vector<std::string_view> fields) : fields_(std::move(fields)) {}
  template <typename T>
  T Int(T low, T high) {
    const auto value = Parsed<T>(Next(), low, high);
    ok_ = ok_ && value.has_value();
    return value.value_or(low);
  }
  double Real(double low, double high) { return Int<double>(low, high); }
  bool Flag() { return Int<int>(0, 1) == 1; }
  std::string Text() {
    const std::string_view raw = Next();
    auto text = raw.size() <= kMaxTextBytes ? Unescaped(raw) : std::nullopt;
    ok_ = ok_ && text.has_value();
    return text.value_or(std::string());
  }
  bool Done() const { return ok_ && next_ == fields_.size(); }

 private:
  std::string_view Next() {
    if (next_ >= fields_.size()) {
      ok_ = false;
      return {};
    }
    return fields_[next_++];
  }
  std::vector<std::string_view> fields_;
  size_t next_ = 0;
  bool ok_ = true;
};

constexpr int32_t kCoordinateLimit = 1 << 20;

bool ReadMonitor(Fields& f, DisplayLayout& layout) {
  MonitorInfo m;
  m.rect = {f.Int(-kCoordinateLimit, kCoordinateLimit), f.Int(-kCoordinateLimit, kCoordinateLimit),
            f.Int<int32_t>(1, 32767), f.Int<int32_t>(1, 32767)};
  m.dpi = f.Int<int32_t>(24, 960);
  m.primary = f.Flag();
  m.deviceId = f.Text();
  if (layout.monitors.size() >= kMaxMonitors) return false;
  layout.monitors.push_back(std::move(m));
  return true;
}

bool ReadCell(Fields& f, JobTable& table) {
  const int row = f.Int(1, kMaxRows), col = f.Int(1, kMaxCols);
  Cell cell;
  cell.foreColor = f.Int<uint32_t>(0, UINT32_MAX);
  cell.backColor = f.Int<uint32_t>(0, UINT32_MAX);
  cell.font.size = f.Real(0.0, 10000.0);
  cell.font.bold = f.Flag();
  cell.font.italic = f.Flag();
  cell.font.name = f.Text();
  cell.text = f.Text();
  if (static_cast<size_t>(row) > table.cells.size()) return false;
  table.cells[static_cast<size_t>(row - 1)][static_cast<size_t>(col - 1)] = std::move(cell);
  return true;
}

// One line into `last`; false for an unknown or repeated key or a malformed value.
bool ReadLine(std::string_view key, Fields& f, LastWallpaper& last, std::map<std::string, int>& seen) {
  const bool repeatable = key == "monitor" || key == "rendered_monitor" || key == "cell" ||
                          key == "installed" || key == "installed_stamp" || key == "wallpaper";
  if (!repeatable && seen[std::string(key)]++ > 0) return false;
  if (key == "background") {
    last.background.kind = static_cast<BackgroundKind>(f.Int<int16_t>(0, 2));
    last.background.placement = static_cast<Placement>(f.Int<int16_t>(-1, 2));
    last.background.file = f.Text();
  } else if (key == "wallpaper_style") {
    last.background.wallpaperStyle = f.Int<int16_t>(-1, 4);
  } else if (key == "wallpaper") {
    if (last.background.monitorWallpapers.size() >= kMaxMonitors) return false;
    last.background.monitorWallpapers.push_back(f.Text());
  } else if (key == "transparent") {
    last.transparent = f.Flag();
  } else if (key == "effect") {
    last.textEffect = static_cast<TextEffect>(f.Int<int16_t>(0, 3));
    last.panelAlpha = f.Int<int16_t>(25, 75);
    if (PanelAlphaOf(last.panelAlpha) != last.panelAlpha) return false;
  } else if (key == "dpi") {
    last.dpi = f.Int<int32_t>(24, 960);
  } else if (key == "place") {
    last.monitor = f.Int<size_t>(0, kMaxMonitors - 1);
    last.offset = {f.Int(-kCoordinateLimit, kCoordinateLimit), f.Int(-kCoordinateLimit, kCoordinateLimit)};
  } else if (key == "display") {
    last.madeFor.systemDpi = f.Int<int32_t>(24, 960);
  } else if (key == "monitor") {
    if (!ReadMonitor(f, last.madeFor)) return false;
  } else if (key == "rendered") {
    last.renderedFor.systemDpi = f.Int<int32_t>(24, 960);
  } else if (key == "rendered_monitor") {
    if (!ReadMonitor(f, last.renderedFor)) return false;
  } else if (key == "made") {
    last.madeAt = f.Int<uint64_t>(0, UINT64_MAX);
  } else if (key == "installed") {
    if (last.installed.size() >= kMaxInstalled) return false;
    last.installed.push_back(f.Text());
  } else if (key == "installed_stamp") {
    if (last.installedStamps.size() >= kMaxInstalled) return false;
    const uint64_t size = f.Int<uint64_t>(0, UINT64_MAX);
    last.installedStamps.push_back({size, f.Int<uint64_t>(0, UINT64_MAX)});
  } else if (key == "table") {
    JobTable& t = last.table;
    t.rows = f.Int<int16_t>(1, kMaxRows);
    t.cols = f.Int<int16_t>(1, kMaxCols);
    for (int c = 1; c <= kMaxCols; ++c) t.widths[static_cast<size_t>(c)] = f.Int<int16_t>(0, 400);
    t.cells.assign(static_cast<size_t>(t.rows), TableRow{});
  } else if (key == "end") {
    // nothing follows it (checked by the caller)
  } else if (key == "cell") {
    if (!seen.count("table") || !ReadCell(f, last.table)) return false;
  } else {
    return false;
  }
  return f.Done();
}

size_t MonitorOfCorner(const DisplayLayout& layout, Point corner) {
  return NearestMonitor(layout, {corner.x, corner.y, 1, 1});
}

}  // namespace

LastWallpaper LastWallpaperOf(const WallpaperJob& job, std::vector<std::string> installed, uint64_t madeAt) {
  LastWallpaper last;
  last.background = job.background;
  last.background.desktopColour = 0;
  last.table = job.table;
  last.transparent = job.transparent;
  last.textEffect = job.textEffect;
  last.panelAlpha = job.panelAlpha;
  last.dpi = job.dpi;
  last.madeFor = job.display;
  last.renderedFor = job.display;
  if (!job.display.monitors.empty()) {
    last.monitor = MonitorOfCorner(job.display, job.tableAt);
    const Rect area = job.display.monitors[last.monitor].rect;
    last.offset = {job.tableAt.x - area.x, job.tableAt.y - area.y};
  } else {
    last.offset = job.tableAt;
  }
  last.installed = std::move(installed);
  last.madeAt = madeAt;
  return last;
}

std::string EncodeLastWallpaper(const LastWallpaper& last) {
  Writer w;
  const JobBackground& b = last.background;
  w.Line("background", static_cast<int>(b.kind), static_cast<int>(b.placement), b.file);
  w.Line("wallpaper_style", b.wallpaperStyle);
  for (const std::string& file : b.monitorWallpapers) w.Line("wallpaper", file);
  w.Line("transparent", last.transparent ? 1 : 0);
  w.Line("effect", static_cast<int>(last.textEffect), last.panelAlpha);
  w.Line("dpi", last.dpi);
  w.Line("place", last.monitor, last.offset.x, last.offset.y);
  w.Line("display", last.madeFor.systemDpi);
  for (const MonitorInfo& m : last.madeFor.monitors)
    w.Line("monitor", m.rect.x, m.rect.y, m.rect.w, m.rect.h, m.dpi, m.primary ? 1 : 0, m.deviceId);
  w.Line("rendered", last.renderedFor.systemDpi);
  for (const MonitorInfo& m : last.renderedFor.monitors)
    w.Line("rendered_monitor", m.rect.x, m.rect.y, m.rect.w, m.rect.h, m.dpi, m.primary ? 1 : 0, m.deviceId);
  w.Line("made", last.madeAt);
  for (const std::string& file : last.installed) w.Line("installed", file);
  for (const FileStamp& stamp : last.installedStamps) w.Line("installed_stamp", stamp.size, stamp.written);
  const JobTable& t = last.table;
  w.Line("table", t.rows, t.cols, t.widths[1], t.widths[2], t.widths[3], t.widths[4], t.widths[5]);
  for (int r = 1; r <= t.rows; ++r)
    for (int c = 1; c <= kMaxCols; ++c)
      if (const Cell* cell = t.At(r, c))
        w.Line("cell", r, c, cell->foreColor, cell->backColor, cell->font.size, cell->font.bold ? 1 : 0,
               cell->font.italic ? 1 : 0, cell->font.name, cell->text);
  w.Line("end");  // a file cut anywhere lacks it
  return std::string(kFirstLine) + "\r\n" + std::move(w).Text();
}

std::optional<LastWallpaper> DecodeLastWallpaper(std::string_view bytes) {
  if (bytes.size() > kMaxLastWallpaperBytes) return std::nullopt;
  std::vector<std::string_view> lines = Split(bytes, '\n');
  if (lines.empty() || !lines.back().empty()) return std::nullopt;  // every line ends
  lines.pop_back();
  LastWallpaper last;
  std::map<std::string, int> seen;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (line.empty() || line.back() != '\r') return std::nullopt;
    line.remove_suffix(1);
    if (i == 0) {
      if (line != kFirstLine) return std::nullopt;
      continue;
    }
    if (seen.count("end")) return std::nullopt;
    std::vector<std::string_view> parts = Split(line, '\t');
    const std::string_view key = parts.front();
    parts.erase(parts.begin());
    Fields fields(std::move(parts));
    if (!ReadLine(key, fields, last, seen)) return std::nullopt;
  }
  for (const char* required :
       {"background", "transparent", "dpi", "place", "display", "rendered", "made", "table", "end"})
    if (!seen.count(required)) return std::nullopt;
  if (last.madeFor.monitors.empty() || last.renderedFor.monitors.empty() ||
      last.monitor >= last.madeFor.monitors.size())
    return std::nullopt;
  return last;
}

TablePlace RefreshedTablePlace(const LastWallpaper& last, const DisplayLayout& now) {
  const MonitorInfo& before = last.madeFor.monitors.at(last.monitor);
  if (now == last.madeFor) return {{before.rect.x + last.offset.x, before.rect.y + last.offset.y}, last.dpi};
  if (now.monitors.empty()) return {last.offset, now.systemDpi};
  // The same monitor by the system's name for it; a layout given by hand has no names: by number.
  size_t index = now.PrimaryIndex();
  for (size_t i = 0; i < now.monitors.size(); ++i)
    if (before.deviceId.empty() ? i == last.monitor : now.monitors[i].deviceId == before.deviceId) index = i;
  const MonitorInfo& monitor = now.monitors[index];
  const Point corner{monitor.rect.x + last.offset.x, monitor.rect.y + last.offset.y};
  return {CornerKeepingTableInside(corner, last.table, monitor.dpi, last.transparent, monitor.rect),
          monitor.dpi};
}

WallpaperJob JobFromLastWallpaper(const LastWallpaper& last, const DisplayLayout& now,
                                  uint32_t desktopColour) {
  const TablePlace place = RefreshedTablePlace(last, now);
  JobInputs inputs;
  inputs.choices = {last.background.kind, last.background.file, last.background.placement,
                    last.transparent,     last.textEffect,      last.panelAlpha};
  inputs.monitorWallpapers = last.background.monitorWallpapers;
  inputs.table = last.table;
  inputs.display = now;
  inputs.desktopColour = desktopColour;
  inputs.at = place.corner;
  inputs.dpi = place.dpi;
  WallpaperJob job = BuildWallpaperJob(inputs);
  job.background.wallpaperStyle = last.background.wallpaperStyle;
  return job;
}

}  // namespace qr
