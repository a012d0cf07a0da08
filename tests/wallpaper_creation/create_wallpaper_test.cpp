// The create command run from a real editor's "壁紙貼り付け" button, through the real canvas, message
// boxes and save dialog (answered by the dialog driver), on the 1024 x 768 test desktop: the bitmap it
// builds, the wallpaper it installs, the file it saves and the list entry it adds.
#include "wallpaper_creation/create_wallpaper.h"

#include <windows.h>

#include "wallpaper/refresh.h"
#include "wallpaper/remember.h"
// after windows.h
#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/run_command_line.h"
#include "canvas/canvas_window_test_driver.h"
#include "core/app_state.h"
#include "core/geometry.h"
#include "core/settings.h"
#include "core/table_record.h"
#include "forms/forms.h"
#include "main_window/wallpaper_list.h"
#include "shared/fixed_files.h"
#include "shared/profile_store.h"
#include "support/dialog_driver.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/two_monitors.h"
#include "support/write_faults.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/handles.h"
#include "win32/image.h"
#include "win32/image_test_pictures.h"
#include "win32/text.h"
#include "win32/wallpaper.h"
#include "win32/wallpaper_test_settings.h"

namespace qr {
namespace {

constexpr COLORREF kGreen = RGB(0, 200, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

COLORREF Desk() { return GetSysColor(COLOR_BACKGROUND); }

forms::Picture Plain(int w, int h, COLORREF colour) {
  return forms::Picture::FromSurface(win::Surface(w, h, colour));
}

EditorSkin TestSkin() {
  EditorSkin skin;
  skin.Img_On = Plain(21, 20, RGB(200, 0, 0));
  skin.Img_Off = Plain(21, 20, RGB(0, 200, 0));
  skin.Img_Ra = {Plain(13, 13, RGB(250, 250, 250)), Plain(13, 13, RGB(10, 10, 10))};
  for (size_t i = 2; i <= 6; ++i) skin.toolbar[i] = Plain(16, 16, RGB(0, 0, 40 * i));
  for (size_t i = 0; i <= 3; ++i) skin.rowsAndColumns[i] = Plain(10, 10, RGB(60 * i, 60, 60));
  skin.cursor = LoadCursorW(nullptr, IDC_HAND);
  return skin;
}

// Stands in for the main window: its list box and command labels, with the real list behind them.
class ListHost : public forms::Form {
 public:
  ListHost() : Form({"QrTestListHost", "list", forms::FormBorder::None, 300, 200}) {}
  forms::ListBox List_Kabe;
  std::array<forms::Label, 8> lbl_Cmd;

 protected:
  void Design() override {
    List_Kabe.Create(*this, 0, 0, 300, 150);
    for (forms::Label& label : lbl_Cmd) label.Create(*this, 0, 160, 10, 10);
  }
};

// Number of pixels of the colour in the rectangle, clipped to the surface.
int CountColour(const win::Surface& s, const RECT& r, COLORREF colour) {
  int n = 0;
  for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, s.height()); ++y)
    for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, s.width()); ++x)
      n += s.Pixel(x, y) == colour;
  return n;
}

int Area(const RECT& r, int w, int h) {
  const int width = std::min<int>(r.right, w) - std::max<int>(r.left, 0);
  const int height = std::min<int>(r.bottom, h) - std::max<int>(r.top, 0);
  return width > 0 && height > 0 ? width * height : 0;
}

RECT Shrunk(RECT r, int by) {
  InflateRect(&r, -by, -by);
  return r;
}

class CreateWallpaperTest : public ::testing::Test {
 protected:
  CreateWallpaperTest() : store(folder.File("Quelm_Rask.ini")), skin(TestSkin()) {}

  void SetUp() override {
    OverrideFixedFileFolders(FixedFileFolders{folder.path(), folder.File("appdata")});
    state.Program_Folder = folder.path();
    state.Get_Kabe_Path = folder.MakeFolder("saved");
    state.G_Kabe = 2;
    host.Load();
    list = std::make_unique<WallpaperList>(state, host.List_Kabe, CommandLabels(host.lbl_Cmd), windows);
    ASSERT_TRUE(win::SetDesktopWallpaper(""));
  }
  void TearDown() override {
    if (editor) editor->Unload();
    OverrideFixedFileFolders(std::nullopt);
  }

