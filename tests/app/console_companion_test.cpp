// The console companion Quelm_Rask.com run as its own process through a pipe, as cmd would: exit codes,
// its Japanese messages in the console's output code page, "/autostart" with the GUI program's path,
// and starting the windows without arguments. And "/settings": a render reads the given file and
// writes nothing beside the table or the settings it read, both read-only.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "core/table_record.h"
#include "shared/profile_store.h"
#include "support/autostart_guard.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/image.h"
#include "win32/text.h"

namespace qr {
namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// The code page 932 form of the text, as the companion writes it into a pipe on a Japanese system.
std::string Cp932(const std::string& utf8) {
  const std::wstring wide = win::Wide(utf8);
  const int size = static_cast<int>(wide.size());
  std::string bytes(static_cast<size_t>(WideCharToMultiByte(932, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)),
                    '\0');
  WideCharToMultiByte(932, 0, wide.data(), size, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
  return bytes;
}

class ConsoleCompanionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    companion_ = test::CompanionIn(folder_.path());
    ASSERT_FALSE(companion_.empty());
    TableModel model;
    model.At(1, 1).text = "予定";
    table_ = folder_.Write("予定表.qlm", EncodeTableFile(model, 2, 2, {0, 80, 80, 80, 80, 80}));
  }

  test::ProgramRun Run(const std::string& arguments) {
    test::ProgramRun run = test::RunProgram(companion_, arguments);
    EXPECT_FALSE(run.windowShown) << arguments;
    return run;
  }

  test::TempFolder folder_;
  std::string companion_;
  std::string table_;
};

TEST_F(ConsoleCompanionTest, ItWaitsAndReturnsTheExitCodesWithJapaneseMessagesInTheConsoleCodePage) {
  ASSERT_EQ(test::ConsoleCodePage(), 932u) << "the test prefix is Japanese";
  const test::ProgramRun usage = Run("/?");
  EXPECT_EQ(usage.exitCode, 0u);
  EXPECT_NE(usage.output.find("/render <table.qlm>"), std::string::npos) << usage.output;
  EXPECT_NE(usage.bytes.find(Cp932("終了コード")), std::string::npos) << "code page 932 bytes, not UTF-8";

  const test::ProgramRun missing = Run("/render " + Quoted(folder_.File("missing.qlm")));
  EXPECT_EQ(missing.exitCode, 3u);
  EXPECT_NE(missing.output.find("表のファイルを読めません: " + folder_.File("missing.qlm")), std::string::npos)
      << missing.output;

  const test::ProgramRun bad = Run("/render " + Quoted(table_) + " /bogus");
  EXPECT_EQ(bad.exitCode, 2u);
  EXPECT_NE(bad.output.find("知らない引数か、二度目の引数です: /bogus"), std::string::npos) << bad.output;

  const std::string out = folder_.File("出力.bmp");
  const test::ProgramRun done = Run("/render " + Quoted(table_) + " /out " + Quoted(out) + " /at 0,0");
  EXPECT_EQ(done.exitCode, 0u) << done.output;
  EXPECT_NE(done.output.find("書き込みました: " + out), std::string::npos) << done.output;
  EXPECT_TRUE(win::LoadImageFile(out));

  EXPECT_EQ(Run("/render " + Quoted(table_) + " /out " + Quoted(folder_.File("none\\x.bmp"))).exitCode, 4u);
}

TEST_F(ConsoleCompanionTest, AutostartWritesTheGuiProgramBesideItAndRemovesIt) {
  test::AutostartGuard guard;
  const test::ProgramRun on = Run("/autostart on");
  EXPECT_EQ(on.exitCode, 0u) << on.output;
  EXPECT_EQ(test::AutostartGuard::Read(), "\"" + folder_.File("Quelm_Rask.exe") + "\" /watch");
  EXPECT_NE(on.output.find("ログオン時に起動します"), std::string::npos) << on.output;

  const test::ProgramRun off = Run("/AutoStart OFF");
  EXPECT_EQ(off.exitCode, 0u) << off.output;
  EXPECT_FALSE(test::AutostartGuard::Read());
  EXPECT_EQ(Run("/autostart off").exitCode, 0u) << "already off";
  EXPECT_EQ(Run("/autostart maybe").exitCode, 2u);
  EXPECT_FALSE(test::AutostartGuard::Read());
}

