// The remembered wallpaper on its road back: refreshes over "現在の壁紙" on two monitors use only the kept
// copy of the wallpaper the table was first drawn over, a snapshot that cannot be saved is said and never
// brings back an older wallpaper, and a damaged snapshot or background says what is wrong.
#include "wallpaper/refresh.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "app/run_command_line.h"
#include "core/table_record.h"
#include "shared/fixed_files.h"
#include "shared/profile_store.h"
#include "support/temp_folder.h"
#include "wallpaper/remember.h"
#include "win32/bitmap_file.h"
#include "win32/display.h"
#include "win32/files.h"
#include "win32/image_test_pictures.h"
#include "win32/text.h"
#include "win32/wallpaper.h"
#include "win32/wallpaper_test_settings.h"

namespace qr {
namespace {

class RefreshTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OverrideFixedFileFolders(FixedFileFolders{folder_.path(), folder_.File("appdata")});
    TableModel model;
    model.At(1, 1).text = "予定";
    model.At(1, 1).backColor = RGB(200, 30, 80);
    model.At(2, 2).text = "Quelm";
    table_ = folder_.Write("t.qlm", EncodeTableFile(model, 3, 2, {0, 100, 60, 80, 80, 80}));
    // Over the current wallpaper, a tiled picture, with a translucent panel under the cells.
    for (const auto& [key, value] : {std::pair{"G_Kabe", "0"}, {"Trans", "1"}, {"Text_Effect", "3"}})
      ProfileKeyStore(folder_.File("Quelm_Rask.ini")).Write("Section", key, value);
    const std::string picture = folder_.File("tile.bmp");
    ASSERT_TRUE(win::WriteBitmapFile(test::QuadrantPicture(300, 200), picture));
    ASSERT_TRUE(win::SetDesktopWallpaper(picture));
    test::WallpaperSettingsGuard::SetStyle(L"0", L"1");
  }
  void TearDown() override {
    win::OverrideDisplay(std::nullopt);
    OverrideFixedFileFolders(std::nullopt);
  }

  // The system's display with a second monitor `second` beside it.
  static void TwoMonitors(Rect second) {
    win::OverrideDisplay(std::nullopt);
    DisplayLayout two = win::CurrentDisplay();
    two.monitors.push_back(MonitorInfo{second, two.systemDpi, false, "\\\\.\\DISPLAY9"});
    win::OverrideDisplay(two);
  }

  RenderExit Render(std::string& said, std::optional<std::string> out = std::nullopt, Point at = {300, 300}) {
    const RenderRequest request{table_, out, true, at, std::nullopt};
    return RunRender(request, folder_.path(), [&](std::string_view text) { said += text; });
  }

  test::WallpaperSettingsGuard wallpaperGuard_;
  test::TempFolder folder_;
  std::string table_;
};

TEST_F(RefreshTest, OnTwoMonitorsRefreshesRepeatTheInstalledBytesAndFollowAGrownDisplay) {
  TwoMonitors({1024, 0, 800, 600});
  std::string said;
  ASSERT_EQ(Render(said), RenderExit::Done) << said;
  const auto installed = win::ReadFileBytes(WallpaperBitmapPath());
  ASSERT_TRUE(installed);
  for (int run = 1; run <= 3; ++run) {
    ASSERT_EQ(RefreshLastWallpaper(nullptr), RefreshResult::Done);
    EXPECT_TRUE(win::ReadFileBytes(WallpaperBitmapPath()) == installed) << "refresh " << run;
  }
  // The display grows: made again from the kept copy, so a second refresh changes nothing either.
  TwoMonitors({1024, 0, 1280, 1024});
  ASSERT_EQ(RefreshLastWallpaper(nullptr), RefreshResult::Done);
  const auto grown = win::ReadFileBytes(WallpaperBitmapPath());
  ASSERT_TRUE(grown);
  EXPECT_NE(grown->size(), installed->size());
  ASSERT_EQ(RefreshLastWallpaper(nullptr), RefreshResult::Done);
  EXPECT_TRUE(win::ReadFileBytes(WallpaperBitmapPath()) == grown);
}

