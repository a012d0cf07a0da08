// The whole road of a font choice: the editor's font icon, the chooser, the create command and the
// bitmap it writes, for transparent and opaque cells.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "canvas/canvas_window_test_driver.h"
#include "font_colour/font_chooser.h"
#include "font_colour/font_chooser_driver.h"
#include "support/dialog_driver.h"
#include "support/editor_fixture.h"
#include "wallpaper_creation/create_wallpaper.h"
#include "shared/fixed_files.h"
#include "win32/image.h"
#include "win32/wallpaper_test_settings.h"

namespace qr {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

int CountColour(const win::Surface& s, const RECT& r, COLORREF colour) {
  int n = 0;
  for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, s.height()); ++y)
    for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, s.width()); ++x)
      n += s.Pixel(x, y) == colour;
  return n;
}

// A cell's inside, within its frame and the text box's edge.
RECT Shrunk(RECT r) {
  InflateRect(&r, -3, -3);
  return r;
}
int Inside(const RECT& r) {
  const RECT in = Shrunk(r);
  return (in.right - in.left) * (in.bottom - in.top);
}

class FontChooserWallpaperTest : public test::EditorTest {
 protected:
  void SetUp() override {
    OverrideFixedFileFolders(FixedFileFolders{folder.path(), folder.File("appdata")});
    state.G_Kabe = 2;
    hooks.create = CreateWallpaperHook(state, CreateWallpaperServices{});
    hooks.font =
        FontChooserHook({skin.Img_On, skin.Img_Off, test::Plain(541, 22, RGB(90, 100, 110)), skin.cursor},
                        FontChooserServices{nullptr, [this]() -> std::optional<POINT> { return cursor; }});
  }
  void TearDown() override {
    if (editor) editor->Unload();
    OverrideFixedFileFolders(std::nullopt);
  }

  // Where cell (1, col) lies on the wallpaper: the canvas draws transparent cells from the table
  // rectangle's corner, opaque ones are the editor's own text boxes.
  RECT CellOnWallpaper(int col) const {
    if (state.Trans == 1) {
      const Rect table = EditorTableRectangle(*editor);
      const int left = table.x + (col - 1) * state.G_Cols_w[1];
      return RECT{left, table.y, left + state.G_Cols_w[static_cast<size_t>(col)], table.y + Row_Pitch};
    }
    RECT box{};
    GetWindowRect(editor->txt_Item(col, 1).hwnd(), &box);
    return box;
  }

  test::WallpaperSettingsGuard wallpaperGuard;
  std::unique_ptr<Quelm_Rask_S> editor;
};

TEST_F(FontChooserWallpaperTest, AColourAndBoldChosenForOneCellAreDrawnOnTheWallpaper) {
  for (const int16_t trans : {1, 0}) {
    SCOPED_TRACE(trans);
    editor = Open();
    editor->Move(200 * forms::Form::TwipsPerPixelX(), 150 * forms::Form::TwipsPerPixelY());
    state.Trans = trans;
    const CellFont font{editor->DefaultCellFont().name, 11, false, false};
    // Cell (1, 2): the same text in red without bold, set directly, to compare with.
    editor->SetCell(1, 1, Cell{"WWWW", font, 0, RGB(255, 255, 255)});
    editor->SetCell(1, 2, Cell{"WWWW", font, kRed, RGB(255, 255, 255)});
    {
      test::ChooserWatch watch([](HWND chooser) {
        const test::ChooserHandles h(chooser);
        h.ClickEntry(test::kStyleList, 2);  // "太字"
        h.PressSwatch(18);                  // red
        h.Click(test::kOkButton);
      });
      Click(*editor, editor->Img_SS(6));
      ASSERT_TRUE(watch.Ran());
    }
    ASSERT_TRUE(editor->Model().At(1, 1).font.bold);
    forms::DoEvents();
    const RECT chosen = CellOnWallpaper(1), plain = CellOnWallpaper(2);

    test::DialogDriver driver;
    driver.Press(IDNO);
    test::CanvasWatch canvas;
    Click(*editor, editor->lbl_Button(0));
    ASSERT_TRUE(driver.WaitUntilDone());
    EXPECT_FALSE(canvas.TimedOut());
    ASSERT_FALSE(editor->Loaded());
    editor.reset();

    const auto bitmap = win::LoadImageFile(WallpaperBitmapPath());
    ASSERT_TRUE(bitmap);
    EXPECT_GT(CountColour(bitmap->pixels, chosen, kRed), 10);
    // The same text in bold covers more of its cell.
    const COLORREF paper = trans == 1 ? GetSysColor(COLOR_BACKGROUND) : RGB(255, 255, 255);
    const int boldInk = Inside(chosen) - CountColour(bitmap->pixels, Shrunk(chosen), paper);
    const int plainInk = Inside(plain) - CountColour(bitmap->pixels, Shrunk(plain), paper);
    EXPECT_GT(boldInk, plainInk * 11 / 10);
  }
}

}  // namespace
}  // namespace qr
