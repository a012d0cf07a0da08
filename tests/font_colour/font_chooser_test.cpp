// The font chooser over a real editor, driven with mouse and key messages: what it shows of the current
// cell, what the choice of OK does to the cells once the editor applies it (through the table model, so
// text boxes and data files follow), and that cancel and closing choose nothing.
#include "font_colour/font_chooser.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/numeric.h"
#include "core/table_record.h"
#include "font_colour/font_chooser_driver.h"
#include "support/dialog_driver.h"
#include "support/editor_fixture.h"
#include "support/keyboard.h"
#include "table_editor/data_files.h"
#include "win32/files.h"

namespace qr {
namespace {

constexpr COLORREF kTexture = RGB(90, 100, 110);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// What a cell is and shows.
struct CellState {
  Cell cell;
  forms::FontSpec boxFont;
  COLORREF boxFore = 0, boxBack = 0;
  int height = 0;
  bool operator==(const CellState&) const = default;
};

class FontChooserTest : public test::EditorTest {
 protected:
  FontChooserTest() : chooserSkin{skin.Img_On, skin.Img_Off, test::Plain(541, 22, kTexture), skin.cursor} {
    services.screenFonts = [this] { return fonts; };
    services.cursorPos = [this]() -> std::optional<POINT> { return cursor; };
  }
  void SetUp() override { editor = Open(); }
  void TearDown() override {
    if (chooser) chooser->Unload();
    if (editor) editor->Unload();
  }

  Quelm_Rask_F& OpenChooser() {
    openedAt = {state.Cur_Row, state.Cur_Col};
    chooser = std::make_unique<Quelm_Rask_F>(editor->CurrentCell(), chooserSkin, services);
    chooser->Load(editor->hwnd());
    chooser->Show();
    return *chooser;
  }
  test::ChooserHandles Handles() const { return test::ChooserHandles(chooser->hwnd()); }
  // What the editor's font command does once the chooser is closed.
  void ApplyChoice() {
    if (const std::optional<FontChoice>& choice = chooser->Choice())
      editor->Apply_Font(choice->font, choice->colour, openedAt.first, openedAt.second);
  }
  void ClickOkAndApply() {
    Handles().Click(test::kOkButton);
    ApplyChoice();
  }

  // Every cell different in every property the chooser could touch.
  void FillVariedTable() {
    for (int row = 1; row <= kMaxRows; ++row) {
      for (int col = 1; col <= kMaxCols; ++col) {
        const CellFont font{row % 2 ? "Courier New" : "Arial", 9.0 + row % 4, row % 3 == 0, col % 2 == 0};
        editor->SetCell(row, col,
                        Cell{std::to_string(row * 7), font, RGB(row, col, 7), RGB(200, row * 5, col * 40)});
      }
    }
  }
  std::vector<CellState> Snapshot() const {
    std::vector<CellState> cells;
    for (int row = 1; row <= kMaxRows; ++row) {
      for (int col = 1; col <= kMaxCols; ++col) {
        forms::TextBox& box = editor->txt_Item(col, row);
        cells.push_back(
            {editor->Model().At(row, col), box.Font(), box.ForeColor(), box.BackColor(), box.Height()});
      }
    }
    return cells;
  }

