// Every file the program writes, written through its own paths and held against stored bytes that the
// 32-bit and the 64-bit build must both write, and read back from those stored bytes.
//
// The stored files lie in tests/data/stored_files (QR_STORED_FILES_DIR). After a deliberate change of a
// format or of the drawing, store them again by running this program with QR_WRITE_STORED_FILES=1 in
// the environment (e.g. `QR_WRITE_STORED_FILES=1 scripts/wine-test stored_files`), check the difference,
// and run both builds without it.
#include <windows.h>
// after windows.h
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/last_wallpaper.h"
#include "core/list_file.h"
#include "core/settings.h"
#include "core/table_record.h"
#include "core/wallpaper_job.h"
#include "main_window/dispatch_test_host.h"
#include "shared/fixed_files.h"
#include "shared/helpers.h"
#include "shared/profile_store.h"
#include "support/dialog_driver.h"
#include "support/editor_fixture.h"
#include "support/temp_folder.h"
#include "table_editor/data_files.h"
#include "wallpaper/remember.h"
#include "wallpaper/render.h"
#include "wallpaper/write_files.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"

namespace qr {
namespace {

std::string StoredPath(const std::string& name) {
  std::string path = QR_STORED_FILES_DIR "/" + name;
  std::replace(path.begin(), path.end(), '/', '\\');  // the system's own separators (long paths need them)
  return path;
}

bool StoringAgain() {
  const char* value = std::getenv("QR_WRITE_STORED_FILES");
  return value && std::string(value) == "1";
}

std::string Hex(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", byte);
  return text;
}

// The written bytes against the stored file `name`: where they first differ, never the whole bytes.
// With QR_WRITE_STORED_FILES=1 the written bytes are stored instead.
::testing::AssertionResult SameAsStored(const std::string& name, const std::optional<std::string>& written) {
  if (!written) return ::testing::AssertionFailure() << name << ": nothing was written";
  if (StoringAgain()) {
    if (!win::ReplaceFileContents(StoredPath(name), *written))
      return ::testing::AssertionFailure() << "could not store " << StoredPath(name);
    std::printf("stored %s (%zu bytes)\n", name.c_str(), written->size());
    return ::testing::AssertionSuccess();
  }
  const std::optional<std::string> stored = win::ReadFileBytes(StoredPath(name));
  if (!stored)
    return ::testing::AssertionFailure()
           << StoredPath(name) << " is missing (QR_WRITE_STORED_FILES=1 stores it)";
  const auto [s, w] = std::mismatch(stored->begin(), stored->end(), written->begin(), written->end());
  if (s == stored->end() && w == written->end()) return ::testing::AssertionSuccess();
  const size_t at = static_cast<size_t>(s - stored->begin());
  auto failure = ::testing::AssertionFailure();
  failure << name << ": " << stored->size() << " bytes stored, " << written->size()
          << " written; first difference at offset " << at << ": stored "
          << (s == stored->end() ? "<end>" : Hex(static_cast<unsigned char>(*s))) << ", written "
          << (w == written->end() ? "<end>" : Hex(static_cast<unsigned char>(*w)));
  if (name.ends_with(".qlm"))
    failure << " (record " << at / kTableRecordSize + 1 << ", byte " << at % kTableRecordSize << ")";
  if (name.ends_with(".rdm"))
    failure << " (record " << at / kListRecordSize + 1 << ", byte " << at % kListRecordSize << ")";
  constexpr size_t kPixelsAt = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  if (name.ends_with(".bmp") && at >= kPixelsAt && stored->size() > kPixelsAt) {
    BITMAPINFOHEADER info;
    std::memcpy(&info, stored->data() + sizeof(BITMAPFILEHEADER), sizeof info);
    const size_t rowBytes = win::BitmapRowBytes(info.biWidth);
    const size_t row = (at - kPixelsAt) / rowBytes, column = (at - kPixelsAt) % rowBytes;
    failure << " (pixel " << column / 3 << "," << info.biHeight - 1 - static_cast<LONG>(row)
            << " from the top)";
  }
  return failure;
}

// A folder of fixed name for paths that must exist and be the same in every run (the list keeps only
// entries whose files exist, and those paths are part of its bytes).
class FixedFolder {
 public:
  static constexpr const char* kPath = "C:\\Quelm_Rask_stored_files";
  FixedFolder() {
    test::RemoveTree(kPath);
    made_ = CreateDirectoryW(win::Wide(kPath).c_str(), nullptr);
  }
  ~FixedFolder() { test::RemoveTree(kPath); }
  bool made() const { return made_; }
  static std::string File(const std::string& name) { return std::string(kPath) + "\\" + name; }
  static std::string Make(const std::string& name) {
    const std::string path = File(name);
    return win::ReplaceFileContents(path, "picture") ? path : std::string();
  }

