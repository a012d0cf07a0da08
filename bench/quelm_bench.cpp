// Times the wallpaper's way from composition to the written bitmap: decode, placement, table and
// write, for two screen sizes and three backgrounds, with a full table. Each case runs in its own
// process so that its peak working set is its own.
#include <windows.h>
// After <windows.h>, which they need:
#include <psapi.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/table_model.h"
#include "startup_bench.h"
#include "wallpaper/composer.h"
#include "wallpaper/job_inputs.h"
#include "wallpaper/render.h"
#include "wallpaper/write_files.h"
#include "win32/bitmap_file.h"
#include "win32/com.h"
#include "win32/display.h"
#include "win32/files.h"
#include "win32/image.h"
#include "win32/surface.h"
#include "win32/text.h"

namespace {

using qr::win::Surface;

struct Screen {
  int w, h;
};
struct Background {
  const char* name;
  const char* file;
  int w, h;
  int16_t placement;
};

constexpr std::array<Screen, 2> kScreens{{{1920, 1080}, {3840, 2160}}};
constexpr std::array<Background, 3> kBackgrounds{
    {{"6000x4000 full screen", "photo_6000x4000.jpg", 6000, 4000, 2},
     {"800x600 centred", "photo_800x600.jpg", 800, 600, 0},
     {"300x200 tiled", "photo_300x200.jpg", 300, 200, 1}}};
constexpr int kRuns = 5;
constexpr int kEffectRuns = 21;

double Now() {
  LARGE_INTEGER counter{}, frequency{};
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Smooth colour gradients with grain, like a photograph: hard work for a JPEG codec.
Surface PhotographLike(int w, int h) {
  Surface s(w, h);
  std::minstd_rand noise(12345);
  GdiFlush();
  for (int y = 0; y < h; ++y) {
    uint32_t* row = s.Bits() + static_cast<size_t>(y) * w;
    const double fy = static_cast<double>(y) / h;
    for (int x = 0; x < w; ++x) {
      const double fx = static_cast<double>(x) / w;
      const int grain = static_cast<int>(noise() % 33) - 16;
      const int r = std::clamp(static_cast<int>(128 + 100 * std::sin(6.0 * fx + 2.0 * fy)) + grain, 0, 255);
      const int g = std::clamp(static_cast<int>(100 + 90 * std::cos(4.0 * fy - 3.0 * fx)) + grain, 0, 255);
      const int b = std::clamp(static_cast<int>(90 + 80 * std::sin(9.0 * fx * fy)) + grain, 0, 255);
      row[x] = (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
    }
  }
  return s;
}

bool MakePictures(const std::string& folder) {
  for (const Background& b : kBackgrounds) {
    const std::string path = folder + "\\" + b.file;
    if (qr::win::ImageFile::Open(path)) continue;
    std::printf("generating %s\n", path.c_str());
    std::fflush(stdout);
    if (!qr::win::WriteJpegFile(PhotographLike(b.w, b.h), path, 0.9f)) return false;
  }
  return true;
}

qr::TableModel FullTable() {
  qr::TableModel table;
  for (int r = 1; r <= qr::kMaxRows; ++r)
    for (int c = 1; c <= qr::kMaxCols; ++c) {
      std::string& text = table.At(r, c).text;
      text = std::string("予定 ");
      text += std::to_string(r);
      text += "-";
      text += std::to_string(c);
      text += " Schedule";
    }
  return table;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

int RunCase(const Screen& screen, const Background& background, const std::string& folder) {
  qr::win::ComApartment com;
  qr::AppState state;
  state.G_Kabe = 1;
  state.Kabe_File = folder + "\\" + background.file;
  state.G_Pos = background.placement;
  state.Trans = 1;
  qr::JobInputs inputs = qr::SystemJobInputs(
      qr::JobChoicesOf(state), qr::JobTableFrom(FullTable(), 34, 5, {0, 120, 120, 120, 120, 120}));
  inputs.display = qr::SingleMonitorLayout({screen.w, screen.h}, qr::kDesignPixelsPerInch);
  inputs.at = qr::Point{100, 100};
  const qr::WallpaperJob job = qr::BuildWallpaperJob(inputs);
  const std::string output = folder + "\\Quelm_Rask_bench.bmp";
  std::vector<double> decode, place, tableMs, write, total;
  double first = 0;  // run 0, as a whole process pays it: fresh memory, codecs not yet touched
  for (int run = 0; run <= kRuns; ++run) {  // run 0 warms the codecs and the file cache up
    qr::ComposeTimings timings;
    const double start = Now();
    if (!qr::WriteWallpaperBitmap(job, output, &timings)) return 3;
    const double end = Now();
    if (run == 0) {
      first = end - start;
      continue;
    }
    decode.push_back(timings.decodeMs);
    place.push_back(timings.placeMs);
    tableMs.push_back(timings.tableMs);
    // The rest: the bands painted (a centred or tiled background; the table meanwhile drawn on a thread of
    // its own) or the table drawn and the whole picture converted, and the file written, flushed and moved.
    write.push_back(end - start - timings.decodeMs - timings.placeMs);
    total.push_back(end - start);
  }
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
  char screenName[32];
  std::snprintf(screenName, sizeof(screenName), "%dx%d", screen.w, screen.h);
  std::printf("%-10s %-22s %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %9.1f\n", screenName, background.name,
              Median(decode), Median(place), Median(tableMs), Median(write), Median(total), first,
              static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0));
  qr::win::DeletePath(output);
  return 0;
}

// The full table alone over a photograph-like 1920 x 1080 picture with each text effect: what an effect
// adds to the table's drawing. The effects take turns within each run, so that a busy machine slows
// them alike; the first run warms the fonts up.
int RunEffects() {
  struct Effect {
    const char* name;
    qr::TextEffect effect;
  };
  constexpr std::array<Effect, 4> kEffects{{{"none", qr::TextEffect::None},
                                            {"outline", qr::TextEffect::Outline},
                                            {"shadow", qr::TextEffect::Shadow},
                                            {"panel 50 %", qr::TextEffect::Panel}}};
  const Surface picture = PhotographLike(1920, 1080);
  Surface target(1920, 1080);
  if (!picture.ok() || !target.ok()) return 2;
  const qr::JobTable table = qr::JobTableFrom(FullTable(), 34, 5, {0, 120, 120, 120, 120, 120});
  std::array<std::vector<double>, kEffects.size()> times;
  for (int run = 0; run <= kEffectRuns; ++run)
    for (size_t e = 0; e < kEffects.size(); ++e) {
      BitBlt(target.dc(), 0, 0, 1920, 1080, picture.dc(), 0, 0, SRCCOPY);
      GdiFlush();
      qr::ComposeTimings timings;
      qr::DrawTransparentTable(target, table, {100, 100}, 96, &timings, {kEffects[e].effect, 50});
      if (run > 0) times[e].push_back(timings.tableMs);
    }
  std::printf("\nThe table's text effects, full 34 x 5 table over 1920x1080; median of %d runs, ms\n",
              kEffectRuns);
  const double none = Median(times[0]);
  for (size_t e = 0; e < kEffects.size(); ++e) {
    const double ms = Median(times[e]);
    std::printf("%-12s %8.2f  %+6.1f %%\n", kEffects[e].name, ms, none > 0 ? (ms / none - 1) * 100 : 0.0);
  }
  return 0;
}

std::string BenchFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
  std::string folder = qr::win::Utf8(std::wstring_view(buffer, n)) + "quelm_bench";
  CreateDirectoryW(qr::win::Wide(folder).c_str(), nullptr);
  return folder;
}

// Runs this program again for one case and waits for it.
bool RunChild(size_t screen, size_t background, const std::string& folder) {
  std::wstring command = L"\"" + qr::win::Wide(qr::win::ExecutablePath()) + L"\" --case " +
                         std::to_wstring(screen) + L" " + std::to_wstring(background) + L" \"" +
                         qr::win::Wide(folder) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code == 0;
}

// Keeps Wine's desktop up until standard input ends. Wine closes its desktop a second after the last
// program using it ends and the next one waits for it to be set up again (a fifth of a second here),
// which a Windows session, whose desktop is always there, never does.
int HoldDesktop() {
  GetDesktopWindow();  // joins the desktop
  std::printf("holding\n");
  std::fflush(stdout);
  while (std::getchar() != EOF) {
  }
  return 0;
}

// The disk's part of writing a bitmap: `bytes` zero bytes written plainly (1 MB at a time, as the bitmap
// writer does) to a new file in `folder`, flushed and closed, `runs` times after one more; prints the
// median.
int WriteFloor(size_t bytes, int runs, const std::string& folder) {
  const std::wstring path = qr::win::ApiPath(folder + "\\write_floor.bin");
  const std::string chunk(size_t{1} << 20, '\0');
  std::vector<double> times;
  for (int run = 0; run <= runs; ++run) {
    const double start = Now();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    bool ok = true;
    for (size_t left = bytes; ok && left > 0;) {
      const DWORD part = static_cast<DWORD>(std::min(left, chunk.size()));
      DWORD written = 0;
      ok = WriteFile(file, chunk.data(), part, &written, nullptr) && written == part;
      left -= part;
    }
    ok = FlushFileBuffers(file) && ok;
    CloseHandle(file);
    if (!ok) return 1;
    if (run > 0) times.push_back(Now() - start);
  }
  DeleteFileW(path.c_str());
  std::printf("plain write of %zu bytes, median of %d: %.2f ms\n", bytes, runs, Median(times));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 5 && std::wstring(argv[1]) == L"--startup")
    return qr::bench::RunStartup(qr::win::Utf8(argv[2]), std::wcstol(argv[3], nullptr, 10),
                                 std::wcstol(argv[4], nullptr, 10));
  if (argc == 2 && std::wstring(argv[1]) == L"--hold-desktop") return HoldDesktop();
  if (argc == 2 && std::wstring(argv[1]) == L"--effects") return RunEffects();
  if (argc == 5 && std::wstring(argv[1]) == L"--write-floor")
    return WriteFloor(std::wcstoul(argv[2], nullptr, 10), std::wcstol(argv[3], nullptr, 10),
                      qr::win::Utf8(argv[4]));
  if (argc == 3 && std::wstring(argv[1]) == L"--write-table")
    return qr::bench::WriteBenchTable(qr::win::Utf8(argv[2])) ? 0 : 1;
  if (argc == 3 && std::wstring(argv[1]) == L"--table-file")
    return qr::bench::RunTableFile(BenchFolder(), std::wcstol(argv[2], nullptr, 10));
  if (argc == 5 && std::wstring(argv[1]) == L"--case") {
    const size_t screen = std::wcstoul(argv[2], nullptr, 10);
    const size_t background = std::wcstoul(argv[3], nullptr, 10);
    if (screen >= kScreens.size() || background >= kBackgrounds.size()) return 1;
    return RunCase(kScreens[screen], kBackgrounds[background], qr::win::Utf8(argv[4]));
  }
  const std::string folder = BenchFolder();
  {
    qr::win::ComApartment com;
    if (!MakePictures(folder)) {
      std::printf("could not write the test pictures into %s\n", folder.c_str());
      return 1;
    }
  }
  std::printf(
      "Compose and write the wallpaper bitmap as /render does, full 34 x 5 table; median of %d runs after "
      "the "
      "first, ms (write: the rest of the total, the table's drawing included; a centred or tiled background "
      "is "
      "painted band by band as it is written, the table meanwhile on a thread of its own); the first run's "
      "total; peak working set, MB\n",
      kRuns);
  std::printf("%-10s %-22s %8s %8s %8s %8s %8s %8s %9s\n", "screen", "background", "decode", "place", "table",
              "write", "total", "first", "peak WS");
  std::fflush(stdout);
  int failures = 0;
  for (size_t s = 0; s < kScreens.size(); ++s)
    for (size_t b = 0; b < kBackgrounds.size(); ++b) {
      if (!RunChild(s, b, folder)) {
        std::printf("%dx%d %s: failed\n", kScreens[s].w, kScreens[s].h, kBackgrounds[b].name);
        ++failures;
      }
      std::fflush(stdout);
    }
  if (RunEffects() != 0) ++failures;
  return failures == 0 ? 0 : 1;
}
