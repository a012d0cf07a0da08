// Temporaries left by a write cut short: only the program's own names go, only files no writer holds,
// and the program itself clears them at its start.
#include "shared/stale_temporaries.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "support/program_run.h"
#include "support/temp_folder.h"
#include "win32/files.h"
#include "win32/handles.h"

namespace qr {
namespace {

TEST(StaleTemporaries, OnlyTheProgramsOwnNamesCount) {
  for (const char* own :
       {"Quelm_Rask.bmp.tmp~", "Quelm_Rask2.bmp.tmp~", "quelm_rask12.BMP.TMP~", "Quelm_Temp.bmp.tmp~",
        "Quelm_Rask.last.tmp~", "Quelm_Rask.rdm.tmp~", "Quelm_Rask.rdm.new.tmp~", "Quelm_Rask.html.tmp~",
        "Quelm_Rask.ini.4711-3.tmp~", "Quelm_Rask.bmp.part2~", "Quelm_Rask3.bmp.part1~.tmp~"})
    EXPECT_TRUE(IsOwnTemporaryName(own)) << own;
  for (const char* other : {"Quelm_Rask.bmp", "notes.tmp~", "Quelm_Raskx.bmp.tmp~", "Quelm_Rask.ini.tmp~",
                            "Quelm_Rask.ini.47-.tmp~", "Quelm_Rask.ini.a-1.tmp~", "Quelm_Rask.bmp.tmp~.txt",
                            "Quelm_Rask.bmp.tmp", ".tmp~", "Quelm_Rask.png.tmp~", "photo.bmp.tmp~",
                            "Quelm_Rask.bmp.part~", "photo.bmp.part1~", "Quelm_Rask.bmp.partx~"})
    EXPECT_FALSE(IsOwnTemporaryName(other)) << other;
}

TEST(StaleTemporaries, OwnTemporariesGoButOthersAndOnesStillOpenStay) {
  test::TempFolder folder;
  const std::string stale = folder.Write("Quelm_Rask.bmp.tmp~", "");
  const std::string settingsCopy = folder.Write("Quelm_Rask.ini.12-1.tmp~", "[Section]");
  const std::string foreign = folder.Write("report.doc.tmp~", "keep");
  const std::string wallpaper = folder.Write("Quelm_Rask.bmp", "BM");
  const std::string writing = folder.Write("Quelm_Rask2.bmp.tmp~", "");
  // Another writer's temporary, open as the program opens it while writing.
  win::File held(CreateFileW(win::ApiPath(writing).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);

  RemoveOwnTemporaries({folder.path(), ""});
  EXPECT_FALSE(win::ReadFileBytes(stale));
  EXPECT_FALSE(win::ReadFileBytes(settingsCopy));
  EXPECT_EQ(win::ReadFileBytes(foreign), "keep");
  EXPECT_EQ(win::ReadFileBytes(wallpaper), "BM");
  held = win::File();
  EXPECT_TRUE(win::ReadFileBytes(writing));
}

TEST(StaleTemporaries, AClaimHeldByAnotherInstanceIsNotMadeAgain) {
  const std::wstring name = L"Local\\Quelm_Rask_Test_Claim_" + std::to_wstring(GetCurrentProcessId());
  EXPECT_TRUE(ClaimSoleInstance(name.c_str()));
  EXPECT_FALSE(ClaimSoleInstance(name.c_str()));  // as a second instance finds it
}

TEST(StaleTemporaries, TheProgramClearsThemAtItsStart) {
  test::TempFolder folder;
  const std::string program = test::ProgramIn(folder.path());
  ASSERT_FALSE(program.empty());
  const std::string list = folder.Write("Quelm_Rask.rdm.tmp~", "");
  const std::string settings = folder.Write("Quelm_Rask.ini.99-2.tmp~", "");
  const std::string foreign = folder.Write("mine.tmp~", "");
  const std::string table = "/render \"" + folder.File("none.qlm") + "\"";
  // A render to /out alone writes only where it is told, so it leaves them.
  EXPECT_EQ(test::RunProgram(program, table + " /out x.bmp").exitCode, 3u);
  EXPECT_TRUE(win::ReadFileBytes(list));
  // A render of the wallpaper's own files that fails at once (no table) still starts as a writing run.
  EXPECT_EQ(test::RunProgram(program, table).exitCode, 3u);
  EXPECT_FALSE(win::ReadFileBytes(list));
  EXPECT_FALSE(win::ReadFileBytes(settings));
  EXPECT_TRUE(win::ReadFileBytes(foreign));
}

}  // namespace
}  // namespace qr
