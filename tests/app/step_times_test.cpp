// The step log of a whole run, as the benchmark reads it: with QUELM_STEP_TIMES naming a file, each run
// of the program appends one line of its steps' ends, in the order they happen, on the system clock
// between its creation and its end; without the variable it writes nothing.
#include "win32/step_times.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/table_record.h"
#include "shared/profile_store.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/surface.h"
#include "win32/text.h"

namespace qr {
namespace {

using Steps = std::vector<std::pair<std::string, uint64_t>>;

uint64_t SystemTime() {
  FILETIME t{};
  GetSystemTimeAsFileTime(&t);
  return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// "created=<t> loader and runtime=<t> ..." as (name, time) pairs.
Steps Parse(const std::string& line) {
  Steps steps;
  std::istringstream words(line);
  std::string word, name;
  while (words >> word) {
    const size_t equals = word.find('=');
    if (!name.empty()) name.push_back(' ');
    name.append(word, 0, equals);
    if (equals == std::string::npos) continue;
    steps.emplace_back(name, std::stoull(word.substr(equals + 1)));
    name.clear();
  }
  return steps;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

TEST(StepTimes, EachRenderAppendsItsStepsInOrderWithinItsRun) {
  test::TempFolder folder;
  const std::string program = test::ProgramIn(folder.path());
  ASSERT_FALSE(program.empty());
  TableModel model;
  model.At(1, 1).text = "予定";
  const std::string table = folder.Write("table.qlm", EncodeTableFile(model, 2, 2, {0, 80, 80, 80, 80, 80}));
  ASSERT_TRUE(win::WriteBitmapFile(win::Surface(40, 30, RGB(0, 128, 0)), folder.File("back.bmp")));
  ProfileKeyStore settings(folder.File("Quelm_Rask.ini"));
  settings.Write("Section", "G_Kabe", "1");
  settings.Write("Section", "G_Kabe_File", folder.File("back.bmp"));
  settings.Write("Section", "G_Pos", "0");
  const std::string log = folder.File("steps.txt");
  const std::string render = "/render \"" + table + "\" /out \"" + folder.File("out.bmp") + "\" /at 10,10";

  std::vector<std::pair<uint64_t, uint64_t>> runs;  // the test's clock around each run
  ASSERT_TRUE(SetEnvironmentVariableW(L"QUELM_STEP_TIMES", win::Wide(log).c_str()));
  for (int i = 0; i < 2; ++i) {
    const uint64_t before = SystemTime();
    EXPECT_EQ(test::RunProgram(program, render).exitCode, 0u);
    runs.emplace_back(before, SystemTime());
  }
  SetEnvironmentVariableW(L"QUELM_STEP_TIMES", nullptr);
  EXPECT_EQ(test::RunProgram(program, render).exitCode, 0u);  // not noted

  const std::vector<std::string> lines = Lines(win::ReadFileBytes(log).value_or(""));
  ASSERT_EQ(lines.size(), 2u);
  const std::vector<std::string> expected{
      "created",    "loader and runtime", "table read", "settings read", "display query", "decoded",
      "background", "table drawn",        "written",    "freed",         "exit"};
  constexpr uint64_t kClockSlack = 20 * 10000;  // 20 ms: the coarse clock read here
  for (size_t run = 0; run < lines.size(); ++run) {
    const Steps steps = Parse(lines[run]);
    std::vector<std::string> names;
    for (const auto& step : steps) names.push_back(step.first);
    EXPECT_EQ(names, expected) << lines[run];
    for (size_t i = 1; i < steps.size(); ++i) EXPECT_LE(steps[i - 1].second, steps[i].second) << names[i];
    ASSERT_FALSE(steps.empty());
    EXPECT_GE(steps.front().second + kClockSlack, runs[run].first);
    EXPECT_LE(steps.back().second, runs[run].second + kClockSlack);
  }
}

}  // namespace
}  // namespace qr