  // A new editor, shown (not modally) at (left, top) in pixels, with the create command as its hook.
  Quelm_Rask_S& OpenEditor(int left = 300, int top = 150) {
    EditorHooks hooks;
    hooks.cursorPos = []() -> std::optional<POINT> { return POINT{500, 400}; };
    hooks.create = CreateWallpaperHook(
        state,
        CreateWallpaperServices{[this](const std::string& path) { list->Add_If_Absent(path); }, nullptr});
    editor = std::make_unique<Quelm_Rask_S>(state, store, skin, std::move(hooks));
    editor->Show();
    editor->Move(left * forms::Form::TwipsPerPixelX(), top * forms::Form::TwipsPerPixelY());
    // Cell (1, 1): empty on green; cell (1, 2): red text on blue.
    editor->SetCell(1, 1, Cell{"", CellFont{"Arial", 9.0, false, false}, RGB(0, 0, 0), kGreen});
    editor->SetCell(1, 2, Cell{"WW", CellFont{"Arial", 9.0, true, false}, kRed, kBlue});
    forms::DoEvents();
    return *editor;
  }

  // Presses and releases "壁紙貼り付け" as the user does; returns when the command has finished.
  void PressCreate() {
    const forms::Label& button = editor->lbl_Button(0);
    const LPARAM centre = MAKELPARAM(button.Left() + button.Width() / 2, button.Top() + button.Height() / 2);
    test::CanvasWatch watch;
    SendMessageW(editor->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, centre);
    SendMessageW(editor->hwnd(), WM_LBUTTONUP, 0, centre);
    EXPECT_FALSE(watch.TimedOut());
  }

  std::optional<std::string> Wallpaper() const {
    const auto current = win::GetCurrentWallpaper();
    if (!current) return std::nullopt;
    return current->path;
  }

  static win::Surface Load(const std::string& path) {
    auto loaded = win::LoadImageFile(path);
    if (!loaded) return win::Surface();
    EXPECT_EQ(loaded->width, 1024);
    EXPECT_EQ(loaded->height, 768);
    return std::move(loaded->pixels);
  }

  // The table rectangle: 12 pixels inside the grid box's top-left corner as it stands on the screen,
  // 18 pixels narrower and 16 lower than the grid box.
  RECT TableOnScreen() const {
    RECT grid{};
    GetWindowRect(editor->PicBackWindow(), &grid);
    return RECT{grid.left + 12, grid.top + 12, grid.right - 6, grid.bottom - 4};
  }

  // A cell of the wallpaper's table: transparent cells laid out from the table's corner, opaque ones
  // from the editor's first cell.
  RECT CellOnWallpaper(int row, int col) const {
    const RECT table = TableOnScreen();
    const Point corner{table.left, table.top};
    const Point origin = state.Trans == 1 ? corner : EditorCellsOrigin(corner);
    const auto layout = LayoutCanvasTable(origin.x, origin.y, state.G_Rows, state.G_Cols, state.G_Cols_w);
    for (const CellPlacement& cell : layout.cells)
      if (cell.row == row && cell.col == col)
        return RECT{cell.rect.x, cell.rect.y, cell.rect.x + cell.rect.w, cell.rect.y + cell.rect.h};
    return RECT{};
  }
  // All the cells of the wallpaper's table.
  RECT CellsOnWallpaper() const {
    const RECT first = CellOnWallpaper(1, 1), last = CellOnWallpaper(state.G_Rows, state.G_Cols);
    return RECT{first.left, first.top, last.right, last.bottom};
  }

  bool EditorOpen() const { return editor && editor->Loaded(); }

  test::WallpaperSettingsGuard wallpaperGuard;
  test::TempFolder folder;
  ProfileKeyStore store;
  AppState state;
  EditorSkin skin;
  ListHost host;
  ModalWindows windows;
  std::unique_ptr<WallpaperList> list;
  std::unique_ptr<Quelm_Rask_S> editor;
};

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
    // (the installation replaced it with this very bitmap).
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

