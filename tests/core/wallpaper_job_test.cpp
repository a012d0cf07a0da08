// The wallpaper job's portable parts: the stored background and placement values, the table taken from
// the model or a file, and the table's corner from the editor's saved position as the create command
// computes it.
#include "core/wallpaper_job.h"

#include <gtest/gtest.h>

namespace qr {
namespace {

// The editor's default grid (10 x 2, widths 80) on a 1024 x 768 screen at 15 twips per pixel.
EditorPlacementInput DefaultGridOnTheTestScreen() {
  EditorPlacementInput input;
  input.screenPx = {1024, 768};
  input.rows = 10;
  input.cols = 2;
  input.widths = {0, 80, 80, 80, 80, 80};
  return input;
}

TEST(WallpaperJob, StoredBackgroundAndPlacementValuesMapToTheirKinds) {
  EXPECT_EQ(BackgroundKindOf(0), BackgroundKind::CurrentWallpaper);
  EXPECT_EQ(BackgroundKindOf(1), BackgroundKind::ImageFile);
  EXPECT_EQ(BackgroundKindOf(2), BackgroundKind::DesktopColour);
  EXPECT_EQ(BackgroundKindOf(-1), BackgroundKind::DesktopColour);  // any other value: no wallpaper
  EXPECT_EQ(BackgroundKindOf(7), BackgroundKind::DesktopColour);
  EXPECT_EQ(PlacementOf(0), Placement::Centred);
  EXPECT_EQ(PlacementOf(1), Placement::Tiled);
  EXPECT_EQ(PlacementOf(2), Placement::FullScreen);
  EXPECT_EQ(PlacementOf(3), Placement::None);
  EXPECT_EQ(PlacementOf(-1), Placement::None);
}

TEST(WallpaperJob, TheTableHoldsTheRowsInUseAndAnswersOnlyInsideThem) {
  TableModel model;
  model.At(2, 5).text = "last column";
  model.At(3, 1).text = "beyond the rows";
  const JobTable table = JobTableFrom(model, 2, 3, {0, 10, 20, 30, 40, 50});
  EXPECT_EQ(table.cells.size(), 2u);
  ASSERT_NE(table.At(2, 5), nullptr);
  EXPECT_EQ(table.At(2, 5)->text, "last column");
  EXPECT_EQ(table.At(3, 1), nullptr);
  EXPECT_EQ(table.At(0, 1), nullptr);
  EXPECT_EQ(table.At(1, 6), nullptr);
  EXPECT_EQ(JobTableFrom(model, 99, 2, {}).cells.size(), size_t{kMaxRows});
  EXPECT_TRUE(JobTableFrom(model, -3, 2, {}).cells.empty());

  const auto decoded = DecodeTableFile(EncodeTableFile(model, 2, 3, {0, 10, 20, 30, 40, 50}));
  ASSERT_TRUE(decoded);
  const JobTable fromFile = JobTableFrom(*decoded);
  EXPECT_EQ(fromFile.rows, 2);
  EXPECT_EQ(fromFile.cols, 3);
  EXPECT_EQ(fromFile.widths[3], 30);
  EXPECT_EQ(fromFile.At(2, 5)->text, "last column");
}

TEST(WallpaperJob, TheCornerFollowsTheSavedEditorPositionAsTheCreateCommandComputesIt) {
  EditorPlacementInput input = DefaultGridOnTheTestScreen();
  input.leftTwips = 4500;
  input.topTwips = 2250;
  Rect window = EditorWindowRect(input);
  EXPECT_EQ(window, (Rect{300, 150, 323, 301}));  // the minimum width; (209 + 52 + 40) rows of pixels
  EXPECT_EQ(TableCornerFor(window, 15, 15), (Point{300 + 4 + 12, 150 + 52 + 12}));

  input.leftTwips = 4507;  // 300.47 pixels: the window stands at 300
  input.topTwips = 2257;   // 150.47
  EXPECT_EQ(TableCornerFor(EditorWindowRect(input), 15, 15), (Point{316, 214}));

  input.twipsPerPixelX = input.twipsPerPixelY = 12;  // 120 pixels per inch
  input.leftTwips = 4500;
  input.topTwips = 2250;  // 187.5 pixels: halves away from zero, as the window rounds
  window = EditorWindowRect(input);
  EXPECT_EQ(window.x, 375);
  EXPECT_EQ(window.y, 188);
  EXPECT_EQ(TableCornerFor(window, 12, 12), (Point{391, 252}));
}

TEST(WallpaperJob, WithoutASavedPositionTheEditorIsCentred) {
  EditorPlacementInput input = DefaultGridOnTheTestScreen();
  input.leftTwips = -1;
  input.topTwips = 600;  // either -1 centres
  const Rect window = EditorWindowRect(input);
  EXPECT_EQ(window, CentredEditorWindowRect(input));
  EXPECT_EQ(window, (Rect{351, 234, 323, 301}));  // (1024 - 323) / 2 = 350.5 and (768 - 301) / 2 = 233.5
}

}  // namespace
}  // namespace qr
