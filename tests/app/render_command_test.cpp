// The command line run as the program's own process, as a scheduled task would run it: the usage, the
// exit codes of bad arguments, missing or truncated tables and unwritable output (nothing written, no
// window, no message box), the fall-back for a missing background picture, /at and /set; and the job it
// builds from a saved table and the settings.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/run_command_line.h"
#include "core/table_record.h"
#include "shared/fixed_files.h"
#include "shared/profile_store.h"
#include "support/program_run.h"
#include "support/same_bitmap.h"
#include "support/temp_folder.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/image.h"
#include "win32/image_test_pictures.h"
#include "win32/text.h"
#include "win32/wallpaper.h"
#include "win32/wallpaper_test_settings.h"

namespace qr {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

class RenderCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = test::ProgramIn(folder_.path());
    ASSERT_FALSE(program_.empty());
    TableModel model;
    model.At(1, 1).text = "予定";
    model.At(1, 1).foreColor = kRed;
    model.At(2, 2).backColor = RGB(0, 0, 255);
    tableBytes_ = EncodeTableFile(model, 3, 2, {0, 100, 60, 80, 80, 80});
    table_ = folder_.Write("予定表.qlm", tableBytes_);
    Setting("G_Kabe", "2");
  }

  void Setting(const char* key, const std::string& value) {
    ProfileKeyStore(folder_.File("Quelm_Rask.ini")).Write("Section", key, value);
  }

  test::ProgramRun Run(const std::string& arguments) {
    test::ProgramRun run = test::RunProgram(program_, arguments);
    EXPECT_FALSE(run.windowShown) << arguments;
    return run;
  }

  static std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

  test::TempFolder folder_;
  std::string program_;
  std::string tableBytes_;
  std::string table_;
};

TEST_F(RenderCommandTest, UsageAndBadArgumentsWriteNothing) {
  const test::ProgramRun usage = Run("/?");
  EXPECT_EQ(usage.exitCode, 0u);
  EXPECT_NE(usage.output.find("/render <table.qlm>"), std::string::npos);

  const std::string out = folder_.File("out.bmp");
  for (const std::string& arguments :
       {std::string("/render"), "/render " + Quoted(table_) + " /at 5",
        "/render " + Quoted(table_) + " /bogus",
        "/render " + Quoted(table_) + " /out " + Quoted(out) + " /out " + Quoted(out)}) {
    const test::ProgramRun run = Run(arguments);
    EXPECT_EQ(run.exitCode, 2u) << arguments;
    EXPECT_NE(run.output.find("終了コード"), std::string::npos) << arguments;
  }
  EXPECT_FALSE(win::ReadFileBytes(out));
}

// Libraries that are not among the system's "known" ones would be found beside the program first (a
// downloads folder holding the zip): a stand-in planted there leaves a marker if it is ever loaded.
TEST_F(RenderCommandTest, APlantedLibraryBesideTheProgramIsNeverLoaded) {
  const std::string built = win::ExecutablePath();
  const std::string planted = built.substr(0, built.find_last_of('\\')) + "\\planted_library.dll";
  const char* names[] = {"shcore.dll", "uxtheme.dll", "wtsapi32.dll",
                         "oleacc.dll", "dwmapi.dll",  "comdlg32.dll"};
  for (const char* name : names)
    ASSERT_TRUE(CopyFileW(win::ApiPath(planted).c_str(), win::ApiPath(folder_.File(name)).c_str(), FALSE));

  EXPECT_EQ(Run("/monitors").exitCode, 0u);
  EXPECT_EQ(Run("/render " + Quoted(table_) + " /out " + Quoted(folder_.File("out.bmp"))).exitCode, 0u);
  for (const char* name : names)
    EXPECT_FALSE(win::ReadFileBytes(folder_.File(std::string(name) + ".loaded"))) << name;
}

TEST_F(RenderCommandTest, AMissingOrTruncatedTableWritesAndInstallsNothing) {
  test::WallpaperSettingsGuard guard;
  ASSERT_TRUE(win::SetDesktopWallpaper(""));
  const std::string out = folder_.Write("out.bmp", "the old file");
  const std::string truncated = folder_.Write("cut.qlm", tableBytes_.substr(0, kTableRecordSize + 100));
  const std::string empty = folder_.Write("empty.qlm", "");
  for (const std::string& table : {folder_.File("missing.qlm"), truncated, empty, folder_.path()}) {
    const test::ProgramRun run = Run("/render " + Quoted(table) + " /out " + Quoted(out) + " /set");
    EXPECT_EQ(run.exitCode, 3u) << table;
  }
  EXPECT_EQ(win::ReadFileBytes(out), "the old file");
  const auto wallpaper = win::GetCurrentWallpaper();
  EXPECT_FALSE(wallpaper && !wallpaper->path.empty());
}

TEST_F(RenderCommandTest, AnUnwritableOutputGivesFourAndLeavesNothing) {
  const std::string out = folder_.File("no such folder\\out.bmp");
  const test::ProgramRun run = Run("/render " + Quoted(table_) + " /out " + Quoted(out));
  EXPECT_EQ(run.exitCode, 4u);
  EXPECT_FALSE(win::ReadFileBytes(out));
  EXPECT_EQ(GetFileAttributesW(win::ApiPath(folder_.File("no such folder")).c_str()),
            INVALID_FILE_ATTRIBUTES);
}