  std::vector<std::string> fonts{"Arial", "@ＭＳ ゴシック", "ＭＳ Ｐゴシック", "Courier New", "arial"};
  Skin chooserSkin;
  FontChooserServices services;
  std::unique_ptr<Quelm_Rask_S> editor;
  std::unique_ptr<Quelm_Rask_F> chooser;
  std::pair<int, int> openedAt;  // the current cell when the chooser opened
};

std::array<LONG, 4> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

std::vector<std::string> Entries(const forms::ListBox& list) {
  std::vector<std::string> entries;
  for (int i = 0; i < list.ListCount(); ++i) entries.push_back(list.List(i));
  return entries;
}

TEST_F(FontChooserTest, TheWindowIsLaidOutOverTheTextureAndCentredOnTheScreen) {
  Quelm_Rask_F& f = OpenChooser();
  EXPECT_EQ(f.Caption(), "ﾌｫﾝﾄの指定");
  RECT outer{};
  GetWindowRect(f.hwnd(), &outer);
  EXPECT_EQ(outer.right - outer.left, 469 + 7);
  EXPECT_EQ(outer.bottom - outer.top, 297 + 26);
  EXPECT_NEAR(outer.left, (1024 - 476) / 2.0, 1);
  EXPECT_NEAR(outer.top, (768 - 323) / 2.0, 1);
  // The texture covers the whole box, whatever lies over it.
  const win::Surface* background = f.Pic_C.Image();
  ASSERT_NE(background, nullptr);
  EXPECT_EQ(background->Pixel(0, 0), kTexture);
  EXPECT_EQ(background->Pixel(468, 296), kTexture);

  // Palette corners, on both sides of the gap before the system colours.
  EXPECT_EQ(Edges(f.lblColorSample[48].Bounds()), Edges(RECT{129, 111, 145, 127}));
  EXPECT_EQ(f.lblColorSample[48].BackColor(), RGB(64, 0, 64));
  EXPECT_EQ(Edges(f.lblColorSample[49].Bounds()), Edges(RECT{3, 135, 19, 151}));
  EXPECT_EQ(f.lblColorSample[49].BackColor(), 0x80000000u);
  EXPECT_EQ(f.lblColorSample[55].BackColor(), 0x80000007u);  // 6 is not offered
  EXPECT_EQ(Edges(f.lblColorSample[72].Bounds()), Edges(RECT{129, 171, 145, 187}));
  EXPECT_EQ(f.lblColorSample[72].BackColor(), 0x80000018u);

  EXPECT_EQ(Entries(f.LstFontName), fonts);  // as reported: unsorted, "@" faces and near-twins kept
  EXPECT_EQ(Entries(f.LstFontStyle), (std::vector<std::string>{"標準", "斜体", "太字", "斜体 太字"}));
  EXPECT_EQ(Entries(f.LstFontSize), (std::vector<std::string>{"9", "10", "11"}));
  EXPECT_EQ(f.LstFontName.HorizontalExtent(), RoundHalfEven(153 / forms::Form::TwipsPerPixelX() + 200));
  EXPECT_EQ(f.lblColorSample[72].Cursor(), skin.cursor);
  EXPECT_EQ(f.Open_X, cursor.x);
  EXPECT_EQ(f.Open_Y, cursor.y);
}

TEST_F(FontChooserTest, TheScreensFamiliesAreListedOnceEachAndTheCellsFaceHighlighted) {
  services.screenFonts = nullptr;
  Quelm_Rask_F& f = OpenChooser();
  const std::vector<std::string> names = Entries(f.LstFontName);
  EXPECT_EQ(names, win::ScreenFontNames());
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
  ASSERT_GE(f.LstFontName.ListIndex(), 0);
  EXPECT_EQ(f.LstFontName.List(f.LstFontName.ListIndex()), editor->DefaultCellFont().name);
}

TEST_F(FontChooserTest, ThePreviewTakesTheCurrentCellAndItsEntriesAreHighlighted) {
  editor->SetCell(2, 3,
                  Cell{"", CellFont{"Courier New", 11, true, true}, RGB(10, 20, 30), RGB(200, 210, 220)});
  editor->SetCell(5, 1, Cell{"見本", CellFont{"arial", 9, false, true}, kRed, kBlue});
  state.Cur_Row = 2;
  state.Cur_Col = 3;
  {
    Quelm_Rask_F& f = OpenChooser();
    EXPECT_EQ(f.lblViewer.Caption(), "AaＡａあぁアァ亜");
    EXPECT_EQ(f.lblViewer.Font().name, "Courier New");
    EXPECT_EQ(f.lblViewer.Font().size, 11);
    EXPECT_TRUE(f.lblViewer.Font().bold && f.lblViewer.Font().italic);
    EXPECT_EQ(f.lblViewer.ForeColor(), RGB(10, 20, 30));
    EXPECT_EQ(f.lblViewer.BackColor(), RGB(200, 210, 220));
    EXPECT_EQ(f.LstFontName.ListIndex(), 3);
    EXPECT_EQ(f.LstFontSize.ListIndex(), 2);
    EXPECT_EQ(f.LstFontStyle.ListIndex(), 3);
    chooser->Unload();
  }
  state.Cur_Row = 5;
  state.Cur_Col = 1;
  Quelm_Rask_F& f = OpenChooser();
  EXPECT_EQ(f.lblViewer.Caption(), "見本");
  EXPECT_EQ(f.LstFontName.ListIndex(), 4);  // the exact name, not "Arial"
  EXPECT_EQ(f.LstFontSize.ListIndex(), 0);
  EXPECT_EQ(f.LstFontStyle.ListIndex(), 1);
}

// Where a face is missing (or the system is not Japanese) the system substitutes by the character set
// asked for: the preview must ask exactly as the cells do, or it shows another font than the cell.
TEST_F(FontChooserTest, ThePreviewAsksForItsFontExactlyAsTheCellsDo) {
  editor->SetCell(1, 1, Cell{"見本", CellFont{"ＭＳ Ｐゴシック", 10, false, true}, 0, kBlue});
  editor->SetCell(1, 2, Cell{"abc", CellFont{"Arial", 11, true, false}, 0, kBlue});
  state.Cur_Row = 1;
  for (const int16_t col : {1, 2}) {
    SCOPED_TRACE(col);
    state.Cur_Col = col;
    Quelm_Rask_F& f = OpenChooser();
    EXPECT_EQ(f.lblViewer.Font(), editor->txt_Item(col, 1).Font());
    // Another face chosen: the preview's request follows it, and is what the cell gets on OK.
    const int other = col == 1 ? 0 : 2;  // "Arial", "ＭＳ Ｐゴシック"
    Handles().ClickEntry(test::kNameList, other);
    const forms::FontSpec previewed = f.lblViewer.Font();
    EXPECT_EQ(previewed.name, fonts[static_cast<size_t>(other)]);
    ClickOkAndApply();
    EXPECT_EQ(editor->txt_Item(col, 1).Font(), previewed);
  }
}

// The editor stays enabled while the chooser loads: a pointer moved over it while messages run must not
// take the hourglass away before the load is over.
TEST_F(FontChooserTest, TheHourglassStaysForTheWholeLoadWhereverThePointerMoves) {
  const HCURSOR hourglass = LoadCursorW(nullptr, IDC_WAIT);
  HCURSOR duringLoad = nullptr;
  services.screenFonts = [&] {
    RECT cell{};
    GetWindowRect(editor->txt_Item(1, 1).hwnd(), &cell);
    const POINT target{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    for (const POINT p : {POINT{target.x - 3, target.y}, target}) {  // a real move, whatever was before
      INPUT move{};
      move.type = INPUT_MOUSE;
      move.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
      move.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
      move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
      SendInput(1, &move, sizeof move);
      // The pointer moves asynchronously under Wine: wait until it is there, then let its messages run.
      EXPECT_TRUE(test::PumpUntil([p] {
        POINT at{};
        return GetCursorPos(&at) && at.x == p.x && at.y == p.y;
      }));
      test::Pump();
    }
    duringLoad = GetCursor();
    return fonts;
  };
  Quelm_Rask_F& f = OpenChooser();
  EXPECT_EQ(duringLoad, hourglass);
  EXPECT_NE(GetCapture(), f.hwnd());  // the mouse is given back with the load
  EXPECT_EQ(Entries(f.LstFontName), fonts);
}

TEST_F(FontChooserTest, SizesBetweenTheOfferedOnesTakeTheNearestAndOthersStay) {
  struct Case {
    double size;
    int highlighted;
    double afterOk;
  };
  for (const Case& c :
       {Case{9.75, 1, 10}, Case{12, -1, 12}, Case{9.5, 0, 9}, Case{10.5, 2, 11}, Case{8.4, -1, 8.4}}) {
    SCOPED_TRACE(c.size);
    editor->SetCell(1, 1, Cell{"x", CellFont{"Arial", c.size, false, false}, 0, kBlue});
    Quelm_Rask_F& f = OpenChooser();
    EXPECT_EQ(f.LstFontSize.ListIndex(), c.highlighted);
    EXPECT_EQ(f.lblViewer.Font().size, c.afterOk);
    ClickOkAndApply();
    EXPECT_FALSE(f.Loaded());
    EXPECT_EQ(editor->Model().At(1, 1).font.size, c.afterOk);
    EXPECT_EQ(editor->txt_Item(1, 1).Font().size, c.afterOk);
  }
}

TEST_F(FontChooserTest, CancelAndClosingLeaveEveryCellAsItWas) {
  FillVariedTable();
  state.Common = 1;
  for (const bool byCancel : {true, false}) {
    SCOPED_TRACE(byCancel ? "cancel" : "close");
    editor->txt_Item(2, 3).SetHeight(30);
    const std::vector<CellState> before = Snapshot();
    Quelm_Rask_F& f = OpenChooser();
    const test::ChooserHandles h = Handles();
    h.ClickEntry(test::kNameList, 1);
    h.ClickEntry(test::kStyleList, 3);
    h.ClickEntry(test::kSizeList, 2);
    h.PressSwatch(18);
    h.PressSwatch(60);
    ASSERT_EQ(f.lblViewer.Font().name, fonts[1]);  // the clicks did reach the preview
    ASSERT_EQ(f.lblViewer.ForeColor(), 0x8000000Cu);
    if (byCancel) {
      h.Press(test::kCancelButton);
      EXPECT_EQ(f.Img_Can.Picture(), skin.Img_On);
      h.Release(test::kCancelButton);
    } else {
      SendMessageW(f.hwnd(), WM_CLOSE, 0, 0);
    }
    EXPECT_FALSE(f.Loaded());
    EXPECT_EQ(f.Choice(), std::nullopt);
    ApplyChoice();
    EXPECT_EQ(Snapshot(), before);
  }
}

TEST_F(FontChooserTest, OkWithCommonGivesEveryCellTheChoiceAndKeepsBackgroundsAndTexts) {
  FillVariedTable();
  editor->txt_Item(1, 1).SetHeight(40);
  editor->txt_Item(5, 34).SetHeight(3);  // a hidden cell
  const std::vector<CellState> before = Snapshot();
  state.Common = 1;
  Quelm_Rask_F& f = OpenChooser();
  const test::ChooserHandles h = Handles();
  h.ClickEntry(test::kNameList, 2);
  h.ClickEntry(test::kStyleList, 2);
  h.ClickEntry(test::kSizeList, 2);
  h.PressSwatch(18);
  EXPECT_EQ(f.lblColorSample[0].BackColor(), kRed);
  h.Press(test::kOkButton);
  EXPECT_EQ(f.Img_OK.Picture(), skin.Img_On);
  h.Release(test::kOkButton);
  EXPECT_FALSE(f.Loaded());
  ApplyChoice();

  const CellFont chosen{fonts[2], 11, true, false};
  const std::vector<CellState> after = Snapshot();
  ASSERT_EQ(after.size(), 170u);
  for (size_t i = 0; i < after.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(after[i].cell.font, chosen);
    EXPECT_EQ(after[i].cell.foreColor, kRed);
    EXPECT_EQ(after[i].cell.backColor, before[i].cell.backColor);
    EXPECT_EQ(after[i].cell.text, before[i].cell.text);
    EXPECT_EQ(after[i].boxFont.name, chosen.name);
    EXPECT_EQ(after[i].boxFont.size, 11);
    EXPECT_TRUE(after[i].boxFont.bold && !after[i].boxFont.italic);
    EXPECT_EQ(after[i].boxFore, kRed);
    EXPECT_EQ(after[i].boxBack, before[i].boxBack);
    EXPECT_EQ(after[i].height, 19);
  }
}

TEST_F(FontChooserTest, OkWithoutCommonChangesTheFocusedCellAndASaveStoresTheSystemColour) {
  FillVariedTable();
  editor->SetCell(4, 2, Cell{"keep", editor->DefaultCellFont(), RGB(1, 2, 3), kBlue});  // 9.75 points
  editor->txt_Item(2, 4).SetFocus();
  ASSERT_EQ(state.Cur_Row, 4);
  ASSERT_EQ(state.Cur_Col, 2);
  std::vector<CellState> expected = Snapshot();
  Quelm_Rask_F& f = OpenChooser();
  Handles().ClickEntry(test::kStyleList, 2);
  Handles().PressSwatch(60);  // system colour 12
  EXPECT_EQ(f.lblColorSample[0].BackColor(), 0x8000000Cu);
  ClickOkAndApply();

  const std::vector<CellState> after = Snapshot();
  const size_t focused = (4 - 1) * kMaxCols + (2 - 1);
  EXPECT_EQ(after[focused].cell,
            (Cell{"keep", CellFont{editor->DefaultCellFont().name, 10, true, false}, 0x8000000Cu, kBlue}));
  EXPECT_EQ(after[focused].boxFore, 0x8000000Cu);
  for (size_t i = 0; i < after.size(); ++i)
    if (i != focused) {
      EXPECT_EQ(after[i], expected[i]) << i;
    }

  const std::string saved = folder.File("table.qlm");
  test::DialogDriver driver;
  driver.TypeFileNameAndOk(saved);
  Save_Data_File(*editor);
  ASSERT_TRUE(driver.WaitUntilDone());
  const std::optional<std::string> bytes = win::ReadFileBytes(saved);
  ASSERT_TRUE(bytes);
  ASSERT_GE(bytes->size(), 4 * kTableRecordSize);
  const std::string record = bytes->substr(3 * kTableRecordSize, kTableRecordSize);
  auto field = [&](size_t offset, size_t size) { return record.substr(offset + size, size); };  // column 2
  EXPECT_EQ(field(table_record::kFontSize, 2), std::string("\x0A\x00", 2));  // whole points
  EXPECT_EQ(field(table_record::kFontBold, 2), std::string("\xFF\xFF", 2));  // -1
  EXPECT_EQ(field(table_record::kFontItalic, 2), std::string("\x00\x00", 2));
  EXPECT_EQ(field(table_record::kForeColor, 4), std::string("\x0C\x00\x00\x80", 4));
  EXPECT_EQ(field(table_record::kBackColor, 4), std::string("\x00\x00\xFF\x00", 4));
}

TEST_F(FontChooserTest, ArrowKeysInTheListsChooseAsClicksDo) {
  Quelm_Rask_F& f = OpenChooser();
  const test::ChooserHandles h = Handles();
  h.ClickEntry(test::kNameList, 0);
  h.Key(test::kNameList, VK_DOWN);
  EXPECT_EQ(f.LstFontName.ListIndex(), 1);
  EXPECT_EQ(f.lblViewer.Font().name, fonts[1]);
  h.Key(test::kStyleList, VK_END);
  h.Key(test::kSizeList, VK_HOME);
  EXPECT_TRUE(f.lblViewer.Font().bold && f.lblViewer.Font().italic);
  EXPECT_EQ(f.lblViewer.Font().size, 9);
  ClickOkAndApply();
  EXPECT_EQ(editor->Model().At(1, 1).font, (CellFont{fonts[1], 9, true, true}));
}

TEST_F(FontChooserTest, NoFontsOrACellOutsideTheTableChangeNothingTheyCannot) {
  fonts.clear();
  editor->SetCell(1, 1, Cell{"", CellFont{"Arial", 10, false, false}, 0, kBlue});
  Quelm_Rask_F& f = OpenChooser();
  EXPECT_EQ(f.LstFontName.ListCount(), 0);
  EXPECT_EQ(f.LstFontName.ListIndex(), -1);
  Handles().ClickEntry(test::kNameList, 0);
  Handles().PressSwatch(23);
  ClickOkAndApply();
  EXPECT_EQ(editor->Model().At(1, 1), (Cell{"", CellFont{"Arial", 10, false, false}, kBlue, kBlue}));

  // A current column beyond the table: the preview keeps its design state and OK writes nowhere.
  const std::vector<CellState> before = Snapshot();
  state.Cur_Col = 6;
  Quelm_Rask_F& g = OpenChooser();
  EXPECT_EQ(g.lblViewer.Caption(), "");
  EXPECT_EQ(g.lblViewer.Font().name, forms::CaptionFont().name);
  EXPECT_EQ(g.lblViewer.Font().size, 10);  // its design 9.75 points highlight "10"
  Handles().PressSwatch(18);
  ClickOkAndApply();
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(FontChooserTest, TheEditorsFontIconShowsTheChooserModallyEachTimeAfresh) {
  editor->Unload();
  hooks.font = FontChooserHook(chooserSkin, services);
  editor = Open();
  editor->SetCell(1, 1, Cell{"abc", CellFont{"Arial", 9, false, false}, 0, RGB(1, 1, 1)});
  bool editorDisabled = false;
  HWND owner = nullptr;
  {
    test::ChooserWatch watch([&](HWND chooserWindow) {
      editorDisabled = !IsWindowEnabled(editor->hwnd());
      owner = GetWindow(chooserWindow, GW_OWNER);
      const test::ChooserHandles h(chooserWindow);
      h.ClickEntry(test::kStyleList, 2);
      h.PressSwatch(23);
      h.Click(test::kOkButton);
    });
    Click(*editor, editor->Img_SS(6));
    ASSERT_TRUE(watch.Ran());
  }
  EXPECT_TRUE(editorDisabled);
  EXPECT_EQ(owner, editor->hwnd());
  EXPECT_TRUE(IsWindowEnabled(editor->hwnd()));
  EXPECT_EQ(FindWindowW(L"Quelm_Rask_F", nullptr), nullptr);
  EXPECT_EQ(editor->Model().At(1, 1), (Cell{"abc", CellFont{"Arial", 9, true, false}, kBlue, RGB(1, 1, 1)}));

  // The next showing starts from the cell again; closing it keeps the cell.
  test::ChooserWatch again([&](HWND chooserWindow) {
    const test::ChooserHandles h(chooserWindow);
    h.PressSwatch(18);
    SendMessageW(chooserWindow, WM_CLOSE, 0, 0);
  });
  Click(*editor, editor->Img_SS(6));
  EXPECT_TRUE(again.Ran());
  EXPECT_EQ(editor->Model().At(1, 1).foreColor, kBlue);
}

// Closing the chooser gives the focus back to the editor, which can make another cell current: the
// choice still goes to the cell the chooser was opened for.
TEST_F(FontChooserTest, TheFontIconsChoiceGoesToTheCellTheChooserOpenedFor) {
  editor->Unload();
  hooks.font = FontChooserHook(chooserSkin, services);
  editor = Open();
  editor->txt_Item(1, 1).SetFocus();
  state.Cur_Row = 3;
  state.Cur_Col = 2;
  const Cell before = editor->Model().At(1, 1);
  test::ChooserWatch watch([&](HWND chooserWindow) {
    const test::ChooserHandles h(chooserWindow);
    h.PressSwatch(18);
    h.Click(test::kOkButton);
  });
  Click(*editor, editor->Img_SS(6));
  ASSERT_TRUE(watch.Ran());
  EXPECT_EQ(editor->Model().At(3, 2).foreColor, kRed);
  EXPECT_EQ(editor->Model().At(1, 1), before);
}

}  // namespace
}  // namespace qr

namespace qr {
namespace {

// The palette by the keyboard: one tab stop, arrows move a focus frame over the swatches, Space chooses.
TEST_F(FontChooserTest, ArrowKeysMoveOverTheSwatchesAndSpaceChoosesOne) {
  Quelm_Rask_F& f = OpenChooser();
  test::MakeForeground(f.hwnd());
  const auto swatchStops = [&] {
    int stops = 0;
    for (const forms::FocusTarget& stop : forms::TabOrder(f.hwnd()))
      stops += stop.window == f.fraPalette.hwnd() && stop.control != &f.lblColorSample[0] ? 1 : 0;
    return stops;
  };
  EXPECT_EQ(swatchStops(), 1) << "Tab does not walk 72 swatches";
  forms::MoveFocus({f.fraPalette.hwnd(), &f.lblColorSample[1]});
  const auto focusedOn = [&](int index) {
    return test::PumpUntil(
        [&] { return forms::CurrentFocus().control == &f.lblColorSample[static_cast<size_t>(index)]; });
  };
  test::PressKey(VK_RIGHT);
  test::PressKey(VK_RIGHT);
  test::PressKey(VK_DOWN);
  ASSERT_TRUE(focusedOn(11));
  // Left of a swatch, in the gap before it: the focus ring's black, or the palette's grey.
  const auto gapLeftOf = [&](int index) {
    const forms::Label& swatch = f.lblColorSample[static_cast<size_t>(index)];
    POINT p{f.fraPalette.Scale().Px(swatch.Left() - 2), f.fraPalette.Scale().Px(swatch.Top() + 8)};
    ClientToScreen(f.fraPalette.hwnd(), &p);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return colour;
  };
  EXPECT_TRUE(test::PumpUntil([&] { return gapLeftOf(11) == RGB(0, 0, 0); })) << "a focus the eye finds";
  EXPECT_EQ(gapLeftOf(13), RGB(128, 128, 128));
  test::PressKey(VK_LEFT);
  test::PressKey(VK_LEFT);
  test::PressKey(VK_LEFT);  // the row's first swatch: no further
  test::PressKey(VK_UP);
  ASSERT_TRUE(focusedOn(1));
  test::PressKey(VK_DOWN);
  test::PressKey(VK_SPACE);
  ASSERT_TRUE(test::PumpUntil([&] { return f.lblColorSample[0].BackColor() == *Palette_Color(9); }));
  EXPECT_EQ(f.lblViewer.ForeColor(), *Palette_Color(9));
  EXPECT_EQ(swatchStops(), 1);
  EXPECT_TRUE(f.lblColorSample[9].TabStop()) << "Tab comes back to the swatch last visited";
}

TEST_F(FontChooserTest, AFontGivenToEveryCellCanBeUndoneInTheEditor) {
  FillVariedTable();
  const TableModel before = editor->Model();
  state.Common = 1;
  OpenChooser();
  Handles().ClickEntry(test::kStyleList, 2);
  Handles().PressSwatch(18);
  ClickOkAndApply();
  ASSERT_NE(editor->Model(), before);
  ASSERT_TRUE(editor->Undo());
  EXPECT_EQ(editor->Model(), before);
  EXPECT_EQ(editor->txt_Item(1, 1).ForeColor(), before.At(1, 1).foreColor);

  state.Common = 0;  // one cell: the whole-table undo is gone
  OpenChooser();
  ClickOkAndApply();
  EXPECT_FALSE(editor->CanUndo());
}

}  // namespace
}  // namespace qr
