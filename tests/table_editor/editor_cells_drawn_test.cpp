// The opaque cells the wallpaper gets are drawn without any window, yet pixel for pixel as the editor's
// own cell text boxes look on the screen: the sunken edge, the back colour, the font and the place of
// the text, for several fonts and colours, column widths down to 0, and text cut off by its cell.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/wallpaper_job.h"
#include "support/editor_fixture.h"
#include "wallpaper/composer.h"
#include "win32/surface.h"

namespace qr::test {
namespace {

// The screen's pixels of the rectangle (screen coordinates), as a surface of its size.
win::Surface Shot(const RECT& r) {
  win::Surface shot(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.dc(), 0, 0, shot.width(), shot.height(), screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  return shot;
}

TEST_F(EditorTest, OpaqueCellsDrawnWithoutAWindowEqualTheEditorsOwnCells) {
  state.G_Rows = 4;
  state.G_Cols = 5;
  state.G_Cols_w = {0, 90, 0, 130, 3, 60};  // a column of width 0 and one narrower than its edges
  auto editor = Open();
  const Cell cells[] = {
      {"ＭＳ Ｐゴシック 壁紙", CellFont{"ＭＳ Ｐゴシック", 9.0, false, false}, RGB(0, 0, 0),
       RGB(255, 255, 255)},
      {"hidden", CellFont{"Arial", 9.0, false, false}, RGB(255, 0, 0), RGB(0, 0, 255)},
      {"Bold ゴシック 12", CellFont{"ＭＳ ゴシック", 12.0, true, false}, RGB(0, 128, 0), RGB(255, 255, 192)},
      {"x", CellFont{"Arial", 9.0, false, true}, RGB(255, 255, 255), RGB(0, 0, 0)},
      {"Text far wider than its narrow cell", CellFont{"Tahoma", 10.0, false, true}, RGB(0, 0, 128),
       0x80000000u | COLOR_BTNFACE},
      {"Tall 24", CellFont{"Tahoma", 24.0, true, false}, RGB(128, 0, 128), RGB(220, 240, 255)},
      {"", CellFont{"Arial", 9.0, false, false}, RGB(0, 0, 0), RGB(255, 128, 0)},
      {"Liberation", CellFont{"Times New Roman", 11.0, false, false}, 0x80000000u | COLOR_WINDOWTEXT,
       RGB(250, 250, 250)},
  };
  int next = 0;
  for (int row = 1; row <= state.G_Rows; ++row)
    for (int col = 1; col <= state.G_Cols; ++col) editor->SetCell(row, col, cells[next++ % 8]);
  editor->FocusFirstSlider();  // no caret in a cell
  SetWindowPos(editor->hwnd(), HWND_TOPMOST, 120, 90, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  RedrawWindow(editor->hwnd(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);

  RECT first{};
  GetWindowRect(editor->txt_Item(1, 1).hwnd(), &first);
  win::Surface drawn(1024, 768, RGB(1, 2, 3));
  DrawOpaqueTable(drawn, JobTableFrom(editor->Model(), state.G_Rows, state.G_Cols, state.G_Cols_w),
                  {first.left, first.top});

  int compared = 0;
  for (int row = 1; row <= state.G_Rows; ++row) {
    for (int col = 1; col <= state.G_Cols; ++col) {
      RECT box{};
      GetWindowRect(editor->txt_Item(col, row).hwnd(), &box);
      SCOPED_TRACE(testing::Message() << "cell " << row << "," << col);
      if (box.right <= box.left) {  // width 0: the next column starts here and is compared instead
        EXPECT_EQ(state.G_Cols_w[col], 0);
        continue;
      }
      const win::Surface shot = Shot(box);
      int differing = 0;
      std::string firstDiff;
      for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
          ++compared;
          if (shot.Pixel(x, y) == drawn.Pixel(box.left + x, box.top + y)) continue;
          if (differing++ == 0) firstDiff = std::to_string(x) + "," + std::to_string(y);
        }
      EXPECT_EQ(differing, 0) << "first at " << firstDiff;
    }
  }
  EXPECT_GT(compared, 4 * (90 + 130 + 3 + 60) * Row_Pitch - 1);
  SetWindowPos(editor->hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

}  // namespace
}  // namespace qr::test
