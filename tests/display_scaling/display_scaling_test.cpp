// Every window at the screen's display scale. scripts/test runs this program in Wine prefixes of 96, 120,
// 144 and 192 dots per inch: windows are their design size times the scale, cell text fits its cell,
// and the wallpaper is the screen's pixel size with the table exactly where the editor shows it.
#include <windows.h>
// after windows.h
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>

#include "canvas/canvas_window.h"
#include "core/geometry.h"
#include "core/settings.h"
#include "core/table_record.h"
#include "core/wallpaper_job.h"
#include "font_colour/font_chooser.h"
#include "forms/forms.h"
#include "main_window/main_window.h"
#include "shared/fixed_files.h"
#include "shared/profile_store.h"
#include "support/editor_fixture.h"
#include "support/program_run.h"
#include "support/same_bitmap.h"
#include "wallpaper_creation/create_wallpaper.h"
#include "win32/display.h"
#include "win32/files.h"
#include "win32/handles.h"
#include "win32/image.h"
#include "win32/screen.h"

namespace qr {
namespace {

// Cell colours that nothing else on the screen shows.
constexpr COLORREF kGreen = RGB(3, 201, 5);
constexpr COLORREF kRed = RGB(251, 7, 9);

int Dpi() { return win::SystemDpi(); }
int Px(int design) { return MulDiv(design, Dpi(), 96); }

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

void ExpectClientSize(HWND window, int designW, int designH) {
  const SIZE size = ClientSize(window);
  EXPECT_NEAR(size.cx, Px(designW), 1) << "design width " << designW << " at " << Dpi() << " dpi";
  EXPECT_NEAR(size.cy, Px(designH), 1) << "design height " << designH << " at " << Dpi() << " dpi";
}

win::Surface Screenshot() {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  win::Surface shot(w, h);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.dc(), 0, 0, w, h, screen, 0, 0, SRCCOPY);
  ReleaseDC(nullptr, screen);
  GdiFlush();
  return shot;
}

// The bounding box of the colour's pixels; empty when there are none.
RECT BoundsOf(const win::Surface& s, COLORREF colour) {
  RECT box{s.width(), s.height(), 0, 0};
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x)
      if (s.Pixel(x, y) == colour) {
        box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
               std::max<LONG>(box.bottom, y + 1)};
      }
  return box;
}

POINT ClientOrigin(HWND window) {
  POINT p{0, 0};
  ClientToScreen(window, &p);
  return p;
}

int FontHeight(HWND control) {
  HDC dc = GetDC(control);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return metrics.tmHeight;
}

// A skin picture at another resolution: smooth, once per resolution, its transparent margin exactly
// transparent and no key colour blended into its edges.
TEST(DisplayScalingPictures, ScaledOnceWithoutAKeyColouredFringe) {
  win::Surface pixels(20, 10, forms::kMagenta);
  const RECT inside{3, 2, 17, 8};
  win::Brush grey(CreateSolidBrush(RGB(128, 128, 128)));
  FillRect(pixels.dc(), &inside, grey.get());
  const forms::Picture picture = forms::Picture::FromSurface(std::move(pixels), forms::kMagenta);
  EXPECT_TRUE(picture.ForDpi(96) == picture);
  const forms::Picture scaled = picture.ForDpi(144);
  EXPECT_TRUE(picture.ForDpi(144) == scaled);
  ASSERT_EQ(scaled.Width(), 30);
  ASSERT_EQ(scaled.Height(), 15);
  int transparent = 0;
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 30; ++x) {
      const COLORREF c = scaled.Pixels()->Pixel(x, y);
      transparent += c == forms::kMagenta;
      EXPECT_TRUE(c == forms::kMagenta || c == RGB(128, 128, 128)) << x << ", " << y;
    }
  EXPECT_EQ(transparent, 30 * 15 - 21 * 9);  // the margin, scaled by edges
}

class DisplayScaling : public test::EditorTest {
 protected:
  void SetUp() override {
    OverrideFixedFileFolders(FixedFileFolders{folder.path(), folder.File("appdata")});
    state.Program_Folder = folder.path();
    state.G_Kabe = 2;
  }
  void TearDown() override {
    if (editor) editor->Unload();
    OverrideFixedFileFolders(std::nullopt);
  }

  Quelm_Rask_S& OpenAt(int left, int top) {
    editor = Open();
    editor->Move(left * forms::Form::TwipsPerPixelX(), top * forms::Form::TwipsPerPixelY());
    forms::DoEvents();
    return *editor;
  }

  std::unique_ptr<Quelm_Rask_S> editor;
};

