// The resident watcher, given the messages Windows sends, posted to its window: it makes the wallpaper
// again once a burst of display changes has settled, when the display differs from the one the bitmaps
// were made for or a file is gone, and leaves another program's wallpaper alone. The real "/watch" runs
// without a window and answers a broadcast display change.
#include "app/watcher.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <set>

#include "core/table_record.h"
#include "shared/fixed_files.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "win32/files.h"
#include "win32/text.h"
#include "win32/wallpaper_test_settings.h"

namespace qr {
namespace {

constexpr UINT kSettleMs = 60;

class WatcherTest : public ::testing::Test {
 protected:
  WatcherTest() {
    last_.madeFor = last_.renderedFor = SingleMonitorLayout({1024, 768});
    last_.installed = {"C:\\Quelm_Rask.bmp"};
    display_ = last_.renderedFor;
    Shows("c:\\quelm_rask.bmp");  // the same file, as the system may spell it
    WatcherServices services;
    services.readDisplay = [this] { return display_; };
    services.loadLast = [this] { return std::optional<LastWallpaper>(last_); };
    services.wallpapers = [this] { return WallpaperReports{systemCall_, profile_}; };
    services.refresh = [this] { ++refreshes_; };
    services.fileExists = [this](const std::string& path) { return !gone_.count(path); };
    services.settleMs = kSettleMs;
    watcher_ = std::make_unique<Watcher>(std::move(services));
  }

  // What every source says, as on a system whose sources agree.
  void Shows(const std::string& path) { systemCall_ = profile_ = path; }
  void Post(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { PostMessageW(watcher_->hwnd(), msg, wp, lp); }
  // As the system announces it (a message with text cannot be posted).
  void WallpaperSet() {
    SendMessageW(watcher_->hwnd(), WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER,
                 reinterpret_cast<LPARAM>(L"Control Panel\\Desktop"));
  }
  // Runs the watcher's messages for a while (longer than the settling time).
  void Pump(DWORD ms = 4 * kSettleMs) {
    const DWORD end = GetTickCount() + ms;
    MSG msg;
    while (static_cast<int>(end - GetTickCount()) > 0) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(5);
    }
  }

  LastWallpaper last_;
  DisplayLayout display_;
  std::string systemCall_, profile_;  // SPI_GETDESKWALLPAPER and the profile's "Wallpaper" value
  std::set<std::string> gone_;
  int refreshes_ = 0;
  std::unique_ptr<Watcher> watcher_;
};

TEST_F(WatcherTest, ABurstOfDisplayChangesMakesTheWallpaperAgainOnceWhenTheDisplayDiffers) {
  ASSERT_TRUE(watcher_->hwnd());
  EXPECT_FALSE(IsWindowVisible(watcher_->hwnd()));
  Post(WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
  Pump();
  EXPECT_EQ(refreshes_, 0);  // the same display: nothing to do

  display_ = SingleMonitorLayout({1920, 1080});
  for (int i = 0; i < 5; ++i) {
    Post(WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080));
    Pump(kSettleMs / 3);
  }
  EXPECT_EQ(refreshes_, 0);  // still settling
  Pump();
  EXPECT_EQ(refreshes_, 1);

  Post(0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144));
  Pump();
  EXPECT_EQ(refreshes_, 2);
  Post(0x02B1 /* WM_WTSSESSION_CHANGE */, 0x8 /* unlocked */);
  Pump();
  EXPECT_EQ(refreshes_, 3);
}

TEST_F(WatcherTest, TheSameDisplayWithItsFileGoneMakesItAgain) {
  gone_.insert("C:\\Quelm_Rask.bmp");
  Post(WM_DISPLAYCHANGE);
  Pump();
  EXPECT_EQ(refreshes_, 1);
}

TEST_F(WatcherTest, AnotherProgramsWallpaperIsLeftAloneUntilTheProgramsOwnComesBack) {
  Shows("C:\\Users\\me\\holiday.jpg");
  WallpaperSet();
  display_ = SingleMonitorLayout({1920, 1080});
  Post(WM_DISPLAYCHANGE);
  Pump();
  EXPECT_TRUE(watcher_->Paused());
  EXPECT_EQ(refreshes_, 0);

  Shows("C:\\Quelm_Rask.bmp");  // 壁紙貼り付け again
  WallpaperSet();
  Post(WM_DISPLAYCHANGE);
  Pump();
  EXPECT_FALSE(watcher_->Paused());
  EXPECT_EQ(refreshes_, 1);
}

// Where the system call keeps answering what it answered first (Wine keeps it per process), the profile's
// value tells the change, either way.
TEST_F(WatcherTest, ASourceThatRepeatsAnOldAnswerNeitherHidesAnotherWallpaperNorTheProgramsOwn) {
  watcher_->Start();
  ASSERT_FALSE(watcher_->Paused());
  profile_ = "C:\\Users\\me\\holiday.jpg";  // another program installed it; the call still says ours
  WallpaperSet();
  EXPECT_TRUE(watcher_->Paused());
  display_ = SingleMonitorLayout({1920, 1080});
  Post(WM_DISPLAYCHANGE);
  Pump();
  EXPECT_EQ(refreshes_, 0);  // the user's choice stays

  Shows("C:\\Users\\me\\holiday.jpg");  // a later look from which the call stays at holiday.jpg
  WallpaperSet();
  profile_ = "C:\\Quelm_Rask.bmp";  // /render ... /set in another process
  WallpaperSet();
  EXPECT_FALSE(watcher_->Paused());
  WallpaperSet();  // the same answers again change nothing
  EXPECT_FALSE(watcher_->Paused());
  Post(WM_DISPLAYCHANGE);
  Pump();
  EXPECT_EQ(refreshes_, 1);
}

// The program's own wallpaper under a new file name, its snapshot saved after the system announced the
// change or before it: the watcher goes on making it again (also after the system call, which keeps its
// first answer under Wine, and after a later render to the same name).
TEST_F(WatcherTest, AWallpaperUnderANewFileNameKeepsTheWatcherAwakeWhicheverComesFirst) {
  for (const bool snapshotFirst : {false, true}) {
    SCOPED_TRACE(snapshotFirst ? "snapshot saved first" : "change announced first");
    last_.installed = {"C:\\Quelm_Rask.bmp"};
    Shows("C:\\Quelm_Rask.bmp");
    watcher_->Start();
    ASSERT_FALSE(watcher_->Paused());
    const std::string renamed = snapshotFirst ? "D:\\walls\\b.bmp" : "D:\\walls\\a.bmp";
    if (snapshotFirst) last_.installed = {renamed};
    profile_ = renamed;  // the call still answers the old name
    WallpaperSet();
    last_.installed = {renamed};
    WallpaperSet();  // a later render to the same name changes no report
    refreshes_ = 0;
    display_ = SingleMonitorLayout({display_.monitors[0].rect.w + 64, 768});
    Post(WM_DISPLAYCHANGE);
    Pump();
    EXPECT_FALSE(watcher_->Paused());
    EXPECT_EQ(refreshes_, 1);
  }
}

// A user folder with letters beyond ASCII, which the system reports spelt in another case, still holds
// the program's own file: the watcher is not paused by it.
TEST_F(WatcherTest, OurFileInAFolderOfNonAsciiLettersSpeltInAnotherCaseIsStillOurs) {
  last_.installed = {"C:\\Users\\Ärger Папка\\Quelm_Rask.bmp"};
  Shows("c:\\users\\ärger папка\\QUELM_RASK.BMP");
  WallpaperSet();
  EXPECT_FALSE(watcher_->Paused());
  Shows("C:\\Users\\Ärger Папкб\\Quelm_Rask.bmp");  // another folder
  WallpaperSet();
  EXPECT_TRUE(watcher_->Paused());
}

// A real "/watch" process, ended and closed however the test ends.
class WatchProcess {
 public:
  explicit WatchProcess(const std::string& program) {
    STARTUPINFOW start{};
    start.cb = sizeof(start);
    std::wstring line = L"\"" + win::Wide(program) + L"\" /watch";
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &info_))
      CloseHandle(info_.hThread);
  }
  WatchProcess(const WatchProcess&) = delete;
  WatchProcess& operator=(const WatchProcess&) = delete;
  ~WatchProcess() {
    if (!info_.hProcess) return;
    TerminateProcess(info_.hProcess, 0);
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hProcess);
  }
  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }
  // Until it has looked once and waits for messages.
  bool Idle() const { return WaitForInputIdle(info_.hProcess, 10000) == 0; }

 private:
  PROCESS_INFORMATION info_{};
};