TEST_F(CreateWallpaperTest, YesSavesUnderATypedNameWithoutExtensionAndListsItOnce) {
  const std::string saved = folder.File("saved\\my wallpaper.bmp");
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run);
    OpenEditor();
    state.Trans = run - 1;
    test::DialogDriver driver;
    driver.Press(IDYES);
    driver.Do([&](HWND dialog) {
      // The save dialog opens in the remembered folder with "*.bmp" in the name box.
      wchar_t folderPath[MAX_PATH] = {};
      SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folderPath));
      EXPECT_EQ(win::Utf8(folderPath), folder.File("saved"));
      wchar_t name[MAX_PATH] = {};
      GetDlgItemTextW(dialog, cmb13, name, MAX_PATH);
      EXPECT_EQ(std::wstring(name), L"*.bmp");
      SetDlgItemTextW(dialog, cmb13, win::Wide(folder.File("saved\\my wallpaper")).c_str());
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    });
    if (run == 2) driver.Press(IDYES);  // the dialog asks before replacing the first run's file
    PressCreate();
    ASSERT_TRUE(driver.WaitUntilDone());

    ASSERT_GE(driver.Seen().size(), 2u);
    EXPECT_EQ(driver.Seen()[1].title, "壁紙に名前を付けて保存");
    EXPECT_FALSE(EditorOpen());
    EXPECT_EQ(Wallpaper(), saved);
    EXPECT_FALSE(win::ReadFileBytes(WallpaperBitmapPath()));  // moved, not copied
    EXPECT_TRUE(Load(saved).ok());
    EXPECT_EQ(list->Entries(), std::vector<std::string>{saved});
    EXPECT_EQ(state.Get_Kabe_Path, folder.File("saved"));
  }
}

TEST_F(CreateWallpaperTest, UpperAndMixedCaseBmpNamesAreAcceptedAndTheFolderRemembered) {
  const std::string elsewhere = folder.MakeFolder("other");
  OpenEditor();
  test::DialogDriver driver;
  driver.Press(IDYES).TypeFileNameAndOk(elsewhere + "\\Upper.BmP");
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_FALSE(EditorOpen());
  EXPECT_EQ(Wallpaper(), elsewhere + "\\Upper.BmP");
  EXPECT_EQ(state.Get_Kabe_Path, elsewhere);
  EXPECT_EQ(list->Entries(), std::vector<std::string>{elsewhere + "\\Upper.BmP"});
}

TEST_F(CreateWallpaperTest, AJpgNameIsRefusedAndTheEditorStaysOpen) {
  OpenEditor();
  const std::string remembered = state.Get_Kabe_Path;
  test::DialogDriver driver;
  driver.Press(IDYES).TypeFileNameAndOk(folder.File("saved\\photo.jpg")).Press(IDOK);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());

  ASSERT_EQ(driver.Seen().size(), 3u);
  EXPECT_EQ(driver.Seen()[2].text, "保存ﾌｧｲﾙの拡張子が違います！");
  EXPECT_EQ(driver.Seen()[2].buttons, std::vector<int>{IDOK});
  EXPECT_EQ(driver.Seen()[2].icon, LoadIconW(nullptr, IDI_EXCLAMATION));
  EXPECT_TRUE(EditorOpen());
  EXPECT_EQ(Wallpaper(), std::nullopt);
  EXPECT_TRUE(win::ReadFileBytes(WallpaperBitmapPath()));  // the built bitmap stays
  EXPECT_FALSE(win::ReadFileBytes(folder.File("saved\\photo.jpg")));
  EXPECT_TRUE(list->Entries().empty());
  EXPECT_EQ(state.Get_Kabe_Path, remembered);
}