TEST_F(DisplayScaling, EveryWindowIsItsDesignSizeAtTheScreensScale) {
  SCOPED_TRACE(Dpi());
  RecordProperty("dpi", Dpi());
  Quelm_Rask_M main(state, MainWindowServices{});
  main.Show();
  forms::DoEvents();
  ExpectClientSize(main.hwnd(), 541, 449 + 20);
  RECT panel{};  // a bordered picture box inside another
  GetWindowRect(main.Pic_C.hwnd(), &panel);
  EXPECT_NEAR(panel.right - panel.left, Px(513), 1);
  // The list scrolls sideways as far beyond its width as at 100 %.
  EXPECT_GT(SendMessageW(main.List_Kabe.hwnd(), LB_GETHORIZONTALEXTENT, 0, 0),
            Px(main.List_Kabe.Width()) + Px(100));
  main.Unload();

  Quelm_Rask_S& s = OpenAt(40, 30);
  ExpectClientSize(s.hwnd(), 323, 301);  // 10 rows of two 80-pixel columns: the narrowest window
  for (int i = 0; i < 24; ++i) SendMessageW(s.Cmd_Ya(0).hwnd(), BM_CLICK, 0, 0);  // 34 rows
  s.S_Wide(1).SetValue(400);
  // Taller than the 768-pixel screen from its top at 30: the two large buttons stand beside the grid.
  ExpectClientSize(s.hwnd(), 4 + 20 + 480 + 8 + 88 + 8, 52 + 8 + 33 * 19 + 30 + 40);

  Skin skin{test::Plain(21, 20, RGB(200, 0, 0)), test::Plain(21, 20, RGB(0, 200, 0)),
            test::Plain(541, 22, RGB(90, 100, 110)), nullptr};
  FontChooserServices services;
  services.screenFonts = [] { return std::vector<std::string>{"Arial"}; };
  Quelm_Rask_F chooser(s.CurrentCell(), skin, services);
  chooser.Load(s.hwnd());
  ExpectClientSize(chooser.hwnd(), 469, 297);
  chooser.Unload();
}

TEST_F(DisplayScaling, CellTextFitsItsCellAndDragFollowsThePointer) {
  SCOPED_TRACE(Dpi());
  Quelm_Rask_S& s = OpenAt(60, 40);
  // A size the font chooser offers, and the default font (9.75 points).
  s.SetCell(1, 1, Cell{"Ágjy", CellFont{"Arial", 10, true, false}, 0, 0xFFFFFF});
  for (const auto& [row, col] : {std::pair{1, 1}, std::pair{2, 2}}) {
    HWND box = s.txt_Item(col, row).hwnd();
    EXPECT_GE(ClientSize(box).cy, FontHeight(box)) << "cell " << row << ", " << col;
  }
  // Dragging by the background keeps the grabbed point under the pointer.
  RECT before{};
  GetWindowRect(s.hwnd(), &before);
  const POINT grab{Px(300) + 1, Px(45) + 1};  // a device pixel between two design pixels
  SendMessageW(s.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
  cursor = {before.left + grab.x + 37, before.top + grab.y + 23};  // the pointer, as the editor reads it
  SendMessageW(s.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab.x + 37, grab.y + 23));
  SendMessageW(s.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(grab.x + 37, grab.y + 23));
  RECT after{};
  GetWindowRect(s.hwnd(), &after);
  EXPECT_EQ(after.left, before.left + 37);
  EXPECT_EQ(after.top, before.top + 23);
}