 private:
  bool made_ = false;
};

using test::MakeCell;

// Texts with double-byte characters whose second byte is a backslash (表, 能) and half-width katakana,
// fractional sizes (half points round to even in the table file), bold, italic, system colours.
TableModel SampleTable() {
  TableModel model;
  model.At(1, 1) =
      MakeCell("表の予定", "ＭＳ Ｐゴシック", 10.5, true, false, RGB(200, 30, 40), RGB(250, 240, 10));
  model.At(1, 2) = MakeCell("ｶﾅ 能力 100%", "Arial", 11.5, false, true, 0x80000008u, 0x80000005u);
  model.At(2, 1) = MakeCell("Quelm", "ＭＳ ゴシック", 9, true, true, RGB(255, 255, 255), RGB(0, 0, 128));
  model.At(2, 2) = MakeCell("", "ＭＳ Ｐゴシック", 12, false, false, RGB(0, 0, 0), RGB(255, 255, 255));
  model.At(3, 4) = MakeCell("end \"q\", x", "Arial", 20, false, false, RGB(1, 2, 3), RGB(4, 5, 6));
  return model;
}

// The wallpaper jobs drawn into the stored bitmaps, made by the program's one builder with the table's
// corner given by hand: a table across two monitors of a layout given by hand, at 120 dpi on a translucent
// panel, and shadowed text on one small monitor.
WallpaperJob LayoutJob() {
  std::string error;
  const std::optional<DisplayLayout> display = ParseLayoutSpec("96x48@0,0;48x32@-48,8", 120, error);
  EXPECT_TRUE(display) << error;
  JobInputs inputs;
  inputs.choices = {BackgroundKind::DesktopColour, "", Placement::Centred, true, TextEffect::Panel, 75};
  inputs.table = JobTableFrom(SampleTable(), 2, 2, {0, 40, 36, 80, 80, 80});
  inputs.display = display.value_or(DisplayLayout{});
  inputs.desktopColour = RGB(10, 90, 160);
  inputs.at = Point{-30, 10};
  return BuildWallpaperJob(inputs);
}

WallpaperJob ShadowJob() {
  JobInputs inputs;
  inputs.choices = {BackgroundKind::DesktopColour, "", Placement::Centred, true, TextEffect::Shadow, 50};
  inputs.table = JobTableFrom(SampleTable(), 2, 2, {0, 50, 40, 80, 80, 80});
  inputs.display = SingleMonitorLayout({96, 40});
  inputs.desktopColour = RGB(230, 220, 200);
  inputs.at = Point{3, 2};
  return BuildWallpaperJob(inputs);
}

// How many pixels of a bitmap file, read by the program's own reader, differ from `expected`.
int DifferencesFrom(const std::string& path, const win::Surface& expected) {
  const std::optional<win::BitmapFileRows> file = win::BitmapFileRows::Open(path);
  if (!file || file->width() != expected.width() || file->height() != expected.height()) return -1;
  std::vector<uint8_t> row(win::BitmapRowBytes(file->width()));
  int differences = 0;
  for (int y = 0; y < file->height(); ++y) {
    if (!file->Read(y, 1, row.data(), row.size())) return -1;
    for (int x = 0; x < file->width(); ++x) {
      const uint8_t* bgr = row.data() + static_cast<size_t>(x) * 3;
      differences += RGB(bgr[2], bgr[1], bgr[0]) != expected.Pixel(x, y);
    }
  }
  return differences;
}

class StoredFiles : public test::EditorTest {
 protected:
  // A stored file copied where the program reads it.
  std::string CopyOfStored(const std::string& name, const std::string& to) {
    const std::optional<std::string> bytes = win::ReadFileBytes(StoredPath(name));
    return bytes && win::ReplaceFileContents(to, *bytes) ? to : std::string();
  }
};

TEST_F(StoredFiles, TableFileSavedByTheEditorIsTheStoredOneAndLoadsBackCellForCell) {
  const TableModel sample = SampleTable();
  const std::string saved = folder.File("saved.qlm");
  {
    auto editor = Open();
    state.G_Rows = 3;
    state.G_Cols = 4;
    state.G_Cols_w = {0, 60, 120, 33, 400, 0};
    editor->Build_Grid();
    for (int row = 1; row <= 3; ++row)
      for (int col = 1; col <= kMaxCols; ++col) editor->SetCell(row, col, sample.At(row, col));
    test::DialogDriver driver;
    driver.TypeFileNameAndOk(saved);
    Save_Data_File(*editor);
    EXPECT_TRUE(driver.WaitUntilDone());
  }
  ASSERT_TRUE(SameAsStored("table.qlm", win::ReadFileBytes(saved)));
  EXPECT_EQ(win::ReadFileBytes(saved)->size(), 3 * kTableRecordSize);

  // The stored bytes into a fresh editor of another size: the file's dimensions, widths and every cell,
  // sizes in whole points.
  state.G_Rows = 10;
  state.G_Cols = 2;
  state.G_Cols_w = {0, 80, 80, 80, 80, 80};
  auto editor = Open();
  const std::string stored = CopyOfStored("table.qlm", folder.File("stored.qlm"));
  ASSERT_FALSE(stored.empty());
  Load_Data_File(*editor, stored);
  EXPECT_EQ(state.G_Rows, 3);
  EXPECT_EQ(state.G_Cols, 4);
  EXPECT_EQ(state.G_Cols_w, (std::array<int16_t, 6>{0, 60, 120, 33, 400, 0}));
  for (int row = 1; row <= 3; ++row) {
    for (int col = 1; col <= kMaxCols; ++col) {
      Cell expected = sample.At(row, col);
      if (row == 1 && col <= 2) expected.font.size = col == 1 ? 10 : 12;
      EXPECT_EQ(editor->Model().At(row, col), expected) << "cell " << row << "," << col;
    }
  }
}

TEST_F(StoredFiles, ListFileWrittenByTheMainWindowIsTheStoredOneAndListsItsEntries) {
  FixedFolder fixed;
  if (!fixed.made()) GTEST_SKIP() << "the root of drive C: cannot be written here";
  const std::vector<std::string> entries = {FixedFolder::Make("表 壁紙.jpg"), FixedFolder::Make("ｶﾅ.bmp"),
                                            FixedFolder::Make("plain.png")};
  for (const std::string& entry : entries) ASSERT_FALSE(entry.empty());
  {
    test::MainHost host(folder.MakeFolder("written"));
    host.list.Load_List();
    for (const std::string& entry : entries) ASSERT_TRUE(host.list.Add_If_Absent(entry));
    ASSERT_TRUE(host.list.Save_List());
    ASSERT_TRUE(SameAsStored(std::string(kListFileName), win::ReadFileBytes(host.list.ListFilePath())));
  }
  const std::string program = folder.MakeFolder("stored");
  ASSERT_FALSE(CopyOfStored(std::string(kListFileName), program + "\\" + std::string(kListFileName)).empty());
  test::MainHost host(program);
  host.list.Load_List();
  host.list.Fill_Rest();
  EXPECT_EQ(host.list.Entries(), entries);
}

TEST_F(StoredFiles, SettingsFileIsTheStoredOneAndReadsBackEveryKey) {
  FixedFolder fixed;
  if (!fixed.made()) GTEST_SKIP() << "the root of drive C: cannot be written here";
  const std::string chosen = FixedFolder::Make("夕焼け 表.jpg");
  ASSERT_FALSE(chosen.empty());
  AppState written;
  written.G_Kabe = 1;
  written.G_Pos = 2;
  written.Chosen_File = chosen;
  written.Get_File_Path = FixedFolder::kPath;
  written.Get_Data_Path = "D:\\表 データ";
  written.Get_Kabe_Path = "C:\\";
  written.G_Rows = 34;
  written.G_Cols = 5;
  written.G_Cols_w = {0, 0, 400, 123, 7, 80};
  written.Trans = 1;
  written.Common = 1;
  written.Text_Effect = 3;
  written.Panel_Alpha = 25;
  // The editor's place in twips at 130 dpi, reckoned at run time as the window reckons it (pixels times
  // the session's twips per pixel): the fractions' last digits show any arithmetic of another precision.
  DisplayLayout session;
  session.systemDpi = 130;
  const double twipsPerPixel = session.TwipsPerPixel();
  {
    ProfileKeyStore ini(folder.File("written.ini"));
    Save_Main_Settings(ini, written);
    Save_Editor_Settings(ini, written, 97 * twipsPerPixel, -3 * twipsPerPixel);
  }
  ASSERT_TRUE(SameAsStored(std::string(kSettingsFileName), win::ReadFileBytes(folder.File("written.ini"))));

  const std::string stored = CopyOfStored(std::string(kSettingsFileName), folder.File("stored.ini"));
  ASSERT_FALSE(stored.empty());
  ProfileKeyStore ini(stored);
  AppState read;
  read.Program_Folder = "C:\\program";
  Load_Main_Settings(ini, read, File_Exists);
  Load_Editor_Settings(ini, read);
  EXPECT_EQ(read.G_Kabe, 1);
  EXPECT_EQ(read.G_Pos, 2);
  EXPECT_EQ(read.Chosen_File, chosen);
  EXPECT_EQ(read.Get_File_Path, FixedFolder::kPath);
  EXPECT_EQ(read.Get_Data_Path, "D:\\表 データ");
  EXPECT_EQ(read.Get_Kabe_Path, "C:\\");
  EXPECT_EQ(read.G_Rows, 34);
  EXPECT_EQ(read.G_Cols, 5);
  EXPECT_EQ(read.G_Cols_w, written.G_Cols_w);
  EXPECT_EQ(read.G_Left, 1074);  // 97 * 11.077 = 1074.46
  EXPECT_EQ(read.G_Top, -34);    // -33.23, floored as the file's numbers are read
  EXPECT_EQ(read.Trans, 1);
  EXPECT_EQ(read.Common, 1);
  EXPECT_EQ(read.Text_Effect, 3);
  EXPECT_EQ(read.Panel_Alpha, 25);
}

TEST_F(StoredFiles, LastWallpaperSnapshotIsTheStoredOneAndReadsBackAsTheSameJob) {
  OverrideFixedFileFolders(FixedFileFolders{folder.path(), folder.path()});
  struct Restore {
    ~Restore() { OverrideFixedFileFolders(std::nullopt); }
  } restore;
  WallpaperJob job = LayoutJob();
  job.background = {BackgroundKind::ImageFile, "D:\\壁紙\\夕焼け 表.jpg", Placement::Tiled, RGB(10, 90, 160)};
  job.table = JobTableFrom(SampleTable(), 3, 4, {0, 60, 120, 33, 400, 0});  // fractional sizes kept
  const std::vector<std::string> installed = {"C:\\Quelm_Rask.bmp", "C:\\Quelm_Rask2.bmp"};
  constexpr uint64_t kMadeAt = 133'456'789'012'345'678;  // beyond 32 bits
  const LastWallpaper last = LastWallpaperOf(job, installed, kMadeAt);
  ASSERT_TRUE(RememberRefreshed(last, job, installed));
  EXPECT_TRUE(SameAsStored("Quelm_Rask.last", win::ReadFileBytes(LastWallpaperPath())));

  ASSERT_EQ(CopyOfStored("Quelm_Rask.last", LastWallpaperPath()), LastWallpaperPath());
  const std::optional<LastWallpaper> read = LoadLastWallpaper();
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, last);
  EXPECT_EQ(read->table.At(1, 1)->font.size, 10.5);
  EXPECT_EQ(read->madeAt, kMadeAt);
  EXPECT_EQ(JobFromLastWallpaper(*read, job.display, RGB(10, 90, 160)), job);
}

TEST_F(StoredFiles, WallpaperBitmapsAreTheStoredOnesAndReadBackAsTheRenderedPictures) {
  // Two monitors as the command line's given layout writes them: each band by band, the span joined.
  const WallpaperJob layout = LayoutJob();
  EXPECT_EQ(layout.tableAt, (Point{-30, 10}));
  EXPECT_EQ(layout.dpi, 120);
  const std::string written = folder.MakeFolder("layout"), stored = folder.MakeFolder("stored");
  ASSERT_TRUE(WriteLayoutFiles(layout, written));
  const std::vector<std::string> names = {"monitor1.bmp", "monitor2.bmp", "span.bmp"};
  for (const std::string& name : names) {
    EXPECT_TRUE(SameAsStored("layout_" + name, win::ReadFileBytes(written + "\\" + name)));
    ASSERT_FALSE(CopyOfStored("layout_" + name, stored + "\\" + name).empty());
  }
  EXPECT_EQ(DifferencesFrom(stored + "\\monitor1.bmp", RenderMonitor(layout, 0)), 0);
  EXPECT_EQ(DifferencesFrom(stored + "\\monitor2.bmp", RenderMonitor(layout, 1)), 0);
  const win::Surface span = RenderSpan(layout);
  EXPECT_EQ(DifferencesFrom(stored + "\\span.bmp", span), 0);
  // The white panel at 75 % over the desktop colour in the middle of the empty cell (2, 2), and the
  // desktop colour where neither monitor lies (the span's corner, left of the primary's top).
  const Rect empty = ScaledCanvasTable({-30, 10}, 2, 2, layout.table.widths, 120).cells.at(3).rect;
  const Point middle{empty.x + empty.w / 2 + 48, empty.y + empty.h / 2};  // the span starts at x -48
  ASSERT_TRUE(middle.x < span.width() && middle.y < span.height()) << middle.x << "," << middle.y;
  const auto mix = [](int under) { return (under * 25 + 255 * 75 + 50) / 100; };
  EXPECT_EQ(span.Pixel(middle.x, middle.y), RGB(mix(10), mix(90), mix(160)));
  EXPECT_EQ(span.Pixel(0, 0), RGB(10, 90, 160));

  // One monitor, its picture kept whole and written from memory: shadowed text over the desktop colour.
  const WallpaperJob shadow = ShadowJob();
  const auto files = WriteWallpaperFiles(shadow, folder.File("Quelm_Rask.bmp"), nullptr, true);
  ASSERT_TRUE(files);
  EXPECT_TRUE(SameAsStored("shadow_wallpaper.bmp", win::ReadFileBytes(folder.File("Quelm_Rask.bmp"))));
  const std::string copy = CopyOfStored("shadow_wallpaper.bmp", stored + "\\shadow.bmp");
  ASSERT_FALSE(copy.empty());
  EXPECT_EQ(DifferencesFrom(copy, files->primary), 0);
  EXPECT_EQ(files->primary.Pixel(95, 39), RGB(230, 220, 200));
  int ink = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 96; ++x) ink += files->primary.Pixel(x, y) != RGB(230, 220, 200);
  EXPECT_GT(ink, 50);  // text and its shadow were drawn