// Waits for `path` to appear, woken by the folder's changes; false when it has not within `ms`.
bool AppearsWithin(const std::string& path, DWORD ms) {
  const std::wstring folder = win::ApiPath(path.substr(0, path.find_last_of('\\') + 1));
  const HANDLE change = FindFirstChangeNotificationW(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  if (change == INVALID_HANDLE_VALUE) return false;
  const DWORD end = GetTickCount() + ms;
  bool there = win::ReadFileBytes(path).has_value();
  while (!there && static_cast<int>(end - GetTickCount()) > 0) {
    if (WaitForSingleObject(change, end - GetTickCount()) != WAIT_OBJECT_0) break;
    there = win::ReadFileBytes(path).has_value();
    FindNextChangeNotification(change);
  }
  FindCloseChangeNotification(change);
  return there || win::ReadFileBytes(path).has_value();
}

// The program itself: "/watch" shows no window and writes the wallpaper again after a broadcast.
TEST(WatchCommand, ARunningWatcherShowsNoWindowAndMakesADeletedWallpaperAgain) {
  test::TempFolder folder;
  test::WallpaperSettingsGuard wallpaperGuard;
  const std::string program = test::ProgramIn(folder.path());
  const std::string table =
      folder.Write("t.qlm", EncodeTableFile(TableModel{}, 2, 2, {0, 80, 80, 80, 80, 80}));
  // A remembered wallpaper: the command line's /set remembers what it installs.
  ASSERT_EQ(test::RunProgram(program, "/render \"" + table + "\" /set").exitCode, 0u);
  const std::string bitmap = WallpaperBitmapPath();
  ASSERT_TRUE(win::ReadFileBytes(bitmap));

  const WatchProcess watch(program);
  ASSERT_TRUE(watch.Started());
  ASSERT_TRUE(watch.Idle());  // started and looked once
  static DWORD pid = watch.Id();
  static int visible = 0;
  EnumWindows(
      [](HWND h, LPARAM) CALLBACK -> BOOL {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner == pid && IsWindowVisible(h)) ++visible;
        return TRUE;
      },
      0);
  EXPECT_EQ(visible, 0);

  ASSERT_TRUE(win::DeletePath(bitmap));
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(HWND_BROADCAST, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768), SMTO_ABORTIFHUNG, 2000,
                      &ignored);
  EXPECT_TRUE(AppearsWithin(bitmap, 5000)) << "made again within 5 s";
  // A second watcher finds the first and ends at once.
  EXPECT_EQ(test::RunProgram(program, "/watch").exitCode, 0u);
  win::DeletePath(LastWallpaperPath());
}

}  // namespace
}  // namespace qr
