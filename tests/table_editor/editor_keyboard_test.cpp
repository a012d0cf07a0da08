// The editor by the keyboard alone: real keys through the message loop move between the cells as in a
// spreadsheet, leave the grid for the other controls, and never close the editor behind its back.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <imm.h>

#include <string>
#include <vector>

#include "support/editor_fixture.h"
#include "support/keyboard.h"

namespace qr::test {
namespace {

class EditorKeys : public EditorTest {
 protected:
  std::unique_ptr<Quelm_Rask_S> OpenInFront() {
    auto editor = Open();
    MakeForeground(editor->hwnd());
    return editor;
  }
  // Waits until the cell has the focus.
  static bool FocusReaches(Quelm_Rask_S& editor, int row, int col) {
    HWND box = editor.txt_Item(col, row).hwnd();
    return PumpUntil([box] { return GetFocus() == box; });
  }
  static bool TextReaches(Quelm_Rask_S& editor, int row, int col, const std::string& text) {
    return PumpUntil([&] { return editor.txt_Item(col, row).Text() == text; });
  }
};

TEST_F(EditorKeys, TabEnterAndTypingFillTheCellsAndShiftTabAndUpGoBack) {
  auto editor = OpenInFront();
  ASSERT_TRUE(FocusReaches(*editor, 1, 1)) << "typing starts in cell (1, 1)";
  TypeText(L"東京");
  ASSERT_TRUE(TextReaches(*editor, 1, 1, "東京"));
  PressKey(VK_TAB);
  TypeText(L"b2");
  ASSERT_TRUE(TextReaches(*editor, 1, 2, "b2"));
  PressKey(VK_RETURN);
  TypeText(L"c3");
  ASSERT_TRUE(TextReaches(*editor, 2, 2, "c3"));
  EXPECT_EQ(editor->txt_Item(1, 1).Text(), "東京");
  EXPECT_EQ(editor->txt_Item(2, 1).Text(), "b2");
  EXPECT_EQ(editor->Model().At(2, 2).text, "c3");
  EXPECT_EQ(state.Cur_Row, 2);
  EXPECT_EQ(state.Cur_Col, 2);

  PressKey(VK_UP);
  ASSERT_TRUE(FocusReaches(*editor, 1, 2));
  EXPECT_EQ(state.Cur_Row, 1);
  EXPECT_EQ(state.Cur_Col, 2);
  // Arriving selects the text: typing replaces it.
  TypeText(L"x");
  ASSERT_TRUE(TextReaches(*editor, 1, 2, "x"));
  PressKey(VK_TAB, true);
  ASSERT_TRUE(FocusReaches(*editor, 1, 1));
  EXPECT_EQ(state.Cur_Col, 1);
  PressKey(VK_DOWN);
  ASSERT_TRUE(FocusReaches(*editor, 2, 1));
  PressKey(VK_RETURN, true);
  ASSERT_TRUE(FocusReaches(*editor, 1, 1)) << "Shift+Enter goes up";
}

TEST_F(EditorKeys, TabRunsRowByRowOverTheCellsInUseAndOnToTheButtons) {
  store.Write("Section", "G_Rows", "2");
  store.Write("Section", "G_Cols", "3");
  store.Write("Section", "G_Cols_w2", "0");  // laid out but not to be seen: skipped
  auto editor = OpenInFront();
  ASSERT_TRUE(FocusReaches(*editor, 1, 1));
  PressKey(VK_TAB);
  ASSERT_TRUE(FocusReaches(*editor, 1, 3));
  PressKey(VK_TAB);
  ASSERT_TRUE(FocusReaches(*editor, 2, 1)) << "after the last cell of a row, the first of the next";
  PressKey(VK_TAB);
  ASSERT_TRUE(FocusReaches(*editor, 2, 3));
  // Past the last cell: the create button, a windowless caption focused through the window.
  PressKey(VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return editor->FocusedWindowless() == &editor->lbl_Button(0); }));
  EXPECT_EQ(GetFocus(), editor->hwnd());
  PressKey(VK_TAB, true);
  ASSERT_TRUE(FocusReaches(*editor, 2, 3));

  // Enter and Down stop at the last row in use, Up at the first; the hidden third row is never reached.
  PressKey(VK_RETURN);
  PressKey(VK_DOWN);
  Pump();
  EXPECT_EQ(GetFocus(), editor->txt_Item(3, 2).hwnd());
  PressKey(VK_UP);
  PressKey(VK_UP);
  ASSERT_TRUE(FocusReaches(*editor, 1, 3));
  Pump();
  EXPECT_EQ(GetFocus(), editor->txt_Item(3, 1).hwnd());
}

TEST_F(EditorKeys, KeysRunTheFocusedButtonsButNoKeyClosesTheEditorBesideItsClosePath) {
  auto editor = OpenInFront();
  ASSERT_TRUE(FocusReaches(*editor, 1, 1));
  TypeText(L"keep");
  PressKey(VK_ESCAPE);
  Pump();
  ASSERT_TRUE(editor->Loaded()) << "Escape does not close the editor";
  EXPECT_EQ(editor->txt_Item(1, 1).Text(), "keep");

  // Backwards from the first cell: the sliders in use, the options, the row and column buttons, the
  // toolbar.
  for (int i = 0; i < 4; ++i) PressKey(VK_TAB, true);
  ASSERT_TRUE(PumpUntil([&] { return editor->FocusedWindowless() == &editor->lbl_Trns(); }));
  PressKey(VK_SPACE);
  ASSERT_TRUE(PumpUntil([&] { return state.Trans == 1; })) << "Space toggles the focused option";
  for (int i = 0; i < 5; ++i) PressKey(VK_TAB, true);
  ASSERT_TRUE(PumpUntil([&] { return editor->FocusedWindowless() == &editor->Img_SS(6); }));
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return hookCalls == std::vector<std::string>{"font"}; }));

  // Alt+F4 takes the editor's close path: its keys are written.
  std::vector<INPUT> keys(4);
  const WORD order[4] = {VK_MENU, VK_F4, VK_F4, VK_MENU};
  for (size_t i = 0; i < keys.size(); ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = order[i];
    keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(4, keys.data(), sizeof(INPUT));
  ASSERT_TRUE(PumpUntil([&] { return !editor->Loaded(); }));
  EXPECT_EQ(IniValue(iniPath, "Trans"), "1");
}

