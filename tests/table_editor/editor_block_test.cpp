// Blocks of cells through the real clipboard and real keys: Ctrl+V pastes a spreadsheet's block from the
// current cell on, Ctrl+Shift+C copies the table for a spreadsheet, Ctrl+Z takes a block change back.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/block_text.h"
#include "support/dialog_driver.h"
#include "support/editor_fixture.h"
#include "support/keyboard.h"
#include "win32/clipboard.h"

namespace qr::test {
namespace {

class EditorBlocks : public EditorTest {
 protected:
  std::unique_ptr<Quelm_Rask_S> OpenInFront() {
    auto editor = Open();
    MakeForeground(editor->hwnd());
    return editor;
  }
  static bool FocusIn(Quelm_Rask_S& editor, int row, int col) {
    HWND box = editor.txt_Item(col, row).hwnd();
    SetFocus(box);
    return PumpUntil([box] { return GetFocus() == box; });
  }
  static bool TextReaches(Quelm_Rask_S& editor, int row, int col, const std::string& text) {
    return PumpUntil([&] { return editor.txt_Item(col, row).Text() == text; });
  }
  void Paste(Quelm_Rask_S& editor, const std::string& text) {
    ASSERT_TRUE(win::SetClipboardText(editor.hwnd(), text));
    PressChord({VK_CONTROL}, 'V');
  }
  static void Undo() {
    PressChord({VK_CONTROL}, 'Z');
    Pump();
  }
};

TEST_F(EditorBlocks, BlockFillsFromTheCurrentCellWidensTheGridAndUndoBringsBackTheTable) {
  auto editor = OpenInFront();
  ASSERT_TRUE(FocusIn(*editor, 1, 1));
  ASSERT_EQ(state.G_Cols, 2);
  const TableModel before = editor->Model();
  Paste(*editor, "月\t火\t水\r\n1\t\"2\"\"\"\t\"a\r\nb\"\r\n");
  ASSERT_TRUE(TextReaches(*editor, 2, 3, "a b"));
  EXPECT_EQ(editor->txt_Item(1, 1).Text(), "月");
  EXPECT_EQ(editor->txt_Item(3, 1).Text(), "水");
  EXPECT_EQ(editor->Model().At(2, 2).text, "2\"");
  EXPECT_EQ(state.G_Cols, 3);
  EXPECT_EQ(state.G_Rows, 10) << "the spreadsheet's last line break adds no row";
  EXPECT_TRUE(IsWindowVisible(editor->txt_Item(3, 1).hwnd()));
  EXPECT_TRUE(editor->txt_Item(3, 3).Text().empty());

  Undo();
  EXPECT_EQ(state.G_Cols, 2);
  EXPECT_EQ(state.G_Rows, 10);
  EXPECT_EQ(editor->Model(), before);
  EXPECT_TRUE(editor->txt_Item(1, 1).Text().empty());
  EXPECT_FALSE(IsWindowVisible(editor->txt_Item(3, 1).hwnd()));
  EXPECT_FALSE(editor->CanUndo()) << "one level";
}

TEST_F(EditorBlocks, StylesStayAndTypingAfterAPasteLeavesUndoToTheCell) {
  auto editor = OpenInFront();
  editor->Model().At(1, 2).backColor = RGB(1, 2, 3);
  editor->ApplyCellStyle(1, 2);
  ASSERT_TRUE(FocusIn(*editor, 1, 2));
  Paste(*editor, "x\ty\r\n");
  ASSERT_TRUE(TextReaches(*editor, 1, 3, "y"));
  EXPECT_EQ(editor->Model().At(1, 2).backColor, RGB(1, 2, 3)) << "widening keeps the cells' colours";
  EXPECT_TRUE(editor->CanUndo());
  TypeText(L"z");
  ASSERT_TRUE(PumpUntil([&] { return editor->txt_Item(2, 1).Text().find('z') != std::string::npos; }));
  EXPECT_FALSE(editor->CanUndo());
  Undo();  // the text box's own undo of the typing
  EXPECT_EQ(editor->txt_Item(2, 1).Text(), "x");
  EXPECT_EQ(state.G_Cols, 3);
  EXPECT_EQ(editor->txt_Item(3, 1).Text(), "y");
}

TEST_F(EditorBlocks, PlainTextPastesIntoTheCellAsBefore) {
  auto editor = OpenInFront();
  ASSERT_TRUE(FocusIn(*editor, 2, 1));
  Paste(*editor, "just, \"one\" cell");
  ASSERT_TRUE(TextReaches(*editor, 2, 1, "just, \"one\" cell"));
  EXPECT_EQ(state.G_Cols, 2);
  EXPECT_FALSE(editor->CanUndo());
}

TEST_F(EditorBlocks, CellsBeyondTheLargestTableAreDroppedWithOneMessage) {
  auto editor = Open();
  state.G_Rows = 34;
  state.G_Cols = 4;
  editor->Build_Grid();
  MakeForeground(editor->hwnd());
  ASSERT_TRUE(FocusIn(*editor, 33, 4));
  ASSERT_EQ(GetForegroundWindow(), editor->hwnd());
  DialogDriver driver;
  driver.Press(IDOK);
  Paste(*editor, "a\tb\tc\r\nd\te\tf\r\ng\r\n");
  PumpUntil([&] { return driver.Pending() == 0; }, 10000);  // the keys arrive, the message is answered
  ASSERT_TRUE(driver.WaitUntilDone());
  ASSERT_EQ(driver.Seen().size(), 1u);
  EXPECT_EQ(driver.Seen()[0].text, FormatDroppedCellsMessage(3));
  EXPECT_EQ(state.G_Cols, 5);
  EXPECT_EQ(state.G_Rows, 34);
  EXPECT_EQ(editor->Model().At(33, 5).text, "b");
  EXPECT_EQ(editor->Model().At(34, 4).text, "d");
}

// 8 MB of line feeds would be 8.4 million rows, and one enormous cell kills the drawing of its text box:
// only what the table takes is built, and one message counts the rest.
TEST_F(EditorBlocks, HugeClipboardTextsFillTheTableAndSayWhatWasLeftOutOrCut) {
  auto editor = OpenInFront();
  ASSERT_TRUE(FocusIn(*editor, 1, 1));
  DialogDriver driver;
  driver.Press(IDOK).Press(IDOK);
  Paste(*editor, std::string(8u << 20, '\n'));
  PumpUntil([&] { return driver.Pending() == 1; }, 20000);
  EXPECT_EQ(state.G_Rows, 34);
  ASSERT_TRUE(FocusIn(*editor, 2, 1));
  Paste(*editor, std::string(3'000'000, 'x'));  // one cell's text, far beyond a text box's own limit
  PumpUntil([&] { return driver.Pending() == 0; }, 30000);
  ASSERT_TRUE(driver.WaitUntilDone());
  ASSERT_EQ(driver.Seen().size(), 2u);
  EXPECT_EQ(driver.Seen()[0].text, FormatDroppedCellsMessage(static_cast<size_t>((8u << 20) - 34)));
  EXPECT_EQ(driver.Seen()[1].text, FormatCutCellsMessage(1));
  EXPECT_EQ(editor->txt_Item(1, 2).Text(), std::string(kMaxCellChars, 'x'));
  EXPECT_EQ(editor->Model().At(2, 1).text, std::string(kMaxCellChars, 'x'));
  EXPECT_TRUE(IsWindowVisible(editor->hwnd()));
}

TEST_F(EditorBlocks, CtrlShiftCCopiesTheVisibleTableForASpreadsheet) {
  auto editor = OpenInFront();
  state.G_Rows = 2;
  editor->Build_Grid();
  editor->SetCellText(1, 1, "予定");
  editor->SetCellText(2, 2, "a\"b");
  editor->SetCellText(1, 3, "hidden");
  ASSERT_TRUE(FocusIn(*editor, 1, 1));
  win::SetClipboardText(editor->hwnd(), "old");
  PressChord({VK_CONTROL, VK_SHIFT}, 'C');
  ASSERT_TRUE(PumpUntil([&] { return win::ClipboardText(editor->hwnd()) != "old"; }));
  EXPECT_EQ(win::ClipboardText(editor->hwnd()), "予定\t\r\n\t\"a\"\"b\"\r\n");
  EXPECT_EQ(editor->txt_Item(1, 1).Text(), "予定") << "the cell is not touched";
}

}  // namespace
}  // namespace qr::test
