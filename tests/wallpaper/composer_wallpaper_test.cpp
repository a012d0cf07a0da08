// The current wallpaper as background: the file the system reports, laid out in the recorded style.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/geometry.h"
#include "core/table_model.h"
#include "support/temp_folder.h"
#include "wallpaper/composer.h"
#include "wallpaper/render.h"
#include "wallpaper/write_files.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/image_test_pictures.h"
#include "win32/text.h"
#include "win32/wallpaper.h"
#include "win32/wallpaper_test_settings.h"

namespace qr {
namespace {

using test::CountOther;
using win::Surface;

constexpr COLORREF kDesk = RGB(10, 20, 30);
constexpr COLORREF kTL = RGB(255, 0, 0), kTR = RGB(0, 255, 0), kBL = RGB(0, 0, 255), kBR = RGB(255, 255, 0);

class CurrentWallpaperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_.File("wallpaper.bmp");
    ASSERT_TRUE(win::WriteBitmapFile(test::QuadrantPicture(400, 200), path_));
    ASSERT_TRUE(win::SetDesktopWallpaper(path_));
  }

  static Surface Compose(const std::wstring& style, const std::wstring& tile) {
    test::WallpaperSettingsGuard::SetStyle(style, tile);
    Surface target(1024, 768, RGB(255, 255, 255));
    ComposeBackground(target, {BackgroundKind::CurrentWallpaper, "", Placement::Centred, kDesk});
    return target;
  }

  static int DeskPixels(const Surface& s) { return 1024 * 768 - CountOther(s, 0, 0, 1024, 768, kDesk); }

  test::WallpaperSettingsGuard settings_;
  test::TempFolder folder_;
  std::string path_;
};

TEST_F(CurrentWallpaperTest, CentredOnTheDesktopColour) {
  const Surface s = Compose(L"0", L"0");  // at (312, 284)
  EXPECT_EQ(s.Pixel(312, 284), kTL);
  EXPECT_EQ(s.Pixel(711, 483), kBR);
  EXPECT_EQ(s.Pixel(311, 284), kDesk);
  EXPECT_EQ(s.Pixel(712, 483), kDesk);
  EXPECT_EQ(DeskPixels(s), 1024 * 768 - 400 * 200);
}

TEST_F(CurrentWallpaperTest, Tiled) {
  const Surface s = Compose(L"0", L"1");
  const Surface picture = test::QuadrantPicture(400, 200);
  Surface reference(1024, 768);
  for (const Point p : TileOrigins(1024, 768, 400, 200))
    BitBlt(reference.dc(), p.x, p.y, 400, 200, picture.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(test::CountDifferences(s, reference), 0);
}

TEST_F(CurrentWallpaperTest, StretchedOverTheWholeScreen) {
  const Surface s = Compose(L"2", L"0");
  EXPECT_EQ(DeskPixels(s), 0);
  EXPECT_EQ(s.Pixel(0, 0), kTL);
  EXPECT_EQ(s.Pixel(1023, 0), kTR);
  EXPECT_EQ(s.Pixel(0, 767), kBL);
  EXPECT_EQ(s.Pixel(1023, 767), kBR);
}

TEST_F(CurrentWallpaperTest, FittedInsideTheScreen) {
  const Surface s = Compose(L"6", L"0");  // 1024 x 512 at (0, 128)
  EXPECT_EQ(s.Pixel(0, 127), kDesk);
  EXPECT_EQ(s.Pixel(0, 128), kTL);
  EXPECT_EQ(s.Pixel(1023, 639), kBR);
  EXPECT_EQ(s.Pixel(1023, 640), kDesk);
  EXPECT_EQ(DeskPixels(s), 1024 * 256);
}

TEST_F(CurrentWallpaperTest, FillingTheScreen) {
  for (const wchar_t* style : {L"10", L"22"}) {
    const Surface s = Compose(style, L"0");  // 1536 x 768 at (-256, 0)
    EXPECT_EQ(DeskPixels(s), 0);
    EXPECT_EQ(s.Pixel(0, 0), kTL);
    EXPECT_EQ(s.Pixel(510, 0), kTL);
    EXPECT_EQ(s.Pixel(514, 0), kTR);
    EXPECT_EQ(s.Pixel(1023, 767), kBR);
  }
}

TEST_F(CurrentWallpaperTest, AWallpaperFileThatIsGoneLeavesTheDesktopColour) {
  ASSERT_TRUE(win::DeletePath(path_));
  EXPECT_EQ(DeskPixels(Compose(L"2", L"0")), 1024 * 768);
}

TEST_F(CurrentWallpaperTest, WithoutAWallpaperFileTheSystemPaintsTheDesktop) {
  ASSERT_TRUE(win::SetDesktopWallpaper(""));
  const Surface s = Compose(L"0", L"0");
  Surface desktop(1024, 768, kDesk);
  ASSERT_TRUE(PaintDesktop(desktop.dc()));
  EXPECT_EQ(test::CountDifferences(s, desktop), 0);
}

// Written band by band (centred, tiled) or whole (stretched), the wallpaper over the current one is the
// whole composed screen's, byte for byte, the table's cells included.
TEST_F(CurrentWallpaperTest, TheBandedBitmapIsTheWholeScreensInEveryStyle) {
  TableModel table;
  table.At(1, 1).text = "予定";
  table.At(2, 2).text = "Quelm";
  WallpaperJob job;
  job.display = SingleMonitorLayout({1023, 767});
  job.background = {BackgroundKind::CurrentWallpaper, "", Placement::Centred, kDesk};
  job.table = JobTableFrom(table, 2, 2, {0, 90, 90, 80, 80, 80});
  job.tableAt = {350, 240};  // on the centred picture, across the bands' edge at row 255
  job.transparent = true;
  for (const auto& [style, tile] : {std::pair{L"0", L"0"}, {L"0", L"1"}, {L"2", L"0"}}) {
    test::WallpaperSettingsGuard::SetStyle(style, tile);
    const std::string whole = folder_.File("whole.bmp"), banded = folder_.File("banded.bmp");
    ASSERT_TRUE(win::WriteBitmapFile(RenderWallpaper(job), whole));
    ASSERT_TRUE(WriteWallpaperBitmap(job, banded));
    const auto expected = win::ReadFileBytes(whole);
    ASSERT_TRUE(expected);
    EXPECT_TRUE(win::ReadFileBytes(banded) == expected) << win::Utf8(style) << win::Utf8(tile);
  }
}

}  // namespace
}  // namespace qr