TEST_F(EditorKeys, EnterThatEndsACompositionStaysInTheCell) {
  auto editor = OpenInFront();
  ASSERT_TRUE(FocusReaches(*editor, 1, 1));
  HWND box = editor->txt_Item(1, 1).hwnd();
  HIMC context = ImmGetContext(box);
  ASSERT_NE(context, nullptr);
  ImmSetOpenStatus(context, TRUE);
  const std::wstring reading = L"にほん";
  const bool composing =
      ImmSetCompositionStringW(context, SCS_SETSTR, const_cast<wchar_t*>(reading.c_str()),
                               static_cast<DWORD>(reading.size() * sizeof(wchar_t)), nullptr, 0) &&
      ImmGetCompositionStringW(context, GCS_COMPSTR, nullptr, 0) > 0;
  if (!composing) {
    ImmReleaseContext(box, context);
    GTEST_SKIP() << "this system's input method cannot be given a composition";
  }
  PressKey(VK_RETURN);
  PressKey(VK_TAB);
  Pump();
  EXPECT_EQ(GetFocus(), box) << "Enter and Tab belong to the composition";
  ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_CANCEL, 0);
  ImmSetOpenStatus(context, FALSE);
  ImmReleaseContext(box, context);
  PressKey(VK_RETURN);
  EXPECT_TRUE(FocusReaches(*editor, 2, 1)) << "without a composition Enter moves down again";
}

// The table's place chosen from the keyboard: Alt+arrow keys move the editor, and its saved place follows.
TEST_F(EditorKeys, AltArrowKeysMoveTheEditorAndClosingSavesWhereItIs) {
  auto editor = OpenInFront();
  ASSERT_TRUE(FocusReaches(*editor, 1, 1));
  RECT before{};
  GetWindowRect(editor->hwnd(), &before);
  const int step = editor->Scale().Px(1);
  PressChord({VK_MENU}, VK_LEFT);
  PressChord({VK_MENU}, VK_DOWN);
  PressChord({VK_MENU}, VK_DOWN);
  RECT after{};
  ASSERT_TRUE(PumpUntil([&] {
    GetWindowRect(editor->hwnd(), &after);
    return after.top == before.top + 2 * step;
  }));
  EXPECT_EQ(after.left, before.left - step);
  EXPECT_TRUE(editor->txt_Item(1, 1).Text().empty()) << "the keys do not reach the cell";
  editor->Unload();
  const double twips = forms::Form::TwipsPerPixelX();
  EXPECT_EQ(IniValue(iniPath, "G_Left"), std::to_string(static_cast<int>(after.left * twips)));
  EXPECT_EQ(IniValue(iniPath, "G_Top"), std::to_string(static_cast<int>(after.top * twips)));
}

// At 34 rows the editor is taller than the screen: its two commands stay on it, beside the grid, and
// come back below it when the window is moved up to where it fits; Ctrl+Enter creates from anywhere.
TEST_F(EditorKeys, ATableTallerThanTheScreenKeepsItsTwoCommandsReachable) {
  store.Write("Section", "G_Rows", "34");
  store.Write("Section", "G_Left", "1500");
  store.Write("Section", "G_Top", "2000");  // twips: 100 and 133 pixels
  auto editor = Open();
  RECT window{};
  ASSERT_TRUE(GetWindowRect(editor->hwnd(), &window));
  ASSERT_GT(window.bottom, GetSystemMetrics(SM_CYSCREEN));
  const RECT grid = editor->PicBackRect();
  for (int i = 0; i <= 1; ++i) {
    EXPECT_GT(editor->lbl_Button(i).Left(), grid.right) << i;
    EXPECT_LT(window.top + editor->lbl_Button(i).Top() + editor->lbl_Button(i).Height(),
              GetSystemMetrics(SM_CYSCREEN))
        << i;
  }
  const RECT gridBefore = grid;
  MakeForeground(editor->hwnd());
  SetFocus(editor->txt_Item(2, 20).hwnd());
  PressChord({VK_CONTROL}, VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return hookCalls == std::vector<std::string>{"create"}; }));
  EXPECT_TRUE(editor->Loaded());

  editor->Move(0, 0);  // a 757-pixel window fits a 768-pixel screen from its top
  PressChord({VK_MENU}, VK_DOWN);
  PressChord({VK_MENU}, VK_UP);
  ASSERT_TRUE(PumpUntil([&] { return editor->lbl_Button(0).Top() > grid.bottom; }));
  EXPECT_EQ(editor->lbl_Button(0).Left(), 4);
  const RECT gridAfter = editor->PicBackRect();
  EXPECT_EQ(gridAfter.left, gridBefore.left);
  EXPECT_EQ(gridAfter.top, gridBefore.top);
}

}  // namespace
}  // namespace qr::test
