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

// Under Wine the recycle bin is the desktop's trash folder: a file sent there can be found again, which
// tells recycling apart from deleting. Elsewhere the check is skipped.
std::string TrashPath(const std::string& inTrash) {
  wchar_t data[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableW(L"XDG_DATA_HOME", data, MAX_PATH);
  if (n == 0 || n >= MAX_PATH || data[0] != L'/') return {};
  std::string path = "Z:" + win::Utf8(data) + "/Trash/" + inTrash;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// A name of its own for every run: the trash keeps what earlier runs sent there.
std::string UniqueName(const std::string& stem) {
  static int counter = 0;
  return stem + " " + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) + "-" +
         std::to_string(++counter) + ".bmp";
}

// True when the file is in the trash (or when there is no trash folder to look at); removes it from there.
bool TakeFromTrash(const std::string& name) {
  const std::string trashed = TrashPath("files/" + name);
  if (trashed.empty()) return true;
  const bool found = File_Exists(trashed);
  DeleteFileW(win::Wide(trashed).c_str());
  DeleteFileW(win::Wide(TrashPath("info/" + name + ".trashinfo")).c_str());
  return found;
}

TEST(Recycle_Files, ConfirmedFileGoesToTheRecycleBin) {
  test::TempFolder folder;
  const std::string name = UniqueName("ゴミ");
  const std::string file = folder.Write(name, "x");
  const std::string other = folder.Write("keep.bmp", "x");
  test::DialogDriver driver;
  driver.Press(IDYES);
  EXPECT_EQ(Recycle_Files({file}), 0);
  EXPECT_FALSE(File_Exists(file));
  EXPECT_TRUE(File_Exists(other));
  ASSERT_EQ(driver.Seen().size(), 1u);  // the shell's own confirmation question
  EXPECT_EQ(driver.Seen()[0].buttons.size(), 2u);
  EXPECT_TRUE(TakeFromTrash(name));
}

TEST(Recycle_Files, DeclinedQuestionKeepsTheFileAndSaysSo) {
  test::TempFolder folder;
  const std::string file = folder.Write("大事.bmp", "x");
  test::DialogDriver driver;
  driver.Press(IDNO);
  EXPECT_NE(Recycle_Files({file}), 0);
  EXPECT_TRUE(File_Exists(file));
}

TEST(Recycle_Result, ADeclinedQuestionIsACancelWhateverTheShellReturns) {
  // The aborted flag means the user said No, also beside a non-zero result.
  EXPECT_EQ(Recycle_Result(0, true), ERROR_CANCELLED);
  EXPECT_EQ(Recycle_Result(ERROR_ACCESS_DENIED, true), ERROR_CANCELLED);
  EXPECT_EQ(Recycle_Result(0x75, false), ERROR_CANCELLED);  // the shell's own "cancelled" code
  EXPECT_EQ(Recycle_Result(ERROR_CANCELLED, false), ERROR_CANCELLED);
  // Not declined: the shell's result as it is (a failure lets the caller delete directly).
  EXPECT_EQ(Recycle_Result(0, false), 0);
  EXPECT_EQ(Recycle_Result(ERROR_ACCESS_DENIED, false), ERROR_ACCESS_DENIED);
}

TEST(Recycle_Files, SeveralFilesAndARelativeName) {
  test::TempFolder folder;
  const std::string nameA = UniqueName("a");
  const std::string nameB = UniqueName("b");
  const std::string a = folder.Write(nameA, "x");
  const std::string b = folder.Write(nameB, "x");
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(win::Wide(folder.path()).c_str()));
  test::DialogDriver driver;
  driver.Press(IDYES);
  EXPECT_EQ(Recycle_Files({a, nameB}), 0);
  SetCurrentDirectoryW(previous);
  EXPECT_FALSE(File_Exists(a));
  EXPECT_FALSE(File_Exists(b));
  EXPECT_TRUE(TakeFromTrash(nameA));
  EXPECT_TRUE(TakeFromTrash(nameB));
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
