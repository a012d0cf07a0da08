// The desktop canvas shown for real on the 1024 x 768 test desktop with the wallpaper of the program's
// state (backgrounds, placements, the transparent table, the opaque cells): it shows exactly the picture
// it is given, and as a preview stays until a press on the background.
#include "canvas/canvas_window.h"

#include <windows.h>
// after windows.h
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas/canvas_window_test_driver.h"
#include "core/app_state.h"
#include "core/geometry.h"
#include "shared/fixed_files.h"
#include "support/keyboard.h"
#include "support/temp_folder.h"
#include "support/tool_tips.h"
#include "support/two_monitors.h"
#include "wallpaper/job_inputs.h"
#include "wallpaper/render.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/image.h"
#include "win32/image_test_pictures.h"
#include "win32/wallpaper_test_settings.h"

namespace qr {
namespace {

using test::CountOther;
using test::QuadrantPicture;
using test::ThreadHasToolTip;
using win::Surface;

constexpr COLORREF kTL = RGB(255, 0, 0), kTR = RGB(0, 255, 0), kBL = RGB(0, 0, 255), kBR = RGB(255, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr int kScreenW = 1024, kScreenH = 768;

COLORREF Desk() { return GetSysColor(COLOR_BACKGROUND); }

int64_t DeskPixels(const Surface& s) {
  return int64_t{s.width()} * s.height() - CountOther(s, 0, 0, s.width(), s.height(), Desk());
}

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), kScreenW);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), kScreenH);
    OverrideFixedFileFolders(FixedFileFolders{folder_.path(), folder_.File("fallback")});
    state_.Trans = 1;
    state_.G_Rows = 0;  // a bare background unless a test lays out a table
    state_.G_Kabe = 2;
  }
  void TearDown() override { OverrideFixedFileFolders(std::nullopt); }

  std::string Picture(int w, int h) {
    const std::string path = folder_.File("q" + std::to_string(w) + "x" + std::to_string(h) + ".bmp");
    EXPECT_TRUE(win::WriteBitmapFile(QuadrantPicture(w, h), path));
    return path;
  }

  // The wallpaper of the state, shown on a canvas that closes once it shows it; what the canvas
  // showed must be that picture.
  Surface Capture() {
    const WallpaperJob job = JobFromState(state_, table_, tableAt_);
    Surface picture = RenderWallpaper(job);
    EXPECT_EQ(picture.width(), kScreenW);
    EXPECT_EQ(picture.height(), kScreenH);
    Quelm_Rask_C canvas(picture, TableCellRects(job), CanvasOptions{nullptr, true});
    test::CanvasWatch watch;
    canvas.ShowModal(nullptr);
    EXPECT_FALSE(watch.TimedOut());
    EXPECT_FALSE(canvas.Loaded());
    const Surface* shown = canvas.Display().Image();
    EXPECT_TRUE(shown && test::CountDifferences(*shown, picture) == 0);
    return picture;
  }

  // The quadrant picture's corners at the rectangle r of the bitmap, and the desktop colour just
  // outside it where that is on the screen.
  static void ExpectPictureAt(const Surface& s, const Rect& r) {
    const int right = r.x + r.w - 1, bottom = r.y + r.h - 1;
    auto on = [](int x, int y) { return x >= 0 && y >= 0 && x < kScreenW && y < kScreenH; };
    auto expectAt = [&](int x, int y, COLORREF c) {
      if (on(x, y)) {
        EXPECT_EQ(s.Pixel(x, y), c) << x << "," << y;
      }
    };
    expectAt(r.x, r.y, kTL);
    expectAt(right, r.y, kTR);
    expectAt(r.x, bottom, kBL);
    expectAt(right, bottom, kBR);
    expectAt(r.x - 1, r.y, Desk());
    expectAt(r.x, r.y - 1, Desk());
    expectAt(right + 1, bottom, Desk());
    expectAt(right, bottom + 1, Desk());
    const int64_t visibleW = std::min(right + 1, kScreenW) - std::max(r.x, 0);
    const int64_t visibleH = std::min(bottom + 1, kScreenH) - std::max(r.y, 0);
    EXPECT_EQ(DeskPixels(s), int64_t{kScreenW} * kScreenH - visibleW * visibleH);
  }

  test::TempFolder folder_;
  AppState state_;
  TableModel table_;
  Point tableAt_{0, 0};  // the table's first cell on the screen
};

