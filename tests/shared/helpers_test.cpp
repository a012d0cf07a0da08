#include "shared/helpers.h"

#include <gtest/gtest.h>

#include "support/dialog_driver.h"
#include "support/temp_folder.h"
#include "win32/handles.h"
#include "win32/text.h"

namespace qr {
namespace {

TEST(File_Exists, TrueOnlyForAFileThatOpens) {
  test::TempFolder folder;
  const std::string file = folder.Write("sea.bmp", "x");
  EXPECT_TRUE(File_Exists(file));
  EXPECT_TRUE(File_Exists(folder.Write("empty.bmp", "")));
  EXPECT_FALSE(File_Exists(folder.path()));
  EXPECT_FALSE(File_Exists(folder.path() + "\\"));
  EXPECT_FALSE(File_Exists(""));
  EXPECT_FALSE(File_Exists("\\"));
  EXPECT_FALSE(File_Exists(folder.File("missing.bmp")));
  EXPECT_FALSE(File_Exists(folder.File("missing\\sea.bmp")));
  EXPECT_FALSE(File_Exists(file + std::string("\0.txt", 5)));
}

TEST(File_Exists, ATrailingSeparatorTestsTheFileItself) {
  test::TempFolder folder;
  const std::string file = folder.Write("sea.bmp", "x");
  EXPECT_TRUE(File_Exists(file + "\\"));
  EXPECT_FALSE(File_Exists(file + "\\\\"));  // only one separator is dropped
}

TEST(File_Exists, NamesOutsideTheAnsiCodePage) {
  test::TempFolder folder;
  EXPECT_TRUE(File_Exists(folder.Write("壁紙ﾌｧｲﾙ.jpg", "x")));
  EXPECT_TRUE(File_Exists(folder.Write("바다 사진.bmp", "x")));  // Hangul: no code page 932 form
  EXPECT_TRUE(File_Exists(folder.Write("😀.bmp", "x")));
  EXPECT_FALSE(File_Exists(folder.File("바다 사진2.bmp")));
}

TEST(File_Exists, PathsBeyondTheClassicLimit) {
  test::TempFolder folder;
  std::string relative;
  for (int i = 0; i < 5; ++i) relative += (i ? "\\" : "") + std::string(70, static_cast<char>('k' + i));
  const std::string deep = folder.MakeFolder(relative);
  ASSERT_FALSE(deep.empty());
  const std::string file = deep + "\\長いパス.bmp";
  ASSERT_GT(file.size(), 360u);
  EXPECT_FALSE(File_Exists(file));
  ASSERT_FALSE(folder.Write(relative + "\\長いパス.bmp", "x").empty());
  EXPECT_TRUE(File_Exists(file));
  EXPECT_TRUE(File_Exists(file + "\\"));
  EXPECT_FALSE(File_Exists(deep));
}

TEST(File_Exists, FileLockedAgainstReadingIsNotThere) {
  test::TempFolder folder;
  const std::string file = folder.Write("locked.bmp", "x");
  const win::File lock(
      CreateFileW(win::Wide(file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(lock);
  EXPECT_FALSE(File_Exists(file));
}

TEST(Recycle_Files, ConfirmedFileLeavesItsFolder) {
  test::TempFolder folder;
  const std::string file = folder.Write("ゴミ.bmp", "x");
  const std::string other = folder.Write("keep.bmp", "x");
  test::DialogDriver driver;
  driver.Press(IDYES);
  EXPECT_EQ(Recycle_Files({file}), 0);
  EXPECT_FALSE(File_Exists(file));
  EXPECT_TRUE(File_Exists(other));
  ASSERT_EQ(driver.Seen().size(), 1u);  // the shell's own confirmation question
}

TEST(Recycle_Files, DeclinedQuestionKeepsTheFileAndSaysSo) {
  test::TempFolder folder;
  const std::string file = folder.Write("大事.bmp", "x");
  test::DialogDriver driver;
  driver.Press(IDNO);
  EXPECT_NE(Recycle_Files({file}), 0);
  EXPECT_TRUE(File_Exists(file));
}

TEST(Recycle_Files, SeveralFilesAndARelativeName) {
  test::TempFolder folder;
  const std::string a = folder.Write("a.bmp", "x");
  const std::string b = folder.Write("b.bmp", "x");
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(win::Wide(folder.path()).c_str()));
  test::DialogDriver driver;
  driver.Press(IDYES);
  EXPECT_EQ(Recycle_Files({a, "b.bmp"}), 0);
  SetCurrentDirectoryW(previous);
  EXPECT_FALSE(File_Exists(a));
  EXPECT_FALSE(File_Exists(b));
}

TEST(WindowEffects, LeaveTheWindowWhereItIs) {
  win::Window wnd(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 120, 200, 150, nullptr,
                                  nullptr, nullptr, nullptr));
  ASSERT_TRUE(wnd);
  Open_Effect(wnd.get(), 5, 6);
  Close_Effect(wnd.get(), -3, 32767);
  RECT r{};
  GetWindowRect(wnd.get(), &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 120);
  EXPECT_EQ(r.right, 300);
  EXPECT_EQ(r.bottom, 270);
  EXPECT_TRUE(IsWindowVisible(wnd.get()));
  Open_Effect(nullptr, 0, 0);  // a window that is gone: nothing happens
}

}  // namespace
}  // namespace qr