  // The current wallpaper fitted to a monitor, written band by band: 30 x 9 scaled by 100 / 30 is 30 rows
  // high on 41, centred 5.5 rows down, which rounds half to even: rows 6 to 35 show the picture.
  win::Surface pattern(30, 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 30; ++x) pattern.Bits()[y * 30 + x] = 0xC80000u | (x * 8u) << 8 | y * 25u;
  const std::string picture = folder.File("picture.bmp");
  ASSERT_TRUE(win::WriteBitmapFile(pattern, picture));
  WallpaperJob fitted;
  fitted.display = SingleMonitorLayout({100, 41});
  fitted.background = {
      BackgroundKind::CurrentWallpaper, "", Placement::Centred, RGB(10, 90, 160), {picture}, 3};
  ASSERT_TRUE(WriteWallpaperFiles(fitted, folder.File("fitted.bmp"), nullptr));
  EXPECT_TRUE(SameAsStored("fitted_wallpaper.bmp", win::ReadFileBytes(folder.File("fitted.bmp"))));
  const win::Surface whole = RenderWallpaper(fitted);
  EXPECT_EQ(DifferencesFrom(CopyOfStored("fitted_wallpaper.bmp", stored + "\\fitted.bmp"), whole), 0);
  for (const int y : {0, 5, 36, 40}) EXPECT_EQ(whole.Pixel(50, y), RGB(10, 90, 160)) << y;
  for (const int y : {6, 20, 35}) EXPECT_EQ(GetRValue(whole.Pixel(50, y)), 200) << y;
}

}  // namespace
}  // namespace qr
