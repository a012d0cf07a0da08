// Several monitors: each gets its own picture, a table across two of them meets without a seam, the
// virtual screen's picture is rolled for tiling from the primary's corner, and the per-monitor
// installation gives each monitor its own file, shown centred.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>

#include "support/same_bitmap.h"
#include "support/temp_folder.h"
#include "wallpaper/install_files.h"
#include "wallpaper/render.h"
#include "wallpaper/write_files.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/image.h"
#include "win32/image_test_pictures.h"

namespace qr {
namespace {

using win::Surface;

constexpr COLORREF kDesk = RGB(10, 90, 160);

DisplayLayout SideBySide() {
  DisplayLayout layout = SingleMonitorLayout({640, 480});
  layout.monitors.push_back({{-400, 100, 400, 300}, 96, false, "\\\\.\\DISPLAY2"});
  return layout;
}

WallpaperJob TableAt(const DisplayLayout& display, Point at, bool transparent) {
  TableModel model;
  model.At(1, 1).text = "予定";
  model.At(2, 2).text = "Quelm";
  WallpaperJob job;
  job.display = display;
  job.background = {BackgroundKind::DesktopColour, "", Placement::Centred, kDesk};
  job.table = JobTableFrom(model, 3, 2, {0, 90, 90, 80, 80, 80});
  job.tableAt = at;
  job.transparent = transparent;
  return job;
}

// Records what the program asks of the system's per-monitor wallpapers.
class FakeMonitorWallpapers : public win::MonitorWallpapers {
 public:
  std::vector<Monitor> Monitors() override {
    return {{"\\\\?\\DISPLAY#SECOND", {-400, 100, 400, 300}}, {"\\\\?\\DISPLAY#FIRST", {0, 0, 640, 480}}};
  }
  bool SetWallpaper(const std::string& monitorId, const std::string& path) override {
    files[monitorId] = path;
    return true;
  }
  std::string Wallpaper(const std::string& monitorId) override { return files[monitorId]; }
  bool ShowCentred() override {
    ++centred;
    return true;
  }
  std::map<std::string, std::string> files;
  int centred = 0;
};

TEST(Monitors, ATableAcrossTwoMonitorsIsSplitWithoutASeam) {
  for (const bool transparent : {true, false}) {
    // The straddling table on two monitors, and the same table on one monitor holding both.
    const WallpaperJob split = TableAt(SideBySide(), {-60, 150}, transparent);
    DisplayLayout whole = SingleMonitorLayout({1040, 480});
    const WallpaperJob one = TableAt(whole, {340, 150}, transparent);
    const Surface span = RenderSpan(split), reference = RenderWallpaper(one);
    ASSERT_TRUE(span.ok() && reference.ok());
    EXPECT_EQ(span.width(), 1040);
    EXPECT_EQ(span.height(), 480);
    // The table's rows (150 to 207) lie on both monitors: every pixel there is the single screen's.
    int differences = 0;
    for (int y = 140; y < 220; ++y)
      for (int x = 300; x < 540; ++x) differences += span.Pixel(x, y) != reference.Pixel(x, y);
    EXPECT_EQ(differences, 0) << (transparent ? "transparent" : "opaque");
    EXPECT_GT(test::CountOther(span, 340, 150, 60, 19, kDesk), 0);  // ink left of the edge
    EXPECT_GT(test::CountOther(span, 400, 150, 60, 19, kDesk), 0);  // and right of it
  }
}

TEST(Monitors, EachMonitorsPictureIsItsOwnSizeWithItsPartOfTheTable) {
  const WallpaperJob job = TableAt(SideBySide(), {-300, 200}, true);
  const Surface left = RenderMonitor(job, 1), primary = RenderMonitor(job, 0);
  ASSERT_TRUE(left.ok() && primary.ok());
  EXPECT_EQ(left.width(), 400);
  EXPECT_EQ(left.height(), 300);
  EXPECT_EQ(test::CountOther(primary, 0, 0, 640, 480, kDesk), 0);  // the table is not on the primary
  EXPECT_EQ(left.Pixel(100, 100), RGB(0, 0, 0));                   // its corner: 100,100 of the monitor
  EXPECT_EQ(test::CountOther(left, 0, 0, 100, 300, kDesk), 0);     // nothing left of it
  EXPECT_FALSE(RenderMonitor(job, 2).ok());
}

TEST(Monitors, EachMonitorShowsItsOwnCurrentWallpaper) {
  test::TempFolder folder;
  const std::string red = folder.File("red.bmp"), blue = folder.File("blue.bmp");
  ASSERT_TRUE(win::WriteBitmapFile(Surface(640, 480, RGB(250, 0, 0)), red));
  ASSERT_TRUE(win::WriteBitmapFile(Surface(400, 300, RGB(0, 0, 250)), blue));
  WallpaperJob job = TableAt(SideBySide(), {2000, 2000}, true);
  job.background.kind = BackgroundKind::CurrentWallpaper;
  job.background.monitorWallpapers = {red, blue};
  EXPECT_EQ(RenderMonitor(job, 0).Pixel(320, 240), RGB(250, 0, 0));
  EXPECT_EQ(RenderMonitor(job, 1).Pixel(200, 150), RGB(0, 0, 250));
}

TEST(Monitors, TheVirtualScreenIsRolledSoThatTilingFromThePrimaryShowsEachPixelOnItsMonitor) {
  const WallpaperJob job = TableAt(SideBySide(), {-300, 200}, true);
  const Surface span = RenderSpan(job);
  const Rect virtualScreen = job.display.VirtualScreen();  // -400,0 1040 x 480
  const Surface rolled = RollForTiling(span, {virtualScreen.x, virtualScreen.y});
  ASSERT_TRUE(rolled.ok());
  // The desktop shows tile pixel ((x mod w), (y mod h)) at virtual point (x, y).
  for (const Point p : {Point{-300, 200}, Point{-1, 399}, Point{0, 0}, Point{639, 479}, Point{-400, 100}}) {
    const int u = ((p.x % rolled.width()) + rolled.width()) % rolled.width();
    const int v = ((p.y % rolled.height()) + rolled.height()) % rolled.height();
    EXPECT_EQ(rolled.Pixel(u, v), span.Pixel(p.x - virtualScreen.x, p.y - virtualScreen.y))
        << p.x << "," << p.y;
  }
  EXPECT_EQ(test::CountDifferences(RollForTiling(span, {0, 0}), span), 0);
}

// Joined band by band from the monitors' files, the whole screen's bitmap is the one written from the
// whole screen in memory, rolled or not, byte for byte.
TEST(Monitors, TheJoinedScreenFileIsTheWholeScreenPictureByteForByte) {
  test::TempFolder folder;
  const WallpaperJob job = TableAt(SideBySide(), {-300, 200}, true);
  const Rect whole = job.display.VirtualScreen();
  for (const bool rolled : {false, true}) {
    const Surface span = RenderSpan(job);
    const std::string joined = folder.File("joined.bmp"), reference = folder.File("reference.bmp");
    ASSERT_TRUE(WriteSpanFile(job, joined, rolled));
    ASSERT_TRUE(
        win::WriteBitmapFile(rolled ? RollForTiling(span, {whole.x, whole.y}) : RenderSpan(job), reference));
    EXPECT_TRUE(test::SameBitmapBytes(win::ReadFileBytes(joined), win::ReadFileBytes(reference))) << rolled;
  }
  EXPECT_FALSE(win::ReadFileBytes(folder.File("joined.bmp.part1~")));  // the parts are gone
}

TEST(Monitors, PerMonitorInstallationGivesEachMonitorItsOwnFileShownCentred) {
  test::TempFolder folder;
  const WallpaperJob job = TableAt(SideBySide(), {-300, 200}, true);
  FakeMonitorWallpapers system;
  const std::string fixed = folder.File("Quelm_Rask.bmp");
  const auto files = WriteWallpaperFiles(job, fixed, &system);
  ASSERT_TRUE(files);
  ASSERT_EQ(files->paths, (std::vector<std::string>{fixed, folder.File("Quelm_Rask2.bmp")}));
  const auto second = win::LoadImageFile(files->paths[1]);
  ASSERT_TRUE(second);
  EXPECT_EQ(test::CountDifferences(second->pixels, RenderMonitor(job, 1)), 0);

  // Saved under a name of its own, the primary's file is that one; the other stays beside the fixed file.
  ASSERT_TRUE(InstallWallpaperFiles(*files, job, folder.File("mine.bmp"), &system));
  EXPECT_EQ(system.files["\\\\?\\DISPLAY#FIRST"], folder.File("mine.bmp"));
  EXPECT_EQ(system.files["\\\\?\\DISPLAY#SECOND"], folder.File("Quelm_Rask2.bmp"));
  EXPECT_EQ(system.centred, 1);

  EXPECT_EQ(MonitorBitmapPath("C:\\Quelm_Rask.bmp", 3), "C:\\Quelm_Rask3.bmp");
  EXPECT_EQ(MonitorBitmapPath("C:\\a.b\\Quelm_Rask", 2), "C:\\a.b\\Quelm_Rask2");
}

TEST(Monitors, OnOneMonitorTheOneFileIsWrittenAsAlways) {
  test::TempFolder folder;
  const WallpaperJob job = TableAt(SingleMonitorLayout({640, 480}), {100, 100}, false);
  FakeMonitorWallpapers system;
  const auto files = WriteWallpaperFiles(job, folder.File("Quelm_Rask.bmp"), &system);
  ASSERT_TRUE(files);
  EXPECT_EQ(files->kind, WallpaperFiles::Kind::Single);
  const auto written = win::LoadImageFile(folder.File("Quelm_Rask.bmp"));
  ASSERT_TRUE(written);
  EXPECT_EQ(test::CountDifferences(written->pixels, RenderWallpaper(job)), 0);
  EXPECT_TRUE(system.files.empty());
}

}  // namespace
}  // namespace qr
