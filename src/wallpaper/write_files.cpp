// The wallpaper's bitmaps written: one file, one per monitor, or the virtual screen (rolled for tiling).
#include "wallpaper/write_files.h"

#include <windows.h>

#include <algorithm>
#include <future>

#include "core/paths.h"
#include "shared/stale_temporaries.h"
#include "wallpaper/render.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/step_times.h"

namespace qr {

namespace {

bool WriteOne(const win::Surface& picture, const std::string& path) {
  return picture.ok() && win::WriteBitmapFile(picture, path);
}

std::string WithSeparator(const std::string& folder) {
  if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder;
  return folder + "\\";
}

// The monitor's bitmap; with `picture`, also kept there (rendered whole, then written).
bool WriteMonitor(const WallpaperJob& job, size_t monitor, const std::string& path, win::Surface* picture) {
  if (!picture) return WriteMonitorBitmap(job, monitor, path);
  *picture = RenderMonitor(job, monitor);
  return WriteOne(*picture, path);
}

std::optional<WallpaperFiles> WritePerMonitor(const WallpaperJob& job, const std::string& path,
                                              bool keepPrimary) {
  WallpaperFiles files;
  files.kind = WallpaperFiles::Kind::PerMonitor;
  for (size_t i = 0; i < job.display.monitors.size(); ++i) {
    const bool primary = i == job.display.PrimaryIndex();
    const std::string file = primary ? path : MonitorBitmapPath(path, i + 1);
    if (!WriteMonitor(job, i, file, primary && keepPrimary ? &files.primary : nullptr)) return std::nullopt;
    files.paths.push_back(file);
  }
  return files;
}

std::optional<WallpaperFiles> WriteSpanned(const WallpaperJob& job, const std::string& path,
                                           bool keepPrimary) {
  WallpaperFiles files;
  files.kind = WallpaperFiles::Kind::Spanned;
  files.spanStyle = win::SpanStyleOfThisSystem();
  if (!WriteSpanFile(job, path, files.spanStyle == win::SpanStyle::TileFromPrimary)) return std::nullopt;
  files.paths.push_back(path);
  if (keepPrimary) files.primary = RenderWallpaper(job);
  return files;
}

constexpr const char* kFreshSuffix = ".new~";  // a file of this run, not yet in place
constexpr const char* kOldSuffix = ".old~";    // a file of the earlier set, until the new one is in place

// The virtual screen's bitmap, band by band from the monitors' bitmap files, in the desktop colour where
// no monitor lies: never more than a band of it in memory. `roll`: each row starts this far into the
// screen and the rows this far down, wrapping around (for tiling from the primary's corner).
bool WriteSpanFromMonitorFiles(const WallpaperJob& job, const std::vector<std::string>& monitorFiles,
                               const std::string& path, Point roll = {}) {
  std::vector<win::BitmapFileRows> sources;
  for (const std::string& file : monitorFiles) {
    auto rows = win::BitmapFileRows::Open(file);
    if (!rows) return false;
    sources.push_back(std::move(*rows));
  }
  const Rect whole = job.display.VirtualScreen();
  const uint32_t colour = job.background.desktopColour;  // 0x00BBGGRR; the file holds B, G, R
  const uint8_t bgr[3] = {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                          static_cast<uint8_t>(colour)};
  std::vector<uint8_t> spanRow(win::BitmapRowBytes(whole.w)), part;
  auto assemble = [&](int y) {  // row y of the virtual screen, from its top
    for (int x = 0; x < whole.w; ++x) std::copy(bgr, bgr + 3, spanRow.data() + static_cast<size_t>(x) * 3);
    for (size_t i = 0; i < sources.size(); ++i) {
      const Rect m = job.display.monitors[i].rect;
      const int row = y - (m.y - whole.y);
      if (row < 0 || row >= m.h) continue;
      part.resize(win::BitmapRowBytes(m.w));
      if (!sources[i].Read(row, 1, part.data(), part.size())) return false;
      std::copy_n(part.data(), static_cast<size_t>(m.w) * 3,
                  spanRow.data() + static_cast<size_t>(m.x - whole.x) * 3);
    }
    return true;
  };
  return win::WriteBitmapFileInBands(
      path, whole.w, whole.h, [&](int top, int count, uint8_t* rows, size_t rowBytes) {
        for (int r = 0; r < count; ++r) {
          if (!assemble((top + r + roll.y) % whole.h)) return false;
          uint8_t* out = rows + static_cast<size_t>(r) * rowBytes;
          const size_t shift = static_cast<size_t>(roll.x) * 3, used = static_cast<size_t>(whole.w) * 3;
          std::copy(spanRow.begin() + static_cast<std::ptrdiff_t>(shift),
                    spanRow.begin() + static_cast<std::ptrdiff_t>(used), out);
          std::copy(spanRow.begin(), spanRow.begin() + static_cast<std::ptrdiff_t>(shift),
                    out + used - shift);
          std::fill(out + used, out + rowBytes, uint8_t{0});
        }
        return true;
      });
}

// The fresh files moved over `finals` (and finals beyond them removed) as one set: the old files step
// aside first and come back if any move fails, so the folder never holds a mixed set.
bool ReplaceAsOneSet(const std::vector<std::string>& fresh, const std::vector<std::string>& finals) {
  std::vector<std::string> asideFrom;
  auto restore = [&](size_t placed) {
    for (size_t i = 0; i < placed; ++i) win::DeletePath(finals[i]);
    for (const std::string& file : asideFrom) win::RenamePath(file + kOldSuffix, file);
    return false;
  };
  for (const std::string& file : finals) {
    if (!win::PathIsPresent(file)) continue;
    if (!win::RenamePath(file, file + kOldSuffix)) return restore(0);
    asideFrom.push_back(file);
  }
  for (size_t i = 0; i < fresh.size(); ++i)
    if (!win::RenamePath(fresh[i], finals[i])) return restore(i);
  for (const std::string& file : asideFrom) win::DeletePath(file + kOldSuffix);
  return true;
}

}  // namespace

bool WriteSpanFile(const WallpaperJob& job, const std::string& path, bool rolled) {
  std::vector<std::string> parts;
  bool written = true;
  for (size_t i = 0; i < job.display.monitors.size() && written; ++i) {
    parts.push_back(path + ".part" + std::to_string(i + 1) + "~");
    written = WriteMonitorBitmap(job, i, parts.back());
  }
  const Rect whole = job.display.VirtualScreen();
  // The tile's pixel (u, v) shows at every virtual point congruent to it: inside the virtual screen, at
  // (u + shift) of the screen's own rows and columns, taken modulo its size.
  const Point roll = rolled && whole.w > 0 && whole.h > 0 ? Point{((-whole.x) % whole.w + whole.w) % whole.w,
                                                                  ((-whole.y) % whole.h + whole.h) % whole.h}
                                                          : Point{};
  written = written && WriteSpanFromMonitorFiles(job, parts, path, roll);
  for (const std::string& part : parts) win::DeletePath(part);
  return written;
}

bool WriteMonitorBitmap(const WallpaperJob& job, size_t monitor, const std::string& path,
                        ComposeTimings* timings) {
  if (monitor >= job.display.monitors.size()) return false;
  const Rect area = job.display.monitors[monitor].rect;
  const BackgroundParts background(job.background, {area.w, area.h}, WallpaperOfMonitor(job, monitor),
                                   timings);
  if (!background.ok()) {
    const win::Surface picture = RenderMonitor(job, monitor, timings);
    return picture.ok() && win::WriteBitmapFile(picture, path);
  }
  win::steps::Mark("background");
  // The table is drawn once, over its own patch of the background, and laid on each band it crosses. It is
  // drawn on a thread of its own while the bands below it are written (the file holds the lowest first).
  const Rect tableArea = TableArea(job, area);
  win::Surface table;
  std::future<void> tableDrawn;
  if (tableArea.w > 0) {
    table = win::Surface(tableArea.w, tableArea.h);
    if (!table.ok()) return false;
    background.Paint(table.dc(), {tableArea.w, tableArea.h}, {tableArea.x, tableArea.y});
    // Deferred (drawn at the first band that needs it) where no thread can be started.
    tableDrawn = std::async(std::launch::async | std::launch::deferred, [&] {
      DrawJobTable(table, job, {area.x, area.y}, {tableArea.x, tableArea.y}, timings);
      GdiFlush();  // the pixels are in the surface before another thread copies them
    });
  }
  bool tableTaken = false;
  return win::WriteBitmapFilePainted(path, area.w, area.h, [&](HDC band, int top, int rows) {
    background.Paint(band, {area.w, rows}, {0, top});
    if (table.ok() && Overlaps(tableArea, {0, top, area.w, rows})) {
      // The drawing's own outcome, taken once: a table that could not be drawn fails the file, which is
      // never written without it.
      if (!tableTaken) {
        tableTaken = true;
        try {
          tableDrawn.get();
        } catch (const std::exception&) {
          return false;
        }
      }
      BitBlt(band, tableArea.x, tableArea.y - top, tableArea.w, tableArea.h, table.dc(), 0, 0, SRCCOPY);
    }
    return true;
  });
}

bool WriteWallpaperBitmap(const WallpaperJob& job, const std::string& path, ComposeTimings* timings) {
  if (job.display.monitors.empty()) return WriteMonitorBitmap(OnPrimaryScreen(job), 0, path, timings);
  return WriteMonitorBitmap(job, job.display.PrimaryIndex(), path, timings);
}

std::string MonitorBitmapPath(const std::string& primaryPath, size_t number) {
  const size_t at = ExtensionDot(primaryPath);
  return primaryPath.substr(0, at) + std::to_string(number) + primaryPath.substr(at);
}

std::optional<WallpaperFiles> WriteWallpaperFiles(const WallpaperJob& job, const std::string& path,
                                                  win::MonitorWallpapers* perMonitor, bool keepPrimary) {
  if (job.display.monitors.size() <= 1) {
    WallpaperFiles files;
    if (keepPrimary) {
      files.primary = RenderWallpaper(job);
      if (!WriteOne(files.primary, path)) return std::nullopt;
    } else if (!WriteWallpaperBitmap(job, path)) {
      return std::nullopt;
    }
    files.paths.push_back(path);
    return files;
  }
  return perMonitor ? WritePerMonitor(job, path, keepPrimary) : WriteSpanned(job, path, keepPrimary);
}

bool WriteLayoutFiles(const WallpaperJob& job, const std::string& folder) {
  RemoveLayoutTemporaries(folder);
  const std::string base = WithSeparator(folder);
  const size_t count = job.display.monitors.size();
  std::vector<std::string> finals;
  for (size_t i = 0; i < count; ++i) finals.push_back(base + "monitor" + std::to_string(i + 1) + ".bmp");
  finals.push_back(base + "span.bmp");
  std::vector<std::string> fresh;
  for (const std::string& file : finals) fresh.push_back(file + kFreshSuffix);
  // One monitor at a time, each picture let go once written; the span is assembled from their files.
  bool written = true;
  for (size_t i = 0; i < count && written; ++i) written = WriteMonitorBitmap(job, i, fresh[i]);
  written = written && WriteSpanFromMonitorFiles(job, {fresh.begin(), fresh.begin() + count}, fresh.back());
  // Monitor files of an earlier run with more monitors would make a mixed set: they go with the old set.
  for (size_t n = count + 1; written && win::PathIsPresent(base + "monitor" + std::to_string(n) + ".bmp");
       ++n)
    finals.push_back(base + "monitor" + std::to_string(n) + ".bmp");
  const bool placed = written && ReplaceAsOneSet(fresh, finals);
  if (!placed)
    for (const std::string& file : fresh) win::DeletePath(file);
  return placed;
}

}  // namespace qr
