// The data folder rule: a writable program folder keeps the settings beside the program (and the probe
// leaves nothing there); a read-only one sends them to the user's application data, whose folder is
// created on first need. The read-only program folder itself is tested on a read-only mount by
// scripts/test-install, as root ignores permissions here.
#include "shared/data_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "support/temp_folder.h"
#include "win32/files.h"

namespace qr {
namespace {

int EntriesIn(const std::string& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(win::ApiPath(folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  do {
    if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0) ++count;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

TEST(DataFolder, AWritableProgramFolderKeepsTheDataBesideTheProgramAndTheProbeLeavesNothing) {
  test::TempFolder program;
  EXPECT_EQ(ChooseDataFolder(program.path()), program.path());
  EXPECT_EQ(EntriesIn(program.path()), 0);
}

TEST(DataFolder, AReadOnlyProgramFolderUsesTheUsersFolderCreatedOnFirstNeed) {
  test::TempFolder appData;
  const std::string folder = DataFolderFor("C:\\ro", false, appData.path() + "\\");
  EXPECT_EQ(folder, appData.path() + "\\Quelm_Rask");
  // No application-data folder known: the program folder, where a failed save is reported.
  EXPECT_EQ(DataFolderFor("C:\\ro", false, ""), "C:\\ro");
  EXPECT_EQ(EntriesIn(appData.path()), 0) << "choosing creates nothing";
  EXPECT_TRUE(EnsureDataFolder(folder));
  EXPECT_TRUE(EnsureDataFolder(folder)) << "already there";
  EXPECT_EQ(GetFileAttributesW(win::ApiPath(folder).c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  const std::string blocked = appData.Write("Quelm_Rask2", "x");
  EXPECT_FALSE(EnsureDataFolder(blocked));
}

}  // namespace
}  // namespace qr
