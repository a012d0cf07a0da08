// The create command run from a real editor's "壁紙貼り付け" button, through the real canvas, message
// boxes and save dialog (answered by the dialog driver), on the 1024 x 768 test desktop: the bitmap it
// builds, the wallpaper it installs, the file it saves and the list entry it adds.
#include "wallpaper_creation/create_wallpaper.h"

#include "create_wallpaper_fixture.h"

namespace qr {
namespace {
using namespace test;  // the fixture and its pixel helpers

TEST_F(CreateWallpaperTest, NoInstallsTheFixedBitmapWithTheOpaqueCellsWhereTheEditorShowsThem) {
  OpenEditor(300, 150);
  state.Trans = 0;
  const RECT cells = CellsOnWallpaper();
  const RECT green = Shrunk(CellOnWallpaper(1, 1), 2), blue = Shrunk(CellOnWallpaper(1, 2), 2);
  RECT firstCell{};
  GetWindowRect(editor->txt_Item(1, 1).hwnd(), &firstCell);
  test::DialogDriver driver;
  driver.Press(IDNO);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());

  ASSERT_EQ(driver.Seen().size(), 1u);
  EXPECT_EQ(driver.Seen()[0].title, "Quelm_Rask");
  EXPECT_EQ(driver.Seen()[0].text, "作成した壁紙に名前を付けて保存しますか？");
  EXPECT_EQ(driver.Seen()[0].buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(driver.Seen()[0].icon, LoadIconW(nullptr, IDI_QUESTION));
  EXPECT_FALSE(EditorOpen());
  EXPECT_EQ(Wallpaper(), folder.File("Quelm_Rask.bmp"));
  EXPECT_TRUE(list->Entries().empty());

  const win::Surface s = Load(folder.File("Quelm_Rask.bmp"));
  ASSERT_TRUE(s.ok());
  // The cells as the editor draws them (sunken edge, back colour, text), exactly where it shows them.
  EXPECT_EQ(cells.left, firstCell.left);
  EXPECT_EQ(cells.top, firstCell.top);
  EXPECT_EQ(CountColour(s, green, kGreen), Area(green, 1024, 768));
  EXPECT_GT(CountColour(s, blue, kBlue), Area(blue, 1024, 768) / 3);
  EXPECT_GT(CountColour(s, blue, kRed), 10);  // the text
  // Around the cells the background, nothing of the editor.
  EXPECT_EQ(s.Pixel(cells.left - 1, cells.top + 5), Desk());
  EXPECT_EQ(s.Pixel(cells.left + 5, cells.top - 1), Desk());
  EXPECT_EQ(s.Pixel(cells.right, cells.bottom - 1), Desk());
  EXPECT_EQ(s.Pixel(cells.left + 5, cells.bottom), Desk());
  RECT all{0, 0, 1024, 768};
  EXPECT_EQ(CountColour(s, all, Desk()), 1024 * 768 - Area(cells, 1024, 768));
}

TEST_F(CreateWallpaperTest, OpaqueCellsAreDrawnWithoutTheEditorEvenWhereCoveredOrOffTheScreen) {
  OpenEditor(-40, 600);  // the table runs off the left and the bottom edge
  state.Trans = 0;
  // A black window above everything, covering the editor's cells.
  HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | SS_BLACKRECT, 0,
                               560, 400, 208, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(cover, nullptr);
  ShowWindow(cover, SW_SHOWNOACTIVATE);
  UpdateWindow(cover);
  const RECT cells = CellsOnWallpaper();
  const RECT green = Shrunk(CellOnWallpaper(1, 1), 2), blue = Shrunk(CellOnWallpaper(1, 2), 2);
  ASSERT_LT(cells.left, 0);
  ASSERT_GT(cells.bottom, 768);
  test::DialogDriver driver;
  driver.Press(IDNO);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  DestroyWindow(cover);

  const win::Surface s = Load(WallpaperBitmapPath());
  ASSERT_TRUE(s.ok());
  ASSERT_GT(Area(green, 1024, 768), 50);
  EXPECT_EQ(CountColour(s, green, kGreen), Area(green, 1024, 768));
  EXPECT_GT(CountColour(s, blue, kBlue), Area(blue, 1024, 768) / 3);
  // Outside the cells only the background: neither the covering window nor the editor.
  const RECT all{0, 0, 1024, 768};
  EXPECT_EQ(CountColour(s, all, Desk()), 1024 * 768 - Area(cells, 1024, 768));
}

TEST_F(CreateWallpaperTest, TransparentCellsAreDrawnByTheCanvasAtTheEditorsTablePosition) {
  OpenEditor(200, 100);
  state.Trans = 1;
  const RECT table = TableOnScreen();
  test::DialogDriver driver;
  driver.Press(IDNO);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());