TEST_F(CreateWallpaperTest, ACancelledDialogKeepsTheEditorOpenAndInstallsNothing) {
  OpenEditor();
  test::DialogDriver driver;
  driver.Press(IDYES).Press(IDCANCEL);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_EQ(driver.Seen().size(), 2u);
  EXPECT_TRUE(EditorOpen());
  EXPECT_EQ(Wallpaper(), std::nullopt);
  EXPECT_TRUE(win::ReadFileBytes(WallpaperBitmapPath()));
  EXPECT_TRUE(list->Entries().empty());

  // Pressing again builds anew and may finish.
  test::DialogDriver again;
  again.Press(IDNO);
  PressCreate();
  ASSERT_TRUE(again.WaitUntilDone());
  EXPECT_FALSE(EditorOpen());
  EXPECT_EQ(Wallpaper(), WallpaperBitmapPath());
}

TEST_F(CreateWallpaperTest, ChoosingTheBuiltBitmapsOwnNameKeepsIt) {
  OpenEditor();
  test::DialogDriver driver;
  driver.Press(IDYES).TypeFileNameAndOk(WallpaperBitmapPath()).Press(IDYES);  // replace? yes
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_FALSE(EditorOpen());
  EXPECT_EQ(Wallpaper(), WallpaperBitmapPath());
  EXPECT_TRUE(Load(WallpaperBitmapPath()).ok());
  EXPECT_EQ(list->Entries(), std::vector<std::string>{WallpaperBitmapPath()});
}