TEST_F(RenderCommandTest, AMissingBackgroundPictureFallsBackToTheDesktopColour) {
  Setting("G_Kabe", "1");
  Setting("G_Kabe_File", folder_.File("gone.bmp"));
  Setting("Trans", "1");
  const std::string out = folder_.File("out.bmp");
  const test::ProgramRun run = Run("/render " + Quoted(table_) + " /out " + Quoted(out) + " /at 10,20");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_NE(run.output.find("警告: 背景の画像がありません: " + folder_.File("gone.bmp")), std::string::npos);
  const auto image = win::LoadImageFile(out);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 1024);
  EXPECT_EQ(image->height, 768);
  const COLORREF desk = GetSysColor(COLOR_BACKGROUND);
  EXPECT_EQ(image->pixels.Pixel(500, 500), desk);
  EXPECT_EQ(image->pixels.Pixel(10, 20), RGB(0, 0, 0));  // the table's first frame at /at
  EXPECT_EQ(image->pixels.Pixel(9, 20), desk);
  EXPECT_EQ(image->pixels.Pixel(10 + 160, 20 + 3 * 19), desk);  // below and right of the 3 x 2 table
}

// A background that exists but cannot be decoded gave a wallpaper of the desktop colour and exit 0.
TEST_F(RenderCommandTest, AnUndecodableBackgroundPictureGivesFiveByNameAndWritesNothing) {
  const std::string good = folder_.File("good.jpg");
  ASSERT_TRUE(win::WriteJpegFile(test::QuadrantPicture(64, 48), good));
  const std::string jpeg = win::ReadFileBytes(good).value_or("");
  const std::string out = folder_.File("out.bmp");
  for (const std::string& picture : {folder_.Write("文字.png", "画像ではない\r\n"),
                                     folder_.Write("cut.jpg", jpeg.substr(0, jpeg.size() / 2))}) {
    Setting("G_Kabe", "1");
    Setting("G_Kabe_File", picture);
    const test::ProgramRun run = Run("/render " + Quoted(table_) + " /out " + Quoted(out));
    EXPECT_EQ(run.exitCode, 5u) << picture;
    EXPECT_NE(run.output.find("背景の画像を読み込めません"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(picture), std::string::npos) << run.output;
    EXPECT_FALSE(win::ReadFileBytes(out));
  }
}

TEST_F(RenderCommandTest, WithoutOutItWritesTheWallpaperFileAndSetInstallsIt) {
  test::WallpaperSettingsGuard guard;
  const test::ProgramRun run = Run("/render " + Quoted(table_) + " /set");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  const std::string fixed = WallpaperBitmapPath();  // the same choice of folder as the program's
  EXPECT_TRUE(win::LoadImageFile(fixed));
  // Read from the registry: this process's system parameters may hold the value it saw first.
  const auto wallpaper = test::WallpaperSettingsGuard::Read(L"Wallpaper");
  ASSERT_TRUE(wallpaper);
  EXPECT_EQ(win::Utf8(*wallpaper), fixed);
}

// The job itself, in this process: the settings give the background, `Trans` and the editor's place;
// and building and rendering it opens no window.
TEST_F(RenderCommandTest, TheJobComesFromTheTableAndTheSettingsWithoutAnyWindow) {
  Setting("G_Kabe", "1");
  const std::string picture = folder_.File("p.bmp");
  ASSERT_TRUE(win::WriteBitmapFile(win::Surface(20, 10, kRed), picture));
  Setting("G_Kabe_File", picture);
  Setting("G_Pos", "1");
  Setting("Trans", "0");
  Setting("G_Left", "4500");
  Setting("G_Top", "2250");
  ProfileKeyStore settings(folder_.File("Quelm_Rask.ini"));
  std::string problem;
  const auto job = LoadWallpaperJob(table_, settings, std::nullopt, problem);
  ASSERT_TRUE(job) << problem;
  EXPECT_EQ(job->display.PrimarySize(), (Size{1024, 768}));
  EXPECT_EQ(job->background.kind, BackgroundKind::ImageFile);
  EXPECT_EQ(job->background.file, picture);
  EXPECT_EQ(job->background.placement, Placement::Tiled);
  EXPECT_FALSE(job->transparent);
  EXPECT_EQ(job->tableAt, (Point{316, 214}));  // the editor window at (300, 150)
  EXPECT_EQ(job->table.rows, 3);
  EXPECT_EQ(job->table.cols, 2);
  EXPECT_EQ(job->table.At(1, 1)->text, "予定");

  // No window that could be seen is created or activated (COM may make its hidden helper window).
  static int shown = 0;
  HHOOK hook = SetWindowsHookExW(
      WH_CBT,
      [](int code, WPARAM wp, LPARAM lp) CALLBACK -> LRESULT {
        if (code == HCBT_ACTIVATE) ++shown;
        if (code == HCBT_CREATEWND && (reinterpret_cast<CBT_CREATEWNDW*>(lp)->lpcs->style & WS_VISIBLE))
          ++shown;
        return CallNextHookEx(nullptr, code, wp, lp);
      },
      nullptr, GetCurrentThreadId());
  const std::string out = folder_.File("in process.bmp");
  std::string said;
  const RenderExit exit = RunRender(RenderRequest{table_, out, false, Point{5, 5}}, folder_.path(),
                                    [&](std::string_view text) { said += text; });
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(exit, RenderExit::Done) << said;
  EXPECT_EQ(shown, 0);
  const auto image = win::LoadImageFile(out);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixels.Pixel(500, 700), kRed);                            // tiled picture
  EXPECT_EQ(image->pixels.Pixel(5 + 100 + 30, 5 + 19 + 8), RGB(0, 0, 255));  // cell (2, 2), opaque
}