TEST_F(DisplayScaling, MovingToAMonitorOfAnotherScaleLaysTheWindowOutAgain) {
  SCOPED_TRACE(Dpi());
  Quelm_Rask_S& s = OpenAt(20, 20);
  const int next = Dpi() == 96 ? 144 : 96;
  const int fontBefore = FontHeight(s.txt_Item(1, 1).hwnd());
  RECT window{};
  GetWindowRect(s.hwnd(), &window);
  const RECT suggested{window.left, window.top, window.left + MulDiv(323, next, 96),
                       window.top + MulDiv(301, next, 96)};
  SendMessageW(s.hwnd(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(next, next),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(s.Scale().dpi, next);
  EXPECT_EQ(ClientSize(s.hwnd()).cx, MulDiv(323, next, 96));
  // A cell inside the grid box, a slider and a caption, each at its design place at the new scale.
  const RECT cell = test::RectInParent(s.txt_Item(2, 3).hwnd());
  EXPECT_EQ(cell.left, MulDiv(88, next, 96));
  EXPECT_EQ(cell.top, MulDiv(8 + 2 * 19, next, 96));
  EXPECT_EQ(cell.right, MulDiv(168, next, 96));
  EXPECT_EQ(test::RectInParent(s.S_Wide(1).hwnd()).top, MulDiv(36, next, 96));
  const forms::Label& caption = s.lbl_Button(0);
  EXPECT_EQ(caption.Bounds().top, MulDiv(caption.Top(), next, 96));
  // The cells' font follows, and its text still fits.
  HWND box = s.txt_Item(1, 1).hwnd();
  EXPECT_NEAR(FontHeight(box), MulDiv(fontBefore, next, Dpi()), 2);
  EXPECT_GE(ClientSize(box).cy, FontHeight(box));
}

// Both ways of putting the table on the wallpaper: the bitmap has the screen's pixel size, and cell (1, 1)
// (and cell (2, 2), which shows the column and row pitch) lie where the screen showed them in the editor.
TEST_F(DisplayScaling, WallpaperTableLandsOnTheEditorsCells) {
  SCOPED_TRACE(Dpi());
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  for (int trans = 0; trans <= 1; ++trans) {
    SCOPED_TRACE(trans ? "transparent" : "opaque");
    Quelm_Rask_S& s = OpenAt(90 + 20 * trans, 70);
    state.Trans = static_cast<int16_t>(trans);
    s.SetCell(1, 1, Cell{"", CellFont{"Arial", 9.0, false, false}, 0, kGreen});
    s.SetCell(2, 2, Cell{"", CellFont{"Arial", 9.0, false, false}, 0, kRed});
    forms::DoEvents();
    // From the screen: the cells' text areas (the colour fills them) as the editor shows them.
    const win::Surface shot = Screenshot();
    const RECT green = BoundsOf(shot, kGreen), red = BoundsOf(shot, kRed);
    const POINT cell11 = ClientOrigin(s.txt_Item(1, 1).hwnd()),
                cell22 = ClientOrigin(s.txt_Item(2, 2).hwnd());
    ASSERT_EQ(green.left, cell11.x);
    ASSERT_EQ(green.top, cell11.y);
    ASSERT_EQ(red.left, cell22.x);
    // The job builder's corner, from the editor's place alone, is the first cell's text area as shown.
    const EditorPlace place{static_cast<int32_t>(std::lround(s.Left())),
                            static_cast<int32_t>(std::lround(s.Top())), state.G_Rows, state.G_Cols,
                            state.G_Cols_w};
    EXPECT_EQ(TablePlaceFromEditor(place, win::CurrentDisplay()), (TablePlace{{cell11.x, cell11.y}, Dpi()}));

    ASSERT_TRUE(Build_Wallpaper(s, nullptr));
    auto loaded = win::LoadImageFile(WallpaperBitmapPath());
    ASSERT_TRUE(loaded);
    // The command line, given the same table and settings (the editor's place among them), draws the same
    // bitmap byte for byte.
    ProfileKeyStore settings(folder.File("Quelm_Rask.ini"));
    Save_Main_Settings(settings, state);
    Save_Editor_Settings(settings, state, s.Left(), s.Top());
    const std::string table =
        folder.Write("table.qlm", EncodeTableFile(s.Model(), state.G_Rows, state.G_Cols, state.G_Cols_w));
    const std::string out = folder.File("command line.bmp");
    const test::ProgramRun run =
        test::RunProgram(test::ProgramIn(folder.path()), "/render \"" + table + "\" /out \"" + out + "\"");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_TRUE(test::SameBitmapBytes(win::ReadFileBytes(out), win::ReadFileBytes(WallpaperBitmapPath())));
    EXPECT_EQ(loaded->width, screenW);
    EXPECT_EQ(loaded->height, screenH);
    const win::Surface& bitmap = loaded->pixels;
    if (trans == 0) {
      // The photographed cells, at the same place.
      EXPECT_EQ(BoundsOf(bitmap, kGreen).left, green.left);
      EXPECT_EQ(BoundsOf(bitmap, kGreen).top, green.top);
      EXPECT_EQ(BoundsOf(bitmap, kRed).left, red.left);
      EXPECT_EQ(BoundsOf(bitmap, kRed).top, red.top);
    } else {
      // The canvas's cell frames start at the cells' text areas: cell (1, 1)'s left and top lines, and
      // cell (2, 2)'s lines beside the right and bottom lines of its neighbours.
      const COLORREF frame = RGB(0, 0, 0);
      EXPECT_EQ(bitmap.Pixel(cell11.x, cell11.y), frame);
      EXPECT_NE(bitmap.Pixel(cell11.x - 1, cell11.y + 3), frame);
      EXPECT_NE(bitmap.Pixel(cell11.x + 3, cell11.y - 1), frame);
      EXPECT_NE(bitmap.Pixel(cell11.x + 3, cell11.y + 3), frame);
      for (int along = 3; along <= 6; ++along) {
        EXPECT_EQ(bitmap.Pixel(cell22.x - 1, cell22.y + along), frame);
        EXPECT_EQ(bitmap.Pixel(cell22.x, cell22.y + along), frame);
        EXPECT_NE(bitmap.Pixel(cell22.x + 1, cell22.y + along), frame);
        EXPECT_EQ(bitmap.Pixel(cell22.x + along, cell22.y - 1), frame);
        EXPECT_EQ(bitmap.Pixel(cell22.x + along, cell22.y), frame);
        EXPECT_NE(bitmap.Pixel(cell22.x + along, cell22.y + 1), frame);
      }
    }
    editor->Unload();
    editor.reset();
  }
}

}  // namespace
}  // namespace qr