// The GUI program's main window, of a process other than this one; nothing when there is none.
HWND OtherProcessMainWindow() {
  HWND found = nullptr;
  for (HWND w = FindWindowW(nullptr, L"Quelm_Rask ( Main )"); w; w = FindWindowExW(nullptr, w, nullptr, L"Quelm_Rask ( Main )")) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner != GetCurrentProcessId() && IsWindowVisible(w)) found = w;
  }
  return found;
}

TEST_F(ConsoleCompanionTest, WithoutArgumentsItStartsTheWindowsAndReturnsAtOnce) {
  const test::ProgramRun run = test::RunProgram(companion_, "");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  HWND main = nullptr;
  for (int i = 0; i < 200 && !main; ++i, Sleep(50)) main = OtherProcessMainWindow();
  ASSERT_TRUE(main) << "Quelm_Rask.exe's main window";
  DWORD process = 0;
  GetWindowThreadProcessId(main, &process);
  HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
  ASSERT_TRUE(handle);
  wchar_t image[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  QueryFullProcessImageNameW(handle, 0, image, &size);
  EXPECT_EQ(win::Utf8(image), folder_.File("Quelm_Rask.exe"));
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(handle, 10000), WAIT_OBJECT_0);
  CloseHandle(handle);
}

// Every file of a folder with its size, time and attributes.
using Listing = std::map<std::string, std::tuple<DWORD, DWORD, DWORD>>;
Listing ListFolder(const std::string& folder) {
  Listing listing;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(win::ApiPath(folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return listing;
  do {
    const std::string name = win::Utf8(found.cFileName);
    if (name == "." || name == "..") continue;  // the folder's own time changes with any file in it
    listing[name] = {found.nFileSizeLow, found.ftLastWriteTime.dwLowDateTime,
                                           found.dwFileAttributes};
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return listing;
}

TEST_F(ConsoleCompanionTest, SettingsComeFromTheGivenFileAndNothingIsWrittenBesideTableOrSettings) {
  const test::TempFolder shared;  // a read-only share: the table and the administrator's settings
  const std::string picture = shared.File("背景.bmp");
  ASSERT_TRUE(win::WriteBitmapFile(win::Surface(8, 8, RGB(0, 160, 0)), picture));
  // Only the background: the readers would put back every other key with its default.
  const std::string settings =
      shared.Write("共通.ini", "[Section]\r\nG_Kabe=1\r\nG_Kabe_File=" + Cp932(picture) + "\r\nG_Pos=1\r\n");
  TableModel model;
  model.At(1, 1).text = "共有";
  const std::string table = shared.Write("共有.qlm", EncodeTableFile(model, 2, 2, {0, 80, 80, 80, 80, 80}));
  const std::string settingsBytes = *win::ReadFileBytes(settings);
  const Listing programFolder = ListFolder(folder_.path());
  const std::string out = folder_.File("out.bmp");
  // Writable first (a write would show), then read-only as on a share.
  for (const bool readOnly : {false, true}) {
    for (const std::string& path : {settings, table, picture, shared.path()}) {
      const DWORD attributes = readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL;
      ASSERT_TRUE(SetFileAttributesW(win::ApiPath(path).c_str(), attributes));
    }
    const Listing before = ListFolder(shared.path());
    for (const std::string& program : {companion_, test::ProgramIn(folder_.path())}) {
      const test::ProgramRun run = test::RunProgram(program, "/render " + Quoted(table) + " /settings " +
                                                                 Quoted(settings) + " /out " + Quoted(out) + " /at 0,0");
      EXPECT_EQ(run.exitCode, 0u) << run.output;
      const auto image = win::LoadImageFile(out);
      ASSERT_TRUE(image);
      EXPECT_EQ(image->pixels.Pixel(600, 600), RGB(0, 160, 0)) << "the given file's tiled picture";
      EXPECT_TRUE(win::DeletePath(out));
    }
    EXPECT_EQ(ListFolder(shared.path()), before) << readOnly;
    EXPECT_EQ(win::ReadFileBytes(settings), settingsBytes) << readOnly;
    EXPECT_EQ(ListFolder(folder_.path()), programFolder) << "no Quelm_Rask.ini beside the program";
  }

  const test::ProgramRun missing =
      Run("/render " + Quoted(table) + " /settings " + Quoted(shared.File("none.ini")) + " /out " + Quoted(out));
  EXPECT_EQ(missing.exitCode, 3u);
  EXPECT_NE(missing.output.find("設定ファイルを読めません"), std::string::npos) << missing.output;
  EXPECT_FALSE(win::ReadFileBytes(out));
  SetFileAttributesW(win::ApiPath(shared.path()).c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace qr