// A layout given by hand: a bitmap per monitor and one of the whole virtual screen, nothing installed.
TEST_F(RenderCommandTest, AGivenLayoutWritesEachMonitorAndTheSpanIntoTheFolder) {
  Setting("Trans", "1");
  // No separator at the end: before a closing quote it would escape it.
  const std::string out = folder_.File("kiosk");
  ASSERT_TRUE(CreateDirectoryW(win::Wide(out).c_str(), nullptr));
  const auto wallpaperBefore = test::WallpaperSettingsGuard::Read(L"Wallpaper");
  const test::ProgramRun run =
      Run("/render " + Quoted(table_) + " /layout \"1024x768@0,0;800x600@-800,100\" /out " + Quoted(out) +
          " /at -700,200");
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_EQ(test::WallpaperSettingsGuard::Read(L"Wallpaper"), wallpaperBefore);
  const auto first = win::LoadImageFile(out + "\\monitor1.bmp");
  const auto second = win::LoadImageFile(out + "\\monitor2.bmp");
  const auto span = win::LoadImageFile(out + "\\span.bmp");
  ASSERT_TRUE(first && second && span);
  EXPECT_EQ(first->width, 1024);
  const COLORREF desk = first->pixels.Pixel(0, 0);
  EXPECT_EQ(test::CountOther(first->pixels, 0, 0, 1024, 768, desk), 0);  // plain: the table is not on it
  EXPECT_EQ(second->width, 800);
  EXPECT_EQ(second->height, 600);
  EXPECT_EQ(second->pixels.Pixel(100, 100), RGB(0, 0, 0));  // the first cell's frame
  EXPECT_EQ(second->pixels.Pixel(99, 100), desk);
  EXPECT_EQ(span->width, 1824);
  EXPECT_EQ(span->height, 768);
  int differences = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) differences += span->pixels.Pixel(x, y + 100) != second->pixels.Pixel(x, y);
  EXPECT_EQ(differences, 0);  // the table at 100,200 of the span
  EXPECT_EQ(span->pixels.Pixel(100, 200), RGB(0, 0, 0));

  for (const char* bad : {" /layout \"1024x768@0,0;800x600@100,100\" /out ", " /layout 1024x768 /out "}) {
    const test::ProgramRun refused = Run("/render " + Quoted(table_) + bad + Quoted(out));
    EXPECT_EQ(refused.exitCode, 2u) << bad;
  }
  EXPECT_EQ(Run("/render " + Quoted(table_) + " /layout 1024x768@0,0 /set").exitCode, 2u);
}

TEST_F(RenderCommandTest, MonitorsListsThisMachinesDisplay) {
  const test::ProgramRun run = Run("/monitors");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_NE(run.output.find("1: 1024x768 at 0,0, 96 dpi, primary"), std::string::npos) << run.output;
}

// "/refresh": nothing remembered says so; after "/render ... /set" the same bitmap again.
TEST_F(RenderCommandTest, RefreshMakesTheRememberedWallpaperAgain) {
  test::WallpaperSettingsGuard guard;
  win::DeletePath(LastWallpaperPath());
  const test::ProgramRun nothing = Run("/refresh");
  EXPECT_EQ(nothing.exitCode, 3u);
  EXPECT_NE(nothing.output.find("作り直す壁紙がありません"), std::string::npos) << nothing.output;

  Setting("Trans", "1");
  Setting("G_Left", "4500");
  ASSERT_EQ(Run("/render " + Quoted(table_) + " /set").exitCode, 0u);
  const auto installed = win::ReadFileBytes(WallpaperBitmapPath());
  ASSERT_TRUE(installed);
  ASSERT_TRUE(win::DeletePath(WallpaperBitmapPath()));
  ProfileKeyStore(folder_.File("Quelm_Rask.ini")).Write("Section", "G_Left", "9000");  // a snapshot
  const test::ProgramRun refresh = Run("/refresh");
  EXPECT_EQ(refresh.exitCode, 0u) << refresh.output;
  EXPECT_TRUE(test::SameBitmapBytes(win::ReadFileBytes(WallpaperBitmapPath()), installed));
  win::DeletePath(LastWallpaperPath());
}

}  // namespace
}  // namespace qr
