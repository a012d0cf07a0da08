// The step log of a whole run, as the benchmark reads it: with QUELM_STEP_TIMES naming a file, a run of
// the program appends one line of its steps' ends, in the order they happen, within the run; without the
// variable it writes nothing.
#include "win32/step_times.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <regex>
#include <string>
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

uint64_t SystemTime() {
  FILETIME t{};
  GetSystemTimeAsFileTime(&t);
  return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

TEST(StepTimes, ARenderAppendsItsStepsInOrderWithinItsRunOnlyWhenAsked) {
  test::TempFolder folder;
  const std::string program = test::ProgramIn(folder.path());
  const std::string table =
      folder.Write("table.qlm", EncodeTableFile(TableModel(), 2, 2, {0, 80, 80, 80, 80, 80}));
  ASSERT_TRUE(win::WriteBitmapFile(win::Surface(40, 30), folder.File("back.bmp")));
  ProfileKeyStore settings(folder.File("Quelm_Rask.ini"));
  settings.Write("Section", "G_Kabe", "1");
  settings.Write("Section", "G_Kabe_File", folder.File("back.bmp"));
  settings.Write("Section", "G_Pos", "0");
  const std::string log = folder.File("steps.txt");
  const std::string render = "/render \"" + table + "\" /out \"" + folder.File("out.bmp") + "\"";

  ASSERT_TRUE(SetEnvironmentVariableW(L"QUELM_STEP_TIMES", win::Wide(log).c_str()));
  const uint64_t before = SystemTime();
  EXPECT_EQ(test::RunProgram(program, render).exitCode, 0u);
  const uint64_t after = SystemTime();
  SetEnvironmentVariableW(L"QUELM_STEP_TIMES", nullptr);
  EXPECT_EQ(test::RunProgram(program, render).exitCode, 0u);  // not noted

  const std::string text = win::ReadFileBytes(log).value_or("");
  std::vector<std::string> names;
  std::vector<uint64_t> times;
  const std::regex step("([a-z][a-z ]*)=([0-9]+) ?");
  for (std::sregex_iterator i(text.begin(), text.end(), step), end; i != end; ++i) {
    names.push_back((*i)[1]);
    times.push_back(std::stoull((*i)[2]));
  }
  // A centred picture is painted band by band as the file is written, the table meanwhile on a thread of
  // its own: its time lies inside "written".
  EXPECT_EQ(names, (std::vector<std::string>{"created", "loader and runtime", "table read", "settings read",
                                             "display query", "decoded", "background", "written", "freed",
                                             "exit"}));
  EXPECT_EQ(text.find("\r\n"), text.size() - 2);  // one line
  EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
  constexpr uint64_t kSlack = 20 * 10000;  // 20 ms: this side's coarse clock
  ASSERT_FALSE(times.empty());
  EXPECT_GE(times.front() + kSlack, before);
  EXPECT_LE(times.back(), after + kSlack);
}

}  // namespace
}  // namespace qr
