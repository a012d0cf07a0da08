#include "win32/files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "support/small_disk.h"
#include "support/temp_folder.h"
#include "win32/handles.h"
#include "win32/text.h"

namespace qr::win {
namespace {

bool Exists(const std::string& path) {
  return GetFileAttributesW(ApiPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A folder path well beyond the classic 260-character limit.
std::string MakeLongFolder(const test::TempFolder& root) {
  std::string relative;
  for (int i = 0; i < 6; ++i) relative += (i ? "\\" : "") + std::string(60, static_cast<char>('a' + i));
  return root.MakeFolder(relative);
}

TEST(ReadFileBytes, ReadsExactBytesIncludingNulAndNonAsciiNames) {
  test::TempFolder folder;
  const std::string bytes("a\0\x82\xa0\r\n", 6);
  const std::string path = folder.Write("壁紙 한국 😀.bin", bytes);
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(ReadFileBytes(path), bytes);
  EXPECT_EQ(ReadFileBytes(folder.Write("empty", "")), "");
}

TEST(ReadFileBytes, NothingForMissingFolderOrTooLarge) {
  test::TempFolder folder;
  const std::string path = folder.Write("ten", "0123456789");
  EXPECT_EQ(ReadFileBytes(path, 10), "0123456789");
  EXPECT_EQ(ReadFileBytes(path, 9), std::nullopt);
  EXPECT_EQ(ReadFileBytes(folder.File("missing")), std::nullopt);
  EXPECT_EQ(ReadFileBytes(folder.path()), std::nullopt);
  EXPECT_EQ(ReadFileBytes(""), std::nullopt);
  EXPECT_EQ(ReadFileBytes(std::string("ten\0x", 5)), std::nullopt);
}

TEST(ReplaceFileContents, CreatesAndReplacesLeavingNoTemporaryFile) {
  test::TempFolder folder;
  const std::string path = folder.File("データ.qlm");
  ASSERT_TRUE(ReplaceFileContents(path, "first"));
  EXPECT_EQ(ReadFileBytes(path), "first");
  ASSERT_TRUE(ReplaceFileContents(path, std::string(3u << 20, 'z')));  // several write chunks
  EXPECT_EQ(ReadFileBytes(path)->size(), 3u << 20);
  ASSERT_TRUE(ReplaceFileContents(path, ""));
  EXPECT_EQ(ReadFileBytes(path), "");
  EXPECT_FALSE(Exists(path + ".tmp~"));
}

TEST(ReplaceFileContents, TemporaryThatCannotBeWrittenLeavesTheOldFile) {
  test::TempFolder folder;
  const std::string path = folder.Write("list.rdm", "old");
  // A folder where the temporary file must go: it cannot be created.
  ASSERT_FALSE(folder.MakeFolder("list.rdm.tmp~").empty());
  EXPECT_FALSE(ReplaceFileContents(path, "new"));
  EXPECT_EQ(ReadFileBytes(path), "old");
}

TEST(ReplaceFileContents, FailedMoveRemovesTheTemporaryAndKeepsTheTarget) {
  test::TempFolder folder;
  // The target is a folder with a file in it: the move over it fails.
  const std::string target = folder.MakeFolder("target");
  const std::string inside = folder.Write("target\\keep.txt", "keep");
  EXPECT_FALSE(ReplaceFileContents(target, "new"));
  EXPECT_FALSE(Exists(target + ".tmp~"));
  EXPECT_EQ(ReadFileBytes(inside), "keep");
}

TEST(ReplaceFileContents, TargetHeldOpenWithoutSharingStaysAsItWas) {
  test::TempFolder folder;
  const std::string path = folder.Write("Quelm_Rask.rdm", "old");
  {
    File held(CreateFileW(ApiPath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_FALSE(ReplaceFileContents(path, "new"));
    EXPECT_FALSE(Exists(path + ".tmp~"));
  }
  EXPECT_EQ(ReadFileBytes(path), "old");
  EXPECT_TRUE(ReplaceFileContents(path, "new"));  // free again
  EXPECT_EQ(ReadFileBytes(path), "new");
}

TEST(ReplaceFileContents, LeavesAReadOnlyFileAlone) {
  test::TempFolder folder;
  const std::string path = folder.Write("kept.qlm", "old");
  ASSERT_TRUE(SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(ReplaceFileContents(path, "new"));
  SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFileBytes(path), "old");
  EXPECT_FALSE(Exists(path + ".tmp~"));
}

TEST(ReplaceFileContents, FailsWhenTheFolderIsMissing) {
  test::TempFolder folder;
  EXPECT_FALSE(ReplaceFileContents(folder.File("no such folder\\x.ini"), "x"));
  EXPECT_FALSE(Exists(folder.File("no such folder")));
}

TEST(ReplaceFileContents, LongPaths) {
  test::TempFolder folder;
  const std::string deep = MakeLongFolder(folder);
  ASSERT_FALSE(deep.empty());
  const std::string path = deep + "\\長い名前.bin";
  ASSERT_GT(path.size(), 400u);
  ASSERT_TRUE(ReplaceFileContents(path, "deep"));
  EXPECT_EQ(ReadFileBytes(path), "deep");
  ASSERT_TRUE(RenamePath(path, deep + "\\moved.bin"));
  EXPECT_EQ(ReadFileBytes(deep + "\\moved.bin"), "deep");
  EXPECT_TRUE(DeletePath(deep + "\\moved.bin"));
  EXPECT_FALSE(Exists(deep + "\\moved.bin"));
}

TEST(RenamePath, MovesAndReplacesAnExistingTarget) {
  test::TempFolder folder;
  const std::string from = folder.Write("Quelm_Rask.bmp", "new picture");
  const std::string to = folder.Write("保存.bmp", "old picture");
  ASSERT_TRUE(RenamePath(from, to));
  EXPECT_FALSE(Exists(from));
  EXPECT_EQ(ReadFileBytes(to), "new picture");
  EXPECT_FALSE(RenamePath(from, to));  // the source is gone now
}

TEST(RenamePath, NeverReplacesAReadOnlyFileNorReachesAMissingFolder) {
  test::TempFolder folder;
  const std::string from = folder.Write("Quelm_Rask.bmp", "new picture");
  const std::string to = folder.Write("kept.bmp", "old picture");
  ASSERT_TRUE(SetFileAttributesW(Wide(to).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(RenamePath(from, to));
  SetFileAttributesW(Wide(to).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFileBytes(to), "old picture");
  EXPECT_FALSE(RenamePath(from, folder.File("gone\\saved.bmp")));
  EXPECT_EQ(ReadFileBytes(from), "new picture");
  EXPECT_FALSE(Exists(folder.File("gone")));
}

TEST(RenamePath, AcrossDrivesTheTargetIsReplacedOnlyByACompleteCopy) {
  test::SmallDisk disk;
  if (!disk.ok()) GTEST_SKIP() << test::SmallDisk::kMissing;
  test::TempFolder folder;
  const std::string from = folder.Write("Quelm_Rask.bmp", std::string(20000, 'n'));
  const std::string to = disk.File("saved.bmp");
  ASSERT_TRUE(ReplaceFileContents(to, "old picture"));
  ASSERT_TRUE(disk.Fill());
  EXPECT_FALSE(RenamePath(from, to));
  EXPECT_EQ(ReadFileBytes(to), "old picture");
  EXPECT_FALSE(Exists(to + ".tmp~"));
  EXPECT_TRUE(Exists(from));

  disk.Free();
  EXPECT_TRUE(RenamePath(from, to));
  EXPECT_EQ(ReadFileBytes(to), std::string(20000, 'n'));
  EXPECT_FALSE(Exists(from));
  EXPECT_FALSE(Exists(to + ".tmp~"));
}

TEST(DeletePath, DeletesFilesOnly) {
  test::TempFolder folder;
  const std::string file = folder.Write("x.bmp", "x");
  EXPECT_TRUE(DeletePath(file));
  EXPECT_FALSE(Exists(file));
  EXPECT_FALSE(DeletePath(file));
  EXPECT_FALSE(DeletePath(folder.path()));
  EXPECT_TRUE(Exists(folder.path()));
}

TEST(ExecutablePath, NamesThisProgram) {
  const std::string path = ExecutablePath();
  ASSERT_GT(path.size(), 4u);
  EXPECT_EQ(path.substr(path.size() - 4), ".exe");
  EXPECT_NE(path.find("win32_tests"), std::string::npos);
  EXPECT_TRUE(ReadFileBytes(path, 1u << 30).has_value());
}

TEST(ApiPath, OnlyLongPathsGetThePrefix) {
  EXPECT_EQ(ApiPath("C:\\a\\b.txt"), L"C:\\a\\b.txt");
  EXPECT_EQ(ApiPath(std::string("a\0b", 3)), L"");
  const std::string longPath = "C:\\" + std::string(300, 'x') + "\\..\\y.txt";
  EXPECT_EQ(ApiPath(longPath), L"\\\\?\\C:\\y.txt");
  const std::string longUnc = "\\\\server\\share\\" + std::string(300, 'x');
  EXPECT_EQ(ApiPath(longUnc), L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'x'));
}

}  // namespace
}  // namespace qr::win
