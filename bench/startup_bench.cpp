#include "startup_bench.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/list_file.h"
#include "core/paths.h"
#include "core/table_model.h"
#include "core/table_record.h"
#include "win32/files.h"
#include "win32/text.h"

namespace qr::bench {

namespace {

// Each start waits this long after the previous program ended and the list file was written. Wine's
// server and desktop finish a program's end (its windows, its display connection) after the program has
// gone, and a start that overlaps that work took up to twice as long in its loader alone: the start
// after the quickly closed empty run looked slower than the one after the 1,000-entry run, which spends
// its close filling and saving the list. A user's start follows no such end.
constexpr DWORD kSettleMs = 300;

double Now() {
  LARGE_INTEGER counter{}, frequency{};
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// Milliseconds from creating the process until its main window is shown (polled every millisecond);
// the window is then closed like a click on its close mark. Negative on failure.
double TimeOneStart(const std::string& exe) {
  std::wstring command = L"\"" + win::Wide(exe) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const double start = Now();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return -1;
  // The window is created hidden, loaded (list included) and then shown.
  HWND window = nullptr;
  while (Now() - start < 30000) {
    window = FindWindowW(L"Quelm_Rask_M", nullptr);
    if (window && IsWindowVisible(window)) break;
    Sleep(1);
  }
  const double ready = Now();
  const bool shown = window && IsWindowVisible(window);
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return shown ? ready - start : -1;
}

bool Present(const std::string& path) {
  return GetFileAttributesW(win::ApiPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteSmallFile(const std::string& path) {
  HANDLE file = CreateFileW(win::ApiPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, "BM", 2, &written, nullptr) && written == 2;
  CloseHandle(file);
  return ok;
}

// `count` small files named in a list file beside the program.
bool WriteList(const std::string& folder, int count) {
  const std::string files = folder + "\\list_files";
  CreateDirectoryW(win::ApiPath(files).c_str(), nullptr);
  std::vector<std::string> entries;
  for (int i = 0; i < count; ++i) {
    const std::string path = files + "\\壁紙_" + std::to_string(i) + "_wallpaper.bmp";
    if (!Present(path) && !WriteSmallFile(path)) return false;
    entries.push_back(path);
  }
  return win::ReplaceFileContents(folder + "\\" + std::string(kListFileName), EncodeListFile(entries));
}

}  // namespace

int RunStartup(const std::string& exe, int entries, int runs) {
  const std::string folder = Get_Folder(exe);
  const std::string list = folder + "\\" + std::string(kListFileName);
  std::vector<double> empty, full;
  for (int run = 0; run <= runs; ++run) {  // run 0 warms the file cache and the loader up
    // Every other round starts with the long list: over 16 rounds the second start of a round took 5 %
    // longer than the first, whichever list it had, and the order must not favour either side.
    const bool fullFirst = run % 2 == 1;
    for (const bool filled : {fullFirst, !fullFirst}) {
      if (!(filled ? WriteList(folder, entries) : win::ReplaceFileContents(list, ""))) return 1;
      Sleep(kSettleMs);
      const double ms = TimeOneStart(exe);
      if (ms < 0) {
        std::printf("the main window did not come up\n");
        return 1;
      }
      if (run > 0) (filled ? full : empty).push_back(ms);
    }
  }
  // The ratio is each round's pair of starts, a moment apart, taken together: this machine's speed
  // drifts by more than the target's margin from one second to the next, and a pair shares its moment.
  std::vector<double> ratios;
  for (size_t i = 0; i < full.size(); ++i) ratios.push_back(full[i] / empty[i]);
  std::printf(
      "main window start-up, median of %d: empty list %.0f ms, %d entries %.0f ms, ratio %.3f "
      "(median of the rounds' ratios; of the medians %.3f)\n",
      runs, Median(empty), entries, Median(full), Median(ratios), Median(full) / Median(empty));
  return 0;
}

TableModel FullBenchTable() {
  TableModel table;
  for (int r = 1; r <= kMaxRows; ++r)
    for (int c = 1; c <= kMaxCols; ++c)
      table.At(r, c).text = "予定 " + std::to_string(r) + "-" + std::to_string(c) + " Schedule";
  return table;
}

bool WriteBenchTable(const std::string& path) {
  const ColumnWidths widths{0, 120, 120, 120, 120, 120};
  return win::ReplaceFileContents(path, EncodeTableFile(FullBenchTable(), kMaxRows, kMaxCols, widths));
}

int RunTableFile(const std::string& folder, int runs) {
  const std::string path = folder + "\\bench_table.qlm";
  const ColumnWidths widths{0, 120, 120, 120, 120, 120};
  const TableModel table = FullBenchTable();
  std::vector<double> load, save;
  for (int run = 0; run <= runs; ++run) {
    const double start = Now();
    if (!win::ReplaceFileContents(path, EncodeTableFile(table, kMaxRows, kMaxCols, widths))) return 1;
    const double saved = Now();
    const auto bytes = win::ReadFileBytes(path);
    const auto decoded = bytes ? DecodeTableFile(*bytes) : std::nullopt;
    const double loaded = Now();
    if (!decoded || decoded->rows != kMaxRows) return 1;
    if (run == 0) continue;
    save.push_back(saved - start);
    load.push_back(loaded - saved);
  }
  std::printf("34-row table file, median of %d: load %.2f ms, save %.2f ms\n", runs, Median(load),
              Median(save));
  win::DeletePath(path);
  return 0;
}

}  // namespace qr::bench