TEST_F(CanvasTest, CapturesThePictureFilePlacedCentredOrFullScreen) {
  struct Case {
    int16_t pos;
    int w, h;
    Rect at;
  };
  const Case cases[] = {
      {0, 800, 600, {112, 84, 800, 600}},         // framed by the desktop colour
      {0, 1600, 1200, {-288, -216, 1600, 1200}},  // cut off equally on all sides
      {2, 800, 600, {0, 0, 1024, 768}},           // landscape: the screen's width
      {2, 600, 800, {224, 0, 576, 768}},          // portrait: the screen's height
      {2, 500, 500, {128, 0, 768, 768}},          // square: the screen's height
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "G_Pos " << c.pos << ", " << c.w << " x " << c.h);
    state_.G_Kabe = 1;
    state_.G_Pos = c.pos;
    state_.Kabe_File = Picture(c.w, c.h);
    const Surface s = Capture();
    ExpectPictureAt(s, c.at);
  }
}

TEST_F(CanvasTest, CapturesThePictureFileTiledColumnByColumn) {
  state_.G_Kabe = 1;
  state_.G_Pos = 1;
  state_.Kabe_File = Picture(300, 200);
  const Surface s = Capture();
  EXPECT_EQ(DeskPixels(s), 0);
  for (int x : {0, 300, 600, 900})
    for (int y : {0, 200, 400, 600}) {
      EXPECT_EQ(s.Pixel(x, y), kTL) << x << "," << y;
      EXPECT_EQ(s.Pixel(std::min(x + 150, kScreenW - 1), y + 100), x + 150 < kScreenW ? kBR : kBL)
          << x << "," << y;
    }
  EXPECT_EQ(s.Pixel(1023, 767), kBL);  // the last tile (900, 600) at its (123, 167)
}

TEST_F(CanvasTest, WithoutWallpaperOrWithAnUnreadableFileOnlyTheDesktopColourRemains) {
  EXPECT_EQ(DeskPixels(Capture()), int64_t{kScreenW} * kScreenH);

  state_.G_Kabe = 1;
  state_.Kabe_File = folder_.Write("broken.bmp", "not a picture");
  EXPECT_EQ(DeskPixels(Capture()), int64_t{kScreenW} * kScreenH);
  state_.Kabe_File.clear();
  EXPECT_EQ(DeskPixels(Capture()), int64_t{kScreenW} * kScreenH);
}

TEST_F(CanvasTest, CapturesTheCurrentWallpaper) {
  test::WallpaperSettingsGuard guard;
  ASSERT_TRUE(win::SetDesktopWallpaper(Picture(400, 200)));
  test::WallpaperSettingsGuard::SetStyle(L"0", L"0");  // centred
  state_.G_Kabe = 0;
  ExpectPictureAt(Capture(), {312, 284, 400, 200});
}

TEST_F(CanvasTest, LaysTheTableOutAsTransparentTextAndLeavesTheStateAlone) {
  state_.G_Kabe = 1;
  state_.G_Pos = 0;
  state_.Kabe_File = Picture(800, 600);  // (112, 84)..(911, 683)
  tableAt_.x = 300;
  tableAt_.y = 200;
  state_.G_Rows = 3;
  state_.G_Cols = 2;
  state_.G_Cols_w = {0, 80, 120, 80, 80, 80};
  table_.At(1, 1).text = "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW";  // wider than its cell
  table_.At(1, 1).foreColor = RGB(255, 0, 255);
  table_.At(3, 2).text = "壁紙";
  table_.At(3, 2).foreColor = RGB(0, 255, 255);
  table_.At(3, 2).backColor = RGB(0, 0, 0);  // the canvas never paints a cell background
  table_.At(4, 1).text = "beyond G_Rows";

  const Surface s = Capture();
  EXPECT_EQ(s.Pixel(tableAt_.x, tableAt_.y), kBlack);  // the first cell's frame at the corner given
  // Frames: column 1 at x 300..379, column 2 at 380..499, rows at y 200, 219, 238.
  for (const POINT p : {POINT{300, 200}, POINT{379, 218}, POINT{380, 200}, POINT{499, 256}, POINT{300, 256}})
    EXPECT_EQ(s.Pixel(p.x, p.y), kBlack) << p.x << "," << p.y;
  auto count = [&](int x0, int y0, int w, int h, COLORREF c) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x) n += s.Pixel(x, y) == c;
    return n;
  };
  EXPECT_GT(count(301, 201, 78, 17, RGB(255, 0, 255)), 30);
  EXPECT_EQ(count(380, 200, 644, 19, RGB(255, 0, 255)), 0);  // clipped at its cell's right edge
  EXPECT_GT(count(381, 239, 118, 17, RGB(0, 255, 255)), 10);
  // The background shows through the cells: the picture's top-left quadrant (red) is all around the
  // text, and nothing is drawn below the last row.
  EXPECT_EQ(s.Pixel(490, 245), kTL);
  EXPECT_EQ(CountOther(s, 112, 257, 400, 50, kTL), 0);
  EXPECT_EQ(s.Pixel(112, 84), kTL);
  EXPECT_EQ(s.Pixel(911, 683), kBR);
}

