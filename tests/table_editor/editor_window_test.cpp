// The editor on real windows: opening, the grid layout, rows, columns and widths, the toolbar, the
// options, closing and drawing the grid box (dragging: editor_drag_test.cpp).
#include "table_editor/editor_window.h"

#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <array>
#include <string>

#include "support/editor_fixture.h"
#include "win32/text.h"

namespace qr::test {
namespace {

struct Box {
  int left, top, width, height;
  bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Box& b) {
  return os << "(" << b.left << "," << b.top << " " << b.width << "x" << b.height << ")";
}

Box BoxOf(HWND child) {
  const RECT r = RectInParent(child);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Box BoxOf(const forms::Windowless& w) { return {w.Left(), w.Top(), w.Width(), w.Height()}; }

RECT WindowPixels(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return r;
}

bool IsVisible(HWND wnd) { return (GetWindowLongW(wnd, GWL_STYLE) & WS_VISIBLE) != 0; }

std::string ToolTipOf(HWND tip, HWND owner, UINT_PTR id, bool byWindow) {
  wchar_t text[256] = {};
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.hwnd = owner;
  info.uId = id;
  info.uFlags = byWindow ? TTF_IDISHWND : 0;
  info.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
  return win::Utf8(text);
}

HWND ToolTipWindowOf(HWND owner) {
  struct Search {
    HWND owner;
    HWND found = nullptr;
  } search{owner};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM lp) CALLBACK -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        wchar_t name[64] = {};
        GetClassNameW(wnd, name, 64);
        if (std::wstring(name) == TOOLTIPS_CLASSW && GetWindow(wnd, GW_OWNER) == s->owner) {
          s->found = wnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The cells in use must be exactly the given rectangles; every other cell hidden.
void ExpectCells(Quelm_Rask_S& editor, int rows, int cols, const std::array<int, 6>& lefts) {
  for (int row = 1; row <= kMaxRows; ++row) {
    for (int col = 1; col <= kMaxCols; ++col) {
      HWND box = editor.txt_Item(col, row).hwnd();
      const bool inUse = row <= rows && col <= cols;
      EXPECT_EQ(IsVisible(box), inUse) << "cell " << row << "," << col;
      if (!inUse) continue;
      const Box expected{lefts[static_cast<size_t>(col)], 8 + 19 * (row - 1),
                         editor.State().G_Cols_w[static_cast<size_t>(col)], 19};
      EXPECT_EQ(BoxOf(box), expected) << "cell " << row << "," << col;
    }
  }
}

void ExpectSliders(Quelm_Rask_S& editor, int cols, const std::array<int, 6>& lefts) {
  for (int i = 1; i <= kMaxCols; ++i) {
    HWND slider = editor.S_Wide(i).hwnd();
    EXPECT_EQ(IsVisible(slider), i <= cols) << "slider " << i;
    if (i <= cols) {
      EXPECT_EQ(BoxOf(slider), (Box{lefts[static_cast<size_t>(i)], 36, 33, 13})) << "slider " << i;
    }
  }
}

// ---- Opening

TEST_F(EditorTest, OpensWithoutSettingsAsTheDefaultTableCentredOnTheScreen) {
  auto editor = Open();
  EXPECT_EQ(state.G_Rows, 10);
  EXPECT_EQ(state.G_Cols, 2);
  for (int i = 1; i <= kMaxCols; ++i) EXPECT_EQ(state.G_Cols_w[static_cast<size_t>(i)], 80);
  EXPECT_EQ(state.Cur_Row, 1);
  EXPECT_EQ(state.Cur_Col, 1);

  // 4845 x 4515 twips at 15 twips per pixel.
  EXPECT_DOUBLE_EQ(editor->Width(), 4845);
  EXPECT_DOUBLE_EQ(editor->Height(), 4515);
  const RECT r = WindowPixels(editor->hwnd());
  EXPECT_EQ(r.right - r.left, 323);
  EXPECT_EQ(r.bottom - r.top, 301);
  const int screenW = GetSystemMetrics(SM_CXSCREEN);
  const int screenH = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_LE(std::abs(2 * r.left - (screenW - 323)), 1);
  EXPECT_LE(std::abs(2 * r.top - (screenH - 301)), 1);
  EXPECT_EQ(editor->Screen_W_Px(), screenW);
  EXPECT_EQ(editor->Screen_H_Px(), screenH);

  ExpectCells(*editor, 10, 2, {0, 8, 88});
  ExpectSliders(*editor, 2, {0, 16, 96});
  EXPECT_EQ(BoxOf(editor->PicBackWindow()), (Box{4, 52, 180, 209}));
  EXPECT_EQ(editor->S_Wide(1).Value(), 80);
  EXPECT_EQ(editor->S_Wide(1).Min(), 0);
  EXPECT_EQ(editor->S_Wide(1).Max(), 400);
  EXPECT_EQ(editor->S_Wide(1).SmallChange(), 8);
  EXPECT_EQ(editor->S_Wide(1).LargeChange(), 50);

  // The large buttons below the grid box, their captions and faces.
  EXPECT_EQ(editor->Img_Button(0).Left(), 4);
  EXPECT_EQ(editor->Img_Button(0).Top(), 265);
  EXPECT_EQ(editor->lbl_Button(0).Top(), 269);
  EXPECT_EQ(editor->Img_Button(1).Left(), 94);
  EXPECT_EQ(editor->lbl_Button(1).Left(), 94);
  EXPECT_EQ(editor->lbl_Button(0).Caption(), "壁紙貼り付け");
  EXPECT_EQ(editor->lbl_Button(1).Caption(), "ｷｬﾝｾﾙ");
  for (int i = 0; i <= 6; ++i) EXPECT_TRUE(editor->Img_Button(i).Picture() == skin.Img_Off) << i;
  EXPECT_EQ(editor->lbl_Button(0).Cursor(), skin.cursor);
  EXPECT_EQ(editor->Open_X(), 200);
  EXPECT_EQ(editor->Open_Y(), 150);
}

TEST_F(EditorTest, ToolbarRowColumnButtonsAndOptionsAreLaidOutWithTheirTips) {
  auto editor = Open();
  const int slots[] = {4, 30, 56, 82, 108};
  for (int i = 2; i <= 6; ++i) {
    EXPECT_EQ(editor->Img_Button(i).Left(), slots[i - 2]) << i;
    EXPECT_EQ(editor->Img_SS(i).Left(), slots[i - 2] + 4) << i;
    EXPECT_TRUE(editor->Img_SS(i).Picture() == skin.toolbar[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(editor->Img_SS(i).Cursor(), skin.cursor) << i;
  }
  EXPECT_EQ(editor->Img_SS(2).ToolTip(), "データの読み込み");
  EXPECT_EQ(editor->Img_SS(3).ToolTip(), "名前を付けてデータの保存");
  EXPECT_EQ(editor->Img_SS(4).ToolTip(), "壁紙に貼り付け後のプレビュー");
  EXPECT_EQ(editor->Img_SS(5).ToolTip(), "背景色の設定");
  EXPECT_EQ(editor->Img_SS(6).ToolTip(), "フォントの設定");

  const int buttons[] = {136, 156, 176, 196};
  const char* tips[] = {"行数（Max.34）", "行数（Min.1）", "列数（Min.1）", "列数（Max.5）"};
  HWND tip = ToolTipWindowOf(editor->hwnd());
  ASSERT_NE(tip, nullptr);
  for (int i = 0; i <= 3; ++i) {
    HWND button = editor->Cmd_Ya(i).hwnd();
    EXPECT_EQ(BoxOf(button), (Box{buttons[i], 8, 18, 18})) << i;
    EXPECT_EQ(ToolTipOf(tip, editor->hwnd(), reinterpret_cast<UINT_PTR>(button), true), tips[i]) << i;
  }

  EXPECT_EQ(editor->lbl_Trns().Caption(), "透過");
  EXPECT_EQ(editor->lbl_Comn().Caption(), "共通");
  EXPECT_EQ(editor->Img_Trns().ToolTip(), "壁紙にテキストを透過して張り付ける");
  EXPECT_EQ(editor->Img_Comn().ToolTip(), "背景色とフォントに対して共通指定");
  EXPECT_TRUE(editor->Img_Trns().Picture() == skin.Img_Ra[0]);
  EXPECT_TRUE(editor->Img_Comn().Picture() == skin.Img_Ra[0]);
  // Nothing overlaps the right edge of the smallest window.
  EXPECT_LE(editor->lbl_Comn().Left() + editor->lbl_Comn().Width(), 323 - 4);
}

TEST_F(EditorTest, OpensWithTheSavedSettings) {
  store.Write("Section", "G_Rows", "3");
  store.Write("Section", "G_Cols", "4");
  store.Write("Section", "G_Cols_w1", "40");
  store.Write("Section", "G_Cols_w2", "0");
  store.Write("Section", "G_Cols_w3", "120");
  store.Write("Section", "G_Cols_w4", "400");
  store.Write("Section", "G_Left", "1500");
  store.Write("Section", "G_Top", "3000");
  store.Write("Section", "Trans", "1");
  store.Write("Section", "Common", "1");
  auto editor = Open();
  EXPECT_EQ(state.G_Rows, 3);
  EXPECT_EQ(state.G_Cols, 4);
  EXPECT_EQ(editor->S_Wide(3).Value(), 120);
  EXPECT_EQ(editor->S_Wide(5).Value(), 80);
  ExpectCells(*editor, 3, 4, {0, 8, 48, 48, 168});
  ExpectSliders(*editor, 4, {0, 16, 56, 56, 176});
  const RECT r = WindowPixels(editor->hwnd());
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 200);
  // (20 + 560 + 4 + 12) x 15 wide; (8 + 38 + 30 + 52 + 40) x 15 high.
  EXPECT_DOUBLE_EQ(editor->Width(), 596 * 15);
  EXPECT_DOUBLE_EQ(editor->Height(), 168 * 15);
  EXPECT_TRUE(editor->Img_Trns().Picture() == skin.Img_Ra[1]);
  EXPECT_TRUE(editor->Img_Comn().Picture() == skin.Img_Ra[1]);
}

TEST_F(EditorTest, SavedPositionBeyondTheScreenIsCentredInstead) {
  store.Write("Section", "G_Left", "32000");  // 2133 pixels: right of a 1024-pixel screen
  store.Write("Section", "G_Top", "300");
  auto editor = Open();
  const RECT r = WindowPixels(editor->hwnd());
  EXPECT_LE(std::abs(2 * r.left - (GetSystemMetrics(SM_CXSCREEN) - 323)), 1);
  EXPECT_LE(std::abs(2 * r.top - (GetSystemMetrics(SM_CYSCREEN) - 301)), 1);
}

TEST(EditorSkin, TakesTheMainWindowsFacesAndPointerAndLoadsItsOwnPictures) {
  const forms::Picture on = Plain(21, 20, RGB(1, 2, 3));
  const forms::Picture off = Plain(21, 20, RGB(4, 5, 6));
  HCURSOR pointer = LoadCursorW(nullptr, IDC_CROSS);
  const EditorSkin skin = EditorSkinWith(Skin{on, off, {}, pointer});
  EXPECT_TRUE(skin.Img_On == on);
  EXPECT_TRUE(skin.Img_Off == off);
  EXPECT_EQ(skin.cursor, pointer);
  for (const forms::Picture& box : skin.Img_Ra) {
    EXPECT_EQ(box.Width(), 13);
    EXPECT_EQ(box.Height(), 13);
  }
  EXPECT_FALSE(skin.Img_Ra[0] == skin.Img_Ra[1]);
  for (int i = 2; i <= 6; ++i) {
    EXPECT_EQ(skin.toolbar[static_cast<size_t>(i)].Width(), 18) << i;
    EXPECT_EQ(skin.toolbar[static_cast<size_t>(i)].Height(), 18) << i;
  }
  for (const forms::Picture& icon : skin.rowsAndColumns) EXPECT_TRUE(static_cast<bool>(icon));
}

// ---- Build_Grid

TEST_F(EditorTest, GridFollowsRowsColumnsAndWidths) {
  auto editor = Open();
  struct Case {
    int16_t rows, cols;
    std::array<int16_t, 6> widths;
    std::array<int, 6> cellLefts;
    Box gridBox;
    double widthTwips, heightTwips;
    bool buttonsBeside;  // the window, opened at 233 for 10 rows, reaches below the 768-pixel screen
  };
  const Case cases[] = {
      {34,
       5,
       {0, 50, 0, 120, 400, 33},
       {0, 8, 58, 58, 178, 578},
       {4, 52, 623, 665},
       (4 + 623 + 8 + 88 + 8) * 15.0,  // widened for the buttons beside the grid
       (665 + 92) * 15.0,
       true},
      {1, 1, {0, 10, 80, 80, 80, 80}, {0, 8}, {4, 52, 30, 38}, 4845, (38 + 92) * 15.0, false},
      // The largest table: the window is wider than the 1024-pixel screen and keeps its full size.
      {34,
       5,
       {0, 400, 400, 400, 400, 400},
       {0, 8, 408, 808, 1208, 1608},
       {4, 52, 2020, 665},
       (4 + 2020 + 8 + 88 + 8) * 15.0,
       (665 + 92) * 15.0,
       true},
      {5,
       3,
       {0, 100, 100, 100, 80, 80},
       {0, 8, 108, 208},
       {4, 52, 320, 114},
       (320 + 16) * 15.0,
       (114 + 92) * 15.0,
       false},
  };
  for (const Case& c : cases) {
    state.G_Rows = c.rows;
    state.G_Cols = c.cols;
    state.G_Cols_w = c.widths;
    editor->Build_Grid();
    SCOPED_TRACE(std::to_string(c.rows) + " x " + std::to_string(c.cols));
    ExpectCells(*editor, c.rows, c.cols, c.cellLefts);
    EXPECT_EQ(BoxOf(editor->PicBackWindow()), c.gridBox);
    EXPECT_DOUBLE_EQ(editor->Width(), c.widthTwips);
    EXPECT_DOUBLE_EQ(editor->Height(), c.heightTwips);
    const int buttonsTop = 52 + c.gridBox.height;
    if (c.buttonsBeside) {
      const int besideLeft = 4 + c.gridBox.width + 8;
      EXPECT_EQ(BoxOf(editor->Img_Button(0)), (Box{besideLeft, 52, 88, 22}));
      EXPECT_EQ(BoxOf(editor->Img_Button(1)), (Box{besideLeft, 52 + 26, 88, 22}));
      EXPECT_EQ(editor->lbl_Button(1).Top(), 52 + 26 + 4);
    } else {
      EXPECT_EQ(BoxOf(editor->Img_Button(0)), (Box{4, buttonsTop + 4, 88, 22}));
      EXPECT_EQ(editor->lbl_Button(1).Top(), buttonsTop + 8);
    }
    const RECT pic = editor->PicBackRect();
    EXPECT_EQ(pic.left, 4);
    EXPECT_EQ(pic.bottom - pic.top, c.gridBox.height);
  }
}

TEST_F(EditorTest, FullLayoutResetsFontsAndColoursButKeepsTexts) {
  auto editor = Open();
  Cell styled;
  styled.text = "残る";
  styled.font = CellFont{"Arial", 14, true, true};
  styled.foreColor = RGB(255, 0, 0);
  styled.backColor = RGB(0, 0, 255);
  editor->SetCell(2, 2, styled);
  editor->SetCell(20, 4, styled);  // hidden cell
  editor->Build_Grid();
  const CellFont defaultFont = editor->DefaultCellFont();
  EXPECT_EQ(defaultFont.name, editor->lbl_Button(0).Font().name);
  EXPECT_DOUBLE_EQ(defaultFont.size, editor->lbl_Button(0).Font().size);
  for (auto [row, col] : {std::pair{2, 2}, std::pair{20, 4}}) {
    const Cell& cell = editor->Model().At(row, col);
    EXPECT_EQ(cell.text, "残る");
    EXPECT_EQ(cell.font, defaultFont);
    EXPECT_EQ(cell.foreColor, 0x000000u);
    EXPECT_EQ(cell.backColor, 0xFFFFFFu);
    forms::TextBox& box = editor->txt_Item(col, row);
    EXPECT_EQ(box.Text(), "残る");
    EXPECT_EQ(box.Font().name, defaultFont.name);
    EXPECT_FALSE(box.Font().bold);
    EXPECT_EQ(box.ForeColor(), 0x000000u);
    EXPECT_EQ(box.BackColor(), 0xFFFFFFu);
  }
}

// ---- Rows and columns

TEST_F(EditorTest, RowButtonsStopAt34And1) {
  auto editor = Open();
  auto click = [&](int i) { SendMessageW(editor->Cmd_Ya(i).hwnd(), BM_CLICK, 0, 0); };
  for (int i = 0; i < 30; ++i) click(0);
  EXPECT_EQ(state.G_Rows, 34);
  ExpectCells(*editor, 34, 2, {0, 8, 88});
  EXPECT_EQ(BoxOf(editor->PicBackWindow()).height, 8 + 19 * 33 + 30);
  for (int i = 0; i < 40; ++i) click(1);
  EXPECT_EQ(state.G_Rows, 1);
  ExpectCells(*editor, 1, 2, {0, 8, 88});
  EXPECT_DOUBLE_EQ(editor->Height(), (38 + 92) * 15.0);
}

TEST_F(EditorTest, ColumnButtonsStopAt5And1AndShowTheSlidersInUse) {
  auto editor = Open();
  auto click = [&](int i) { SendMessageW(editor->Cmd_Ya(i).hwnd(), BM_CLICK, 0, 0); };
  for (int i = 0; i < 6; ++i) click(3);
  EXPECT_EQ(state.G_Cols, 5);
  ExpectCells(*editor, 10, 5, {0, 8, 88, 168, 248, 328});
  ExpectSliders(*editor, 5, {0, 16, 96, 176, 256, 336});
  EXPECT_DOUBLE_EQ(editor->Width(), (420 + 16) * 15.0);
  for (int i = 0; i < 6; ++i) click(2);
  EXPECT_EQ(state.G_Cols, 1);
  ExpectCells(*editor, 10, 1, {0, 8});
  ExpectSliders(*editor, 1, {0, 16});
  EXPECT_DOUBLE_EQ(editor->Width(), 4845);
}

TEST_F(EditorTest, RemovingAColumnAndAddingItBackShowsItsTextWithTheDefaultStyle) {
  auto editor = Open();
  // Typed by the user: the text box tells the model.
  SetWindowTextW(editor->txt_Item(2, 3).hwnd(), L"列二");
  EXPECT_EQ(editor->Model().At(3, 2).text, "列二");
  editor->Model().At(3, 2).backColor = RGB(0, 128, 0);
  editor->Model().At(3, 2).font.bold = true;
  editor->ApplyCellStyle(3, 2);
  EXPECT_EQ(editor->txt_Item(2, 3).BackColor(), static_cast<COLORREF>(RGB(0, 128, 0)));

  SendMessageW(editor->Cmd_Ya(2).hwnd(), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsVisible(editor->txt_Item(2, 3).hwnd()));
  EXPECT_EQ(editor->Model().At(3, 2).text, "列二");
  SendMessageW(editor->Cmd_Ya(3).hwnd(), BM_CLICK, 0, 0);
  EXPECT_TRUE(IsVisible(editor->txt_Item(2, 3).hwnd()));
  EXPECT_EQ(editor->txt_Item(2, 3).Text(), "列二");
  EXPECT_EQ(editor->txt_Item(2, 3).BackColor(), 0xFFFFFFu);
  EXPECT_FALSE(editor->txt_Item(2, 3).Font().bold);
  EXPECT_EQ(editor->Model().At(3, 2).backColor, 0xFFFFFFu);
}

// ---- Width sliders

TEST_F(EditorTest, SliderChangesMoveTheGridButKeepStylesAndVisibility) {
  auto editor = Open();
  Cell styled;
  styled.text = "x";
  styled.font = CellFont{"Arial", 12, false, true};
  styled.backColor = RGB(1, 2, 3);
  editor->SetCell(1, 1, styled);
  editor->SetCell(12, 1, styled);  // hidden, stays hidden
  HWND slider = editor->S_Wide(1).hwnd();
  auto scroll = [&](int code, int pos = 0) {
    SendMessageW(editor->hwnd(), WM_HSCROLL, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(slider));
  };

  scroll(SB_LINERIGHT);
  EXPECT_EQ(state.G_Cols_w[1], 88);
  ExpectCells(*editor, 10, 2, {0, 8, 96});
  ExpectSliders(*editor, 2, {0, 16, 104});
  EXPECT_EQ(BoxOf(editor->PicBackWindow()).width, 188);

  scroll(SB_PAGERIGHT);
  EXPECT_EQ(state.G_Cols_w[1], 138);
  EXPECT_DOUBLE_EQ(editor->Width(), 4845) << "still the narrowest window";

  scroll(SB_THUMBTRACK, 300);
  EXPECT_EQ(state.G_Cols_w[1], 138) << "no change while the thumb is dragged";
  scroll(SB_THUMBPOSITION, 300);
  EXPECT_EQ(state.G_Cols_w[1], 300);
  ExpectCells(*editor, 10, 2, {0, 8, 308});
  EXPECT_DOUBLE_EQ(editor->Width(), (20 + 380 + 16) * 15.0);
  EXPECT_DOUBLE_EQ(editor->Height(), 4515);

  scroll(SB_LEFT);
  EXPECT_EQ(state.G_Cols_w[1], 0);
  ExpectCells(*editor, 10, 2, {0, 8, 8});  // the empty column is laid out, the next starts at its left

  for (int row : {1, 12}) {
    const Cell& cell = editor->Model().At(row, 1);
    EXPECT_EQ(cell, styled) << row;
    EXPECT_EQ(editor->txt_Item(1, row).Font().name, "Arial");
    EXPECT_TRUE(editor->txt_Item(1, row).Font().italic);
    EXPECT_EQ(editor->txt_Item(1, row).BackColor(), static_cast<COLORREF>(RGB(1, 2, 3)));
  }
  EXPECT_FALSE(IsVisible(editor->txt_Item(1, 12).hwnd()));
}

TEST_F(EditorTest, LoadedWidthsDoNotMoveTheSliders) {
  auto editor = Open();
  state.G_Cols_w[1] = 200;
  editor->Build_Grid();
  EXPECT_EQ(editor->S_Wide(1).Value(), 80);
  ExpectCells(*editor, 10, 2, {0, 8, 208});
}

// ---- Cells

TEST_F(EditorTest, TypingAndFocusFollowTheCells) {
  auto editor = Open();
  HWND box = editor->txt_Item(4, 7).hwnd();
  SendMessageW(box, WM_CHAR, L'あ', 1);
  SendMessageW(box, WM_CHAR, L'b', 1);
  EXPECT_EQ(editor->Model().At(7, 4).text, "あb");
  editor->SetCellText(7, 4, "set");
  EXPECT_EQ(editor->txt_Item(4, 7).Text(), "set");
  // Texts the box cannot hold as given: the model keeps what the box shows.
  editor->SetCellText(7, 5, std::string("ab\0\0cd", 6));
  EXPECT_EQ(editor->txt_Item(5, 7).Text(), "ab");
  EXPECT_EQ(editor->Model().At(7, 5).text, "ab");
  editor->SetCellText(8, 5, "one\r\ntwo");
  EXPECT_EQ(editor->Model().At(8, 5).text, editor->txt_Item(5, 8).Text());

  SetForegroundWindow(editor->hwnd());
  editor->txt_Item(2, 3).SetFocus();
  EXPECT_EQ(state.Cur_Row, 3);
  EXPECT_EQ(state.Cur_Col, 2);
  editor->FocusFirstSlider();
  EXPECT_EQ(GetFocus(), editor->S_Wide(1).hwnd());
  EXPECT_EQ(state.Cur_Row, 3) << "the current cell stays when the focus leaves the cells";
}

TEST_F(EditorTest, CellsShowTheirOwnColoursIncludingSystemColours) {
  auto editor = Open();
  editor->Model().At(1, 1).backColor = 0x80000000u | COLOR_HIGHLIGHT;
  editor->Model().At(1, 1).foreColor = RGB(0, 0, 255);
  editor->ApplyCellStyle(1, 1);
  HWND box = editor->txt_Item(1, 1).hwnd();
  HDC dc = GetDC(box);
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
      editor->PicBackWindow(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box)));
  EXPECT_NE(brush, nullptr);
  EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(RGB(0, 0, 255)));
  ReleaseDC(box, dc);
}

// ---- Toolbar, options, buttons

TEST_F(EditorTest, ToolbarFacesFollowThePressAndCommandsRunOnRelease) {
  auto editor = Open();
  for (int i = 4; i <= 6; ++i) {
    Press(*editor, editor->Img_SS(i));
    EXPECT_TRUE(editor->Img_Button(i).Picture() == skin.Img_On) << i;
    EXPECT_EQ(hookCalls.size(), static_cast<size_t>(i - 4)) << "the press runs nothing";
    Release(*editor, editor->Img_SS(i));
    EXPECT_TRUE(editor->Img_Button(i).Picture() == skin.Img_Off) << i;
  }
  EXPECT_EQ(hookCalls, (std::vector<std::string>{"preview", "backColour", "font"}));
}

TEST_F(EditorTest, OptionsToggleOnThePressOfTheImageOrTheLabel) {
  auto editor = Open();
  Press(*editor, editor->lbl_Trns());
  EXPECT_EQ(state.Trans, 1);
  EXPECT_TRUE(editor->Img_Trns().Picture() == skin.Img_Ra[1]);
  Release(*editor, editor->lbl_Trns());
  EXPECT_EQ(state.Trans, 1) << "the release does nothing";
  Click(*editor, editor->Img_Trns());
  EXPECT_EQ(state.Trans, 0);
  EXPECT_TRUE(editor->Img_Trns().Picture() == skin.Img_Ra[0]);

  Click(*editor, editor->Img_Comn());
  EXPECT_EQ(state.Common, 1);
  EXPECT_TRUE(editor->Img_Comn().Picture() == skin.Img_Ra[1]);
  Click(*editor, editor->lbl_Comn());
  EXPECT_EQ(state.Common, 0);
  EXPECT_EQ(state.Trans, 0);
}

TEST_F(EditorTest, CreateButtonRunsTheHookAndKeepsTheEditorOpen) {
  auto editor = Open();
  Press(*editor, editor->lbl_Button(0));
  EXPECT_TRUE(editor->Img_Button(0).Picture() == skin.Img_On);
  Release(*editor, editor->lbl_Button(0));
  EXPECT_TRUE(editor->Img_Button(0).Picture() == skin.Img_Off);
  EXPECT_EQ(hookCalls, std::vector<std::string>{"create"});
  EXPECT_TRUE(editor->Loaded());
}

// ---- Closing

void ExpectEditorKeys(const std::string& ini, const RECT& window, const char* trans) {
  EXPECT_EQ(IniValue(ini, "G_Rows"), "11");
  EXPECT_EQ(IniValue(ini, "G_Cols"), "3");
  EXPECT_EQ(IniValue(ini, "G_Cols_w1"), "88");
  EXPECT_EQ(IniValue(ini, "G_Cols_w5"), "80");
  EXPECT_EQ(IniValue(ini, "G_Left"), std::to_string(window.left * 15));
  EXPECT_EQ(IniValue(ini, "G_Top"), std::to_string(window.top * 15));
  EXPECT_EQ(IniValue(ini, "Trans"), trans);
  EXPECT_EQ(IniValue(ini, "Common"), "0");
}

void ChangeSomething(Quelm_Rask_S& editor) {
  SendMessageW(editor.Cmd_Ya(0).hwnd(), BM_CLICK, 0, 0);
  SendMessageW(editor.Cmd_Ya(3).hwnd(), BM_CLICK, 0, 0);
  SendMessageW(editor.hwnd(), WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0),
               reinterpret_cast<LPARAM>(editor.S_Wide(1).hwnd()));
  SetWindowPos(editor.hwnd(), nullptr, 123, 45, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

TEST_F(EditorTest, CancelButtonClosesAndWritesOnlyTheEditorKeys) {
  auto editor = Open();
  ChangeSomething(*editor);
  Click(*editor, editor->Img_Trns());
  const RECT window = WindowPixels(editor->hwnd());
  Click(*editor, editor->lbl_Button(1));
  EXPECT_FALSE(editor->Loaded());
  ExpectEditorKeys(iniPath, window, "1");
  EXPECT_EQ(IniValue(iniPath, "Get_Data_Path"), "") << "main settings are not the editor's to write";
  EXPECT_TRUE(hookCalls.empty());
}

TEST_F(EditorTest, CloseMessageWritesTheEditorKeysAndTheNextEditorOpensWithThem) {
  auto editor = Open();
  ChangeSomething(*editor);
  const RECT window = WindowPixels(editor->hwnd());
  SendMessageW(editor->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(editor->Loaded());
  ExpectEditorKeys(iniPath, window, "0");

  state = AppState{};
  auto next = Open();
  EXPECT_EQ(state.G_Rows, 11);
  EXPECT_EQ(state.G_Cols, 3);
  EXPECT_EQ(next->S_Wide(1).Value(), 88);
  EXPECT_EQ(WindowPixels(next->hwnd()).left, 123);
  EXPECT_EQ(WindowPixels(next->hwnd()).top, 45);
}

TEST_F(EditorTest, ModalShowingEndsWithTheCloseMessage) {
  auto editor = std::make_unique<Quelm_Rask_S>(state, store, skin, hooks);
  // Once the modal loop runs, close the window from outside.
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) CALLBACK {
    KillTimer(nullptr, id);
    HWND wnd = FindWindowW(L"Quelm_Rask_S", nullptr);
    PostMessageW(wnd, WM_CLOSE, 0, 0);
  });
  editor->ShowModal(nullptr);
  EXPECT_FALSE(editor->Loaded());
  EXPECT_EQ(IniValue(iniPath, "G_Rows"), "10");
}

}  // namespace
}  // namespace qr::test
