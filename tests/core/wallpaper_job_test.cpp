// The wallpaper job's portable parts: the stored background and placement values, the table taken from
// the model or a file, and the table's corner from the editor's saved position as the create command
// computes it.
#include "core/wallpaper_job.h"

#include <gtest/gtest.h>

namespace qr {
namespace {

// The editor's default grid (10 x 2, widths 80) at its saved place.
EditorPlace DefaultGridAt(int32_t leftTwips, int32_t topTwips) {
  return {leftTwips, topTwips, 10, 2, {0, 80, 80, 80, 80, 80}};
}

DisplayLayout TwoMonitors(int32_t secondaryDpi) {
  DisplayLayout layout = SingleMonitorLayout({1024, 768});
  layout.monitors.push_back({{-800, 100, 800, 600}, secondaryDpi, false, "\\\\.\\DISPLAY2"});
  return layout;
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

TEST(WallpaperJob, TheCornerIsTheFirstCellsTextAreaAtTheEditorsScale) {
  const DisplayLayout screen = SingleMonitorLayout({1024, 768});
  EXPECT_EQ(EditorWindowOnDisplay(DefaultGridAt(4500, 2250), screen), (Rect{300, 150, 323, 301}));
  // Grid box at 4,52, its edge, the cell at 8,8, the cell's edge.
  EXPECT_EQ(TablePlaceFromEditor(DefaultGridAt(4500, 2250), screen), (TablePlace{{316, 214}, 96}));
  EXPECT_EQ(TablePlaceFromEditor(DefaultGridAt(4507, 2257), screen).corner, (Point{316, 214}));  // 300.47

  // 144 dpi on a 1600 x 1200 screen: the design offsets scale, the edges stay two pixels.
  const DisplayLayout scaled = SingleMonitorLayout({1600, 1200}, 144);
  const TablePlace place = TablePlaceFromEditor(DefaultGridAt(5560, 3700), scaled);
  EXPECT_EQ(place.corner, (Point{556 + 6 + 2 + 12 + 2, 370 + 78 + 2 + 12 + 2}));
  EXPECT_EQ(place.dpi, 144);
  // 120 dpi: 187.5 pixels round away from zero as the window does; 4 and 8 scale to 5 and 10.
  const TablePlace at120 =
      TablePlaceFromEditor(DefaultGridAt(4500, 2250), SingleMonitorLayout({1024, 768}, 120));
  EXPECT_EQ(at120.corner, (Point{375 + 19, 188 + 79}));
}

TEST(WallpaperJob, AnEditorOffEveryMonitorOpensCentredOnThePrimary) {
  const DisplayLayout screen = SingleMonitorLayout({1024, 768});
  // Either coordinate -1, a place beyond the screen, and a place on a monitor since removed.
  for (const EditorPlace place :
       {DefaultGridAt(-1, 600), DefaultGridAt(30000, 3000), DefaultGridAt(-9000, 3000)})
    EXPECT_EQ(EditorWindowOnDisplay(place, screen), (Rect{351, 234, 323, 301}));  // 350.5 and 233.5
  // The same place is kept while its monitor is there.
  EXPECT_EQ(EditorWindowOnDisplay(DefaultGridAt(-9000, 3000), TwoMonitors(96)).x, -600);
}

TEST(WallpaperJob, OnASecondaryMonitorTheTableTakesThatMonitorsScale) {
  // The editor at -600,200 on a 144 dpi monitor left of the primary: the corner in negative coordinates.
  const TablePlace place = TablePlaceFromEditor(DefaultGridAt(-9000, 3000), TwoMonitors(144));
  EXPECT_EQ(place.dpi, 144);
  EXPECT_EQ(place.corner, (Point{-600 + 22, 200 + 94}));
  // Straddling the edge, the window counts for the monitor it overlaps most.
  EXPECT_EQ(TablePlaceFromEditor(DefaultGridAt(-1500, 3000), TwoMonitors(144)).dpi, 96);
}

TEST(WallpaperJob, ACornerGivenByHandOnNoMonitorMovesOntoTheNearestInsideItsEdges) {
  JobTable table;
  table.rows = 2;
  table.cols = 2;
  table.widths = {0, 80, 80, 80, 80, 80};
  const DisplayLayout layout = TwoMonitors(120);
  EXPECT_EQ(TablePlaceAt({-700, 200}, table, layout, true), (TablePlace{{-700, 200}, 120}));
  EXPECT_EQ(TablePlaceAt({-70, 20}, table, layout, true).corner, (Point{-70, 20}));  // partly on both: kept
  EXPECT_EQ(TablePlaceAt({5000, 900}, table, layout, true), (TablePlace{{1024 - 160, 768 - 38}, 96}));
  EXPECT_EQ(TablePlaceAt({-2000, 0}, table, layout, true), (TablePlace{{-800, 100}, 120}));

  // Opaque cells' sunken edges begin two pixels up and left of the corner: they stay on the monitor too,
  // and at 120 dpi the table is measured at that scale.
  const TablePlace left = TablePlaceAt({-2000, -500}, table, layout, false);
  EXPECT_EQ(left.corner, (Point{-800 + 2, 100 + 2}));
  const Rect drawn = DrawnTableRect(left.corner, table, left.dpi, false);
  EXPECT_EQ(drawn.x, -800);
  EXPECT_EQ(drawn.y, 100);
  const TablePlace right = TablePlaceAt({-900, 1000}, table, layout, false);
  const Rect low = DrawnTableRect(right.corner, table, 120, false);
  EXPECT_EQ(low.y + low.h, 700);
  EXPECT_EQ(low.h, TableOuterSize(table, 120).h);
  EXPECT_GT(low.h, 38);
}

TEST(WallpaperJob, TheBuilderTakesTheBackgroundAndOptionsFromTheState) {
  AppState state;
  state.G_Kabe = 1;
  state.Kabe_File = "C:\\p.jpg";
  state.G_Pos = 2;
  state.Trans = 1;
  JobInputs inputs;
  inputs.choices = JobChoicesOf(state);
  inputs.display = TwoMonitors(96);
  inputs.desktopColour = 0x123456;
  inputs.at = Point{-700, 200};
  const WallpaperJob job = BuildWallpaperJob(inputs);
  EXPECT_EQ(job.background,
            (JobBackground{BackgroundKind::ImageFile, "C:\\p.jpg", Placement::FullScreen, 0x123456}));
  EXPECT_TRUE(job.transparent);
  EXPECT_EQ(job.tableAt, (Point{-700, 200}));
  EXPECT_EQ(job.display, inputs.display);
}

}  // namespace
}  // namespace qr