TEST_F(CanvasTest, ShowsExactlyThePictureItIsGivenAlsoWithATableOffTheScreen) {
  state_.G_Kabe = 1;
  state_.G_Pos = 1;
  state_.Kabe_File = Picture(300, 200);
  tableAt_.x = 700;
  tableAt_.y = 600;
  state_.G_Rows = 10;  // runs off the bottom of the screen
  state_.G_Cols = 5;
  table_.At(2, 3).text = "Quelm";
  const Surface s = Capture();  // compares what the canvas showed
  EXPECT_EQ(s.Pixel(700, 600), kBlack);
}

TEST_F(CanvasTest, CoversTheScreenAboveEveryWindowWithoutFrame) {
  bool toolTip = false;
  test::CanvasWatch watch([&](HWND canvas, int tick) {
    if (tick != 2) return;
    toolTip = ThreadHasToolTip(L"クリックで戻り");
    PostMessageW(GetWindow(canvas, GW_CHILD), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  });
  const Surface picture = RenderWallpaper(JobFromState(state_, table_, tableAt_));
  ShowCanvas(JobFromState(state_, table_, tableAt_), picture);
  EXPECT_FALSE(watch.TimedOut());
  EXPECT_TRUE(toolTip);
  ASSERT_TRUE(watch.Seen());
  EXPECT_NE(watch.ExStyle() & WS_EX_TOPMOST, 0);
  EXPECT_EQ(watch.Style() & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);
  const RECT r = watch.Rect();
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, kScreenW);
  EXPECT_EQ(r.bottom, kScreenH);
}

TEST_F(CanvasTest, NothingElseOnTheScreenGetsIntoTheWallpaper) {
  // Another window above everything, over the middle of the screen, while the canvas composes.
  const wchar_t* kClass = L"QrCanvasTestCover";
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
  RegisterClassW(&wc);
  HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClass, L"", WS_POPUP, 300, 200, 400, 300,
                               nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(cover, nullptr);
  ShowWindow(cover, SW_SHOWNOACTIVATE);
  UpdateWindow(cover);
  const Surface s = Capture();
  DestroyWindow(cover);
  UnregisterClassW(kClass, wc.hInstance);
  DeleteObject(wc.hbrBackground);
  EXPECT_EQ(DeskPixels(s), int64_t{kScreenW} * kScreenH);
}

TEST_F(CanvasTest, OpaqueCellsShowTheirBackColoursOverTheBackground) {
  state_.Trans = 0;
  state_.G_Kabe = 1;
  state_.G_Pos = 0;
  state_.Kabe_File = Picture(800, 600);
  tableAt_.x = 300;
  tableAt_.y = 200;
  state_.G_Rows = 2;
  state_.G_Cols = 2;
  table_.At(1, 1).text = "opaque";
  table_.At(2, 2).backColor = RGB(0, 128, 0);
  const Surface s = Capture();
  EXPECT_EQ(s.Pixel(300 + 80 + 40, 200 + Row_Pitch + 3), RGB(0, 128, 0));  // inside cell (2, 2)
  EXPECT_EQ(s.Pixel(300 + 70, 200 + 10), RGB(255, 255, 255));              // cell (1, 1): white
  EXPECT_EQ(s.Pixel(300 + 161, 200 + 10), kTL);                            // right of the table
}