TEST_F(CreateWallpaperTest, AFailedMoveKeepsTheOldFileAndTheEditorAndInstallsNothing) {
  const std::string target = folder.Write("saved\\in use.bmp", "the user's old file");
  // Held open by someone else, without sharing: the file cannot be replaced.
  win::File held(CreateFileW(win::Wide(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  OpenEditor();
  test::DialogDriver driver;
  driver.Press(IDYES).TypeFileNameAndOk(target).Press(IDYES).Press(IDOK);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  held.Reset();

  ASSERT_EQ(driver.Seen().size(), 4u);
  EXPECT_EQ(driver.Seen()[3].text, "壁紙ﾌｧｲﾙを保存できませんでした！");
  EXPECT_EQ(driver.Seen()[3].icon, LoadIconW(nullptr, IDI_EXCLAMATION));
  EXPECT_TRUE(EditorOpen());
  EXPECT_EQ(Wallpaper(), std::nullopt);
  EXPECT_EQ(win::ReadFileBytes(target), "the user's old file");
  EXPECT_TRUE(win::ReadFileBytes(WallpaperBitmapPath()));  // the built bitmap is still there
  EXPECT_TRUE(list->Entries().empty());
}

TEST_F(CreateWallpaperTest, WhenNoBitmapCanBeWrittenItSaysSoAndInstallsNothing) {
  const std::string blocker = folder.Write("blocker", "a file where a folder would have to be");
  OverrideFixedFileFolders(FixedFileFolders{folder.File("missing"), blocker + "\\Quelm_Rask"});
  for (int16_t trans : {0, 1}) {
    SCOPED_TRACE(trans);
    OpenEditor();
    state.Trans = trans;
    test::DialogDriver driver;
    driver.Press(IDOK);
    PressCreate();
    ASSERT_TRUE(driver.WaitUntilDone());
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].text, "壁紙ﾌｧｲﾙを作成できませんでした！");
    EXPECT_EQ(driver.Seen()[0].icon, LoadIconW(nullptr, IDI_EXCLAMATION));
    EXPECT_TRUE(EditorOpen());
    EXPECT_EQ(Wallpaper(), std::nullopt);
    editor->Unload();
  }
}

TEST_F(CreateWallpaperTest, AWallpaperThatCannotBeRememberedIsInstalledAndSaidSo) {
  const std::string beside = LastWallpaperPath() + ".tmp~";  // the snapshot's write stops here
  ASSERT_TRUE(CreateDirectoryW(win::Wide(beside).c_str(), nullptr));
  OpenEditor();
  test::DialogDriver driver;
  driver.Press(IDNO).Press(IDOK);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  ASSERT_EQ(driver.Seen().size(), 2u);
  EXPECT_EQ(driver.Seen()[1].text, kWallpaperNotRemembered + LastWallpaperPath());
  EXPECT_EQ(driver.Seen()[1].icon, LoadIconW(nullptr, IDI_EXCLAMATION));
  EXPECT_FALSE(EditorOpen());
  EXPECT_EQ(Wallpaper(), WallpaperBitmapPath());
  EXPECT_FALSE(LoadLastWallpaper());
  RemoveDirectoryW(win::Wide(beside).c_str());
}

TEST_F(CreateWallpaperTest, UnwritableRootUsesTheFallbackFolderForWritingAndInstalling) {
  const std::string fallback = folder.File("appdata\\Quelm_Rask");
  OverrideFixedFileFolders(FixedFileFolders{folder.File("unwritable root"), fallback});
  OpenEditor();
  test::DialogDriver driver;
  driver.Press(IDNO);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_FALSE(EditorOpen());
  EXPECT_EQ(Wallpaper(), fallback + "\\Quelm_Rask.bmp");
  EXPECT_TRUE(Load(fallback + "\\Quelm_Rask.bmp").ok());
}

// Writing the built bitmap, and moving it to the name the user gave, fail in every way without harm:
// the previous file stays byte for byte, nothing is left beside it, the user gets the message of that
// failure and no wallpaper is installed.
class CreateWallpaperFaults : public CreateWallpaperTest,
                              public ::testing::WithParamInterface<test::WriteFault> {};

TEST_P(CreateWallpaperFaults, FixedBitmapThatCannotBeWrittenKeepsThePreviousOne) {
  test::FaultScene scene(GetParam());
  if (scene.Skipped()) GTEST_SKIP() << scene.SkipReason();
  const std::string blocker = folder.Write("blocker", "a file where the fallback folder would have to be");
  OverrideFixedFileFolders(FixedFileFolders{scene.Folder(), blocker + "\\Quelm_Rask"});
  const std::string previous = scene.Put("Quelm_Rask.bmp", "the previous wallpaper");
  const std::vector<std::string> before = scene.Files();
  ASSERT_TRUE(scene.Arm(previous));
  OpenEditor();
  test::DialogDriver driver;
  driver.Press(IDOK);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  scene.Disarm();
  ASSERT_EQ(driver.Seen().size(), 1u);
  EXPECT_EQ(driver.Seen()[0].text, kBitmapNotWritten);
  EXPECT_TRUE(EditorOpen());
  EXPECT_EQ(Wallpaper(), std::nullopt);
  EXPECT_EQ(scene.Files(), before);
  if (GetParam() != test::WriteFault::FolderMissing) {
    EXPECT_EQ(win::ReadFileBytes(previous), "the previous wallpaper");
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, CreateWallpaperFaults, test::kAllWriteFaults, test::WriteFaultName);

// The save dialog offers only existing folders: the named copy's faults without the missing folder (the
// move's own test covers that).
class NamedCopyFaults : public CreateWallpaperFaults {};

TEST_P(NamedCopyFaults, NamedCopyThatCannotBeSavedKeepsTheUsersOldFile) {
  test::FaultScene scene(GetParam());
  if (scene.Skipped()) GTEST_SKIP() << scene.SkipReason();
  const std::string target = scene.Put("mine.bmp", "the user's old file");
  const std::vector<std::string> before = scene.Files();
  ASSERT_TRUE(scene.Arm(target));
  OpenEditor();
  test::DialogDriver driver;
  driver.Press(IDYES).TypeFileNameAndOk(target).Press(IDYES).Press(IDOK);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  scene.Disarm();
  ASSERT_EQ(driver.Seen().size(), 4u);
  EXPECT_EQ(driver.Seen()[3].text, kBitmapNotSaved);
  EXPECT_TRUE(EditorOpen());
  EXPECT_EQ(Wallpaper(), std::nullopt);
  EXPECT_EQ(win::ReadFileBytes(target), "the user's old file");
  EXPECT_EQ(scene.Files(), before);
  EXPECT_TRUE(win::ReadFileBytes(WallpaperBitmapPath()));  // the built bitmap is still there
  EXPECT_TRUE(list->Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(Faults, NamedCopyFaults,
                         ::testing::Values(test::WriteFault::ReadOnly, test::WriteFault::Locked,
                                           test::WriteFault::DiskFull),
                         test::WriteFaultName);

}  // namespace
}  // namespace qr