TEST_F(RefreshTest, ANewWallpaperOverTheProgramsOwnIsDrawnOverWhatThatOneWasDrawnOver) {
  std::string said;
  ASSERT_EQ(Render(said), RenderExit::Done) << said;
  const auto first = win::ReadFileBytes(WallpaperBitmapPath());
  ASSERT_EQ(Render(said), RenderExit::Done) << said;  // the program's own wallpaper is shown now
  EXPECT_TRUE(win::ReadFileBytes(WallpaperBitmapPath()) == first);
}

TEST_F(RefreshTest, ASnapshotThatCannotBeSavedIsSaidAndTheOldOneIsNotUsed) {
  std::string said;
  ASSERT_EQ(Render(said), RenderExit::Done) << said;
  ASSERT_TRUE(LoadLastWallpaper());
  // The snapshot is written beside its file first: a folder of that name stops the write.
  const std::string beside = LastWallpaperPath() + ".tmp~";
  ASSERT_TRUE(CreateDirectoryW(win::Wide(beside).c_str(), nullptr));
  said.clear();
  EXPECT_EQ(Render(said), RenderExit::NotRemembered);
  EXPECT_NE(said.find("警告: " + std::string(kNotRemembered) + LastWallpaperPath()), std::string::npos)
      << said;
  EXPECT_EQ(int(RenderExit::NotRemembered), 6);
  EXPECT_EQ(RunRefresh([](std::string_view) {}), RenderExit::InputMissing);  // nothing older comes back

  // The next wallpaper over this one, remembered again, is drawn over the first background, not over the
  // program's own output the snapshot missed.
  ASSERT_TRUE(RemoveDirectoryW(win::Wide(beside).c_str()));
  ASSERT_EQ(Render(said), RenderExit::Done);
  const auto last = LoadLastWallpaper();
  ASSERT_TRUE(last && !last->background.monitorWallpapers.empty());
  EXPECT_TRUE(win::ReadFileBytes(last->background.monitorWallpapers.front()) ==
              win::ReadFileBytes(folder_.File("tile.bmp")));

  // Read-only, the same.
  ASSERT_TRUE(SetFileAttributesW(win::Wide(LastWallpaperPath()).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Render(said, std::nullopt, {200, 100}), RenderExit::NotRemembered);
  EXPECT_EQ(RunRefresh([](std::string_view) {}), RenderExit::InputMissing);
  ASSERT_TRUE(SetFileAttributesW(win::Wide(LastWallpaperPath()).c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(Render(said), RenderExit::Done);
  EXPECT_EQ(RunRefresh([](std::string_view) {}), RenderExit::Done);
}

// Where the old snapshot can be neither replaced, removed nor marked stale, it no longer describes the
// wallpaper installed: a refresh refuses rather than bring back the older wallpaper, whether the new one
// went to another file or over the old one's.
TEST_F(RefreshTest, ASnapshotLeftFromAnOlderWallpaperIsNeverInstalledAgain) {
  std::string said;
  ASSERT_EQ(Render(said), RenderExit::Done) << said;
  const std::string snapshot = LastWallpaperPath();
  for (const std::string& blocked : {snapshot + ".tmp~", snapshot + ".stale.tmp~"})
    ASSERT_TRUE(CreateDirectoryW(win::Wide(blocked).c_str(), nullptr));
  ASSERT_TRUE(SetFileAttributesW(win::Wide(snapshot).c_str(), FILE_ATTRIBUTE_READONLY));

  const std::string other = folder_.File("other.bmp");
  ASSERT_EQ(Render(said, other), RenderExit::NotRemembered);
  ASSERT_TRUE(LoadLastWallpaper());  // still there, unmarked
  const auto otherBytes = win::ReadFileBytes(other);
  said.clear();
  EXPECT_EQ(RunRefresh([&](std::string_view text) { said += text; }), RenderExit::InputMissing);
  EXPECT_NE(said.find(kNotInstalledNow + snapshot), std::string::npos) << said;
  EXPECT_TRUE(win::SamePath(win::GetCurrentWallpaper()->path, other));
  EXPECT_TRUE(win::ReadFileBytes(other) == otherBytes);

  ASSERT_EQ(Render(said, std::nullopt, {500, 400}), RenderExit::NotRemembered);
  const auto newer = win::ReadFileBytes(WallpaperBitmapPath());
  EXPECT_EQ(RunRefresh([](std::string_view) {}), RenderExit::InputMissing);
  EXPECT_TRUE(win::ReadFileBytes(WallpaperBitmapPath()) == newer);
  SetFileAttributesW(win::Wide(snapshot).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The file chosen with /out is the one installed, and stays so when the wallpaper is made again.
TEST_F(RefreshTest, ARefreshKeepsTheFileChosenWithOut) {
  std::string said;
  const std::string chosen = folder_.File("mine.bmp");
  ASSERT_EQ(Render(said, chosen), RenderExit::Done) << said;
  TwoMonitors({1024, 0, 800, 600});
  ASSERT_EQ(RunRefresh([](std::string_view) {}), RenderExit::Done);
  EXPECT_TRUE(win::SamePath(win::GetCurrentWallpaper()->path, chosen));
  EXPECT_FALSE(win::PathIsPresent(WallpaperBitmapPath()));
}

// The kept copy of the wallpaper the table was drawn over, gone: said by name, as a missing picture is,
// instead of a desktop colour without a word.
TEST_F(RefreshTest, AKeptCopyThatIsGoneIsSaidByName) {
  std::string said;
  ASSERT_EQ(Render(said), RenderExit::Done) << said;
  const auto last = LoadLastWallpaper();
  ASSERT_TRUE(last && !last->background.monitorWallpapers.empty());
  const std::string copy = last->background.monitorWallpapers.front();
  ASSERT_TRUE(win::DeletePath(copy));
  said.clear();
  EXPECT_EQ(RunRefresh([&](std::string_view text) { said += text; }), RenderExit::Done);
  EXPECT_NE(said.find(kRefreshKeptCopyMissing + copy), std::string::npos) << said;
}

TEST_F(RefreshTest, ADamagedSnapshotOrABackgroundThatIsNoPictureSaysWhatIsWrong) {
  ProfileKeyStore settings(folder_.File("Quelm_Rask.ini"));
  settings.Write("Section", "G_Kabe", "1");
  settings.Write("Section", "G_Kabe_File", folder_.File("tile.bmp"));
  std::string said;
  ASSERT_EQ(Render(said), RenderExit::Done) << said;
  // Now the remembered background is no picture (as a damaged snapshot may name a program's file).
  const std::string notPicture =
      folder_.Write("tile.bmp", std::string("MZ\x90\0\3", 5) + std::string(400, 'x'));
  said.clear();
  EXPECT_EQ(RunRefresh([&](std::string_view text) { said += text; }), RenderExit::Done);
  EXPECT_NE(said.find(std::string(kRefreshNotAPicture) + notPicture), std::string::npos) << said;

  ASSERT_TRUE(win::ReplaceFileContents(LastWallpaperPath(), "Quelm_Rask last wallpaper 1\r\ndamaged"));
  said.clear();
  EXPECT_EQ(RunRefresh([&](std::string_view text) { said += text; }), RenderExit::InputMissing);
  EXPECT_NE(said.find(kSnapshotDamaged + LastWallpaperPath()), std::string::npos) << said;
  EXPECT_NE(said.find("壁紙貼り付け"), std::string::npos) << said;
  EXPECT_EQ(said.find(kNothingRemembered), std::string::npos) << said;
}

}  // namespace
}  // namespace qr