TEST_F(CanvasTest, PreviewStaysUntilAPressOnTheBackgroundNotOnACell) {
  tableAt_.x = 100;
  tableAt_.y = 100;
  state_.G_Rows = 2;
  state_.G_Cols = 2;
  state_.G_Cols_w = {0, 80, 0, 80, 80, 80};  // column 2 has no width: nothing there to press
  win::DeletePath(WallpaperBitmapPath());
  const HCURSOR pointer = LoadCursorW(nullptr, IDC_CROSS);

  const WallpaperJob job = JobFromState(state_, table_, tableAt_);
  const Surface picture = RenderWallpaper(job);
  Quelm_Rask_C canvas(picture, TableCellRects(job), CanvasOptions{pointer, false});
  std::vector<bool> openAfter;  // whether the canvas was still loaded after each press
  HCURSOR shown = nullptr;
  auto press = [&](UINT down, UINT up, WPARAM keys, int x, int y) {
    PostMessageW(canvas.Display().hwnd(), down, keys, MAKELPARAM(x, y));
    PostMessageW(canvas.Display().hwnd(), up, 0, MAKELPARAM(x, y));
  };
  test::CanvasWatch watch([&](HWND, int tick) {
    if (canvas.Timer1().Enabled()) return;  // not shown yet
    switch (tick % 100) {
      case 2:
        SendMessageW(canvas.Display().hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(canvas.Display().hwnd()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        shown = GetCursor();
        press(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, 100, 100);  // the first cell's corner
        break;
      case 4:
        openAfter.push_back(canvas.Loaded());
        press(WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON | MK_SHIFT, 179, 137);  // the last cell's corner
        break;
      case 6:
        openAfter.push_back(canvas.Loaded());
        press(WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON, 185, 110);  // right of the table: background
        break;
    }
  });
  canvas.ShowModal(nullptr);
  EXPECT_FALSE(watch.TimedOut());
  EXPECT_EQ(openAfter, (std::vector<bool>{true, true}));
  EXPECT_EQ(shown, pointer);
  EXPECT_FALSE(canvas.Loaded());
  EXPECT_FALSE(win::ReadFileBytes(WallpaperBitmapPath()));
  EXPECT_TRUE(canvas.OverTableCell({100, 100}));
  EXPECT_TRUE(canvas.OverTableCell({179, 137}));
  EXPECT_FALSE(canvas.OverTableCell({180, 100}));
  EXPECT_FALSE(canvas.OverTableCell({100, 138}));
  EXPECT_FALSE(canvas.OverTableCell({99, 100}));
}

TEST_F(CanvasTest, EscapeClosesThePreviewOtherKeysDoNot) {
  tableAt_.x = 100;
  tableAt_.y = 100;
  const WallpaperJob job = JobFromState(state_, table_, tableAt_);
  const Surface picture = RenderWallpaper(job);
  Quelm_Rask_C canvas(picture, TableCellRects(job), CanvasOptions{nullptr, false});
  test::KeysIntoWindow keys(L"Quelm_Rask_C", {VK_RETURN, VK_SPACE, VK_ESCAPE});
  canvas.ShowModal(nullptr);
  EXPECT_FALSE(keys.TimedOut());
  EXPECT_EQ(keys.OpenBeforeEachKey(), (std::vector<bool>{true, true, true}));
  EXPECT_FALSE(canvas.Loaded());
}

// Several monitors: the canvas covers every one, and a table on the second shows there.
TEST_F(CanvasTest, CoversEveryMonitorAndShowsATableOnTheSecond) {
  const test::TwoMonitors display;
  state_.G_Rows = 2;
  state_.G_Cols = 2;
  tableAt_ = {-700, 200};
  const WallpaperJob job = JobFromState(state_, table_, tableAt_);
  const Surface picture = RenderScreen(job);
  Surface shown(1824, 768);
  RECT covered{};
  test::CanvasWatch watch([&](HWND canvas, int tick) {
    if (tick != 2) return;
    GetWindowRect(canvas, &covered);
    HWND view = GetWindow(canvas, GW_CHILD);
    SendMessageW(view, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.dc()), PRF_CLIENT);
    PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1500, 700));  // the primary's background
  });
  ShowCanvas(job, picture);
  EXPECT_FALSE(watch.TimedOut());
  EXPECT_EQ(covered.left, -800);
  EXPECT_EQ(covered.top, 0);
  EXPECT_EQ(covered.right, 1024);
  EXPECT_EQ(covered.bottom, 768);
  EXPECT_EQ(shown.Pixel(-700 + 800, 200), kBlack);  // the first cell's frame, on the second monitor
  EXPECT_EQ(shown.Pixel(-700 + 800 + 40, 200 + 5), Desk());
  EXPECT_EQ(CountOther(shown, 0, 100, 800, 600, Desk()), CountOther(picture, 0, 100, 800, 600, Desk()));
}

}  // namespace
}  // namespace qr
