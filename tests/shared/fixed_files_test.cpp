// Where the fixed bitmaps go: the preferred folder when a file can be made there, else the fallback
// folder (created as needed), and the same choice for every later use.
#include "shared/fixed_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "win32/text.h"

namespace qr {
namespace {

// The names in a folder, "." and ".." left out.
std::vector<std::string> Contents(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(win::Wide(folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(win::Utf8(name));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(win::Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class FixedFilesTest : public ::testing::Test {
 protected:
  void TearDown() override { OverrideFixedFileFolders(std::nullopt); }
  test::TempFolder folder_;
};

TEST_F(FixedFilesTest, AWritableRootHoldsBothFilesAndTheProbeLeavesNothingBehind) {
  const std::string root = folder_.MakeFolder("root");
  OverrideFixedFileFolders(FixedFileFolders{root, folder_.File("appdata\\Quelm_Rask")});
  EXPECT_EQ(WallpaperBitmapPath(), root + "\\Quelm_Rask.bmp");
  EXPECT_TRUE(Contents(root).empty());
  EXPECT_FALSE(IsFolder(folder_.File("appdata")));  // not needed, not made
}

TEST_F(FixedFilesTest, AnUnwritableRootFallsBackToTheApplicationDataFolderMadeAsNeeded) {
  const std::string root = folder_.File("no such drive root");
  const std::string fallback = folder_.File("appdata\\local\\Quelm_Rask");
  OverrideFixedFileFolders(FixedFileFolders{root, fallback});
  EXPECT_EQ(WallpaperBitmapPath(), fallback + "\\Quelm_Rask.bmp");
  EXPECT_TRUE(IsFolder(fallback));
  EXPECT_TRUE(Contents(fallback).empty());

  // Once chosen, kept: writing, installing, moving and previewing all use the same place.
  folder_.MakeFolder("no such drive root");
  EXPECT_EQ(WallpaperBitmapPath(), fallback + "\\Quelm_Rask.bmp");
  EXPECT_EQ(FixedFilesFolder(), fallback);
}

TEST_F(FixedFilesTest, WithNothingWritableTheUsualPlaceIsNamedAndLookedAtAgainLater) {
  const std::string blocker = folder_.Write("blocker", "a file where a folder would have to be");
  const std::string root = folder_.File("missing root");
  OverrideFixedFileFolders(FixedFileFolders{root, blocker + "\\Quelm_Rask"});
  EXPECT_EQ(WallpaperBitmapPath(), root + "\\Quelm_Rask.bmp");  // writing there fails; the caller says so
  folder_.MakeFolder("missing root");
  EXPECT_TRUE(FolderIsWritable(root));
  EXPECT_FALSE(FolderIsWritable(blocker));
  EXPECT_FALSE(FolderIsWritable(""));
}

TEST_F(FixedFilesTest, NormallyTheRootOfDriveCOrTheUsersLocalApplicationData) {
  const FixedFileFolders folders = DefaultFixedFileFolders();
  EXPECT_EQ(folders.preferred, "C:");
  ASSERT_GT(folders.fallback.size(), std::string("\\Quelm_Rask").size());
  EXPECT_EQ(folders.fallback.substr(folders.fallback.size() - 11), "\\Quelm_Rask");
  // Under Wine every user may write to the root of C:.
  OverrideFixedFileFolders(std::nullopt);
  EXPECT_EQ(WallpaperBitmapPath(), "C:\\Quelm_Rask.bmp");
}

}  // namespace
}  // namespace qr