  EXPECT_FALSE(EditorOpen());
  EXPECT_EQ(Wallpaper(), WallpaperBitmapPath());
  const win::Surface s = Load(WallpaperBitmapPath());
  ASSERT_TRUE(s.ok());
  // Column 2 of row 1 holds the red text over the background; no cell background is painted.
  const RECT cell12{table.left + 80, table.top, table.left + 160, table.top + Row_Pitch};
  EXPECT_GT(CountColour(s, cell12, kRed), 10);
  RECT all{0, 0, 1024, 768};
  EXPECT_EQ(CountColour(s, all, kGreen), 0);
  EXPECT_EQ(CountColour(s, all, kBlue), 0);
  EXPECT_EQ(s.Pixel(table.left, table.top), RGB(0, 0, 0));  // the first cell's frame
  EXPECT_EQ(s.Pixel(table.left - 1, table.top), Desk());
  EXPECT_EQ(CountColour(s, RECT{0, table.top + 10 * Row_Pitch, 1024, 768}, Desk()),
            1024 * (768 - table.top - 10 * Row_Pitch));
}

// The same table, background and editor position give byte for byte the same bitmap through the windows
// and through the command line (the saved table, the settings the editor and the main window keep).
TEST_F(CreateWallpaperTest, TheCommandLineWritesTheSameBitmapAsTheCreateCommand) {
  const std::string program = test::ProgramIn(folder.path());
  ASSERT_FALSE(program.empty());
  const std::string picture = folder.File("picture.bmp");
  ASSERT_TRUE(win::WriteBitmapFile(test::QuadrantPicture(300, 200), picture));
  struct Case {
    int16_t kabe, pos, trans, effect = 0, alpha = 50;
  };
  for (const Case c :
       {Case{2, 0, 0}, Case{2, 0, 1}, Case{1, 0, 0}, Case{1, 1, 1}, Case{1, 2, 0}, Case{0, 0, 1},
        Case{0, 0, 0}, Case{2, 0, 1, 1}, Case{1, 1, 1, 2}, Case{1, 2, 1, 3, 75}, Case{1, 0, 0, 1}}) {
    SCOPED_TRACE(testing::Message() << "G_Kabe " << c.kabe << ", G_Pos " << c.pos << ", Trans " << c.trans
                                    << ", Text_Effect " << c.effect << ", Panel_Alpha " << c.alpha);
    if (c.kabe == 0) {
      ASSERT_TRUE(win::SetDesktopWallpaper(picture));
      test::WallpaperSettingsGuard::SetStyle(L"0", L"1");  // tiled
    }
    state.G_Kabe = c.kabe;
    state.G_Pos = c.pos;
    state.Kabe_File = state.Chosen_File = picture;
    Save_Main_Settings(store, state);
    // The editor takes its options from the settings when it opens.
    store.Write(kSettingsSection, "Trans", std::to_string(c.trans));
    store.Write(kSettingsSection, "Text_Effect", std::to_string(c.effect));
    store.Write(kSettingsSection, "Panel_Alpha", std::to_string(c.alpha));
    Quelm_Rask_S& shown = OpenEditor(280 + c.pos * 7, 130 + c.kabe * 11);
    ASSERT_EQ(state.Trans, c.trans);
    ASSERT_EQ(state.Text_Effect, c.effect);
    shown.SetCell(3, 1, Cell{"予定 Schedule 24", CellFont{"ＭＳ ゴシック", 24.0, true, true}, kGreen, kRed});
    shown.SetCell(1, 2, Cell{"Quelm 壁紙", CellFont{"Arial", 12.0, true, false}, RGB(255, 255, 255), kBlue});
    ASSERT_TRUE(
        win::ReplaceFileContents(folder.File("table.qlm"),
                                 EncodeTableFile(shown.Model(), state.G_Rows, state.G_Cols, state.G_Cols_w)));
    test::DialogDriver driver;
    driver.Press(IDNO);
    PressCreate();
    ASSERT_TRUE(driver.WaitUntilDone());
    ASSERT_FALSE(EditorOpen());  // its place is in the settings now
    const auto created = win::ReadFileBytes(folder.File("Quelm_Rask.bmp"));
    ASSERT_TRUE(created);
    if (c.kabe == 0) {  // the command installed its bitmap: the command line starts from the same wallpaper
      ASSERT_TRUE(win::SetDesktopWallpaper(picture));
      test::WallpaperSettingsGuard::SetStyle(L"0", L"1");
    }

    const std::string out = folder.File("command line.bmp");
    const test::ProgramRun run =
        test::RunProgram(program, "/render \"" + folder.File("table.qlm") + "\" /out \"" + out + "\"");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_FALSE(run.windowShown);
    const auto rendered = win::ReadFileBytes(out);
    ASSERT_TRUE(rendered);
    EXPECT_TRUE(*rendered == *created);

    // Remembered, and made again for the same display byte for byte, the current wallpaper included
    // (the installation replaced it with this very bitmap, installed again as the command left it).
    ASSERT_TRUE(win::SetDesktopWallpaper(folder.File("Quelm_Rask.bmp")));
    ASSERT_TRUE(win::DeletePath(folder.File("Quelm_Rask.bmp")));
    EXPECT_EQ(RefreshLastWallpaper(nullptr), RefreshResult::Done);
    const auto refreshed = win::ReadFileBytes(folder.File("Quelm_Rask.bmp"));
    ASSERT_TRUE(refreshed);
    EXPECT_TRUE(*refreshed == *created);
  }
}

// On two monitors "/render … /set", with and without /out, installs what 壁紙貼り付け installs for the same
// table and place: the same picture of the whole virtual screen, in the same style and roll, whatever
// style the user had before.
TEST_F(CreateWallpaperTest, TheCommandLineSetInstallsOnTwoMonitorsWhatTheCreateCommandInstalls) {
  const test::TwoMonitors display;
  using Guard = test::WallpaperSettingsGuard;
  Save_Main_Settings(store, state);
  Quelm_Rask_S& shown = OpenEditor(250, 140);
  shown.SetCell(2, 1, Cell{"予定", CellFont{"Arial", 12.0, true, false}, kRed, kBlue});
  const std::string table =
      folder.Write("table.qlm", EncodeTableFile(shown.Model(), state.G_Rows, state.G_Cols, state.G_Cols_w));
  Guard::SetStyle(L"2", L"0");  // stretched
  test::DialogDriver driver;
  driver.Press(IDNO);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  ASSERT_FALSE(EditorOpen());
  const auto created = win::ReadFileBytes(WallpaperBitmapPath());
  const auto style = Guard::Read(L"WallpaperStyle"), tile = Guard::Read(L"TileWallpaper");
  ASSERT_TRUE(created);
  ASSERT_EQ(Wallpaper(), WallpaperBitmapPath());
  ASSERT_NE(style, std::optional<std::wstring>(L"2"));

  for (const bool toOut : {false, true}) {
    SCOPED_TRACE(toOut ? "/out" : "the wallpaper file");
    const std::string path = toOut ? folder.File("out.bmp") : WallpaperBitmapPath();
    win::DeletePath(path);
    ASSERT_TRUE(win::SetDesktopWallpaper(""));
    Guard::SetStyle(L"2", L"0");
    std::string said;
    const RenderRequest request{table, toOut ? std::optional<std::string>(path) : std::nullopt, true, {}, {}};
    EXPECT_EQ(RunRender(request, folder.path(), [&](std::string_view text) { said += text; }),
              RenderExit::Done)
        << said;
    EXPECT_EQ(Wallpaper(), path);
    EXPECT_EQ(Guard::Read(L"WallpaperStyle"), style);
    EXPECT_EQ(Guard::Read(L"TileWallpaper"), tile);
    const auto installed = win::ReadFileBytes(path);
    ASSERT_TRUE(installed);
    EXPECT_TRUE(*installed == *created);
  }
}

// A PNG with a transparent half, centred: its opaque pixels are the wallpaper's, the desktop colour shows
// through the rest.
TEST_F(CreateWallpaperTest, APngBecomesTheBackgroundWithTheDesktopColourThroughItsTransparency) {
  const std::string png = folder.File("picture.png");
  std::vector<uint32_t> pixels(200 * 100);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = i % 200 < 100 ? 0xFFFF00FFu : 0x0000FF00u;
  ASSERT_TRUE(test::WritePngPixels(200, 100, pixels, png));
  state.G_Kabe = 1;
  state.G_Pos = 0;
  state.Kabe_File = state.Chosen_File = png;
  state.Trans = 0;
  OpenEditor(700, 500);  // the table lies clear of the picture
  test::DialogDriver driver;
  driver.Press(IDNO);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  const win::Surface s = Load(WallpaperBitmapPath());
  ASSERT_TRUE(s.ok());
  const RECT picture{412, 334, 612, 434};
  EXPECT_EQ(
      CountColour(s, RECT{picture.left, picture.top, picture.left + 100, picture.bottom}, RGB(255, 0, 255)),
      100 * 100);
  EXPECT_EQ(CountColour(s, RECT{picture.left + 100, picture.top, picture.right, picture.bottom}, Desk()),
            100 * 100);
  EXPECT_EQ(CountColour(s, RECT{0, 0, 1024, 768}, RGB(0, 255, 0)), 0) << "no colour of a transparent pixel";
}

}  // namespace
}  // namespace qr
