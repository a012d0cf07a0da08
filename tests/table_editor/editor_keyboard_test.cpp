// The editor by the keyboard alone: real keys through the message loop move between the cells as in a
// spreadsheet, leave the grid for the other controls, and never close the editor behind its back.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <imm.h>

#include "support/keyboard.h"
#include "table_editor/editor_fixture.h"

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

TEST_F(EditorKeys, KeysRunTheFocusedButtonsButNoKeyClosesTheEditorSilently) {
  auto editor = OpenInFront();
  ASSERT_TRUE(FocusReaches(*editor, 1, 1));
  TypeText(L"keep");
  PressKey(VK_ESCAPE);
  Pump();
  ASSERT_TRUE(editor->Loaded()) << "Escape does not close the editor";
  EXPECT_EQ(editor->txt_Item(1, 1).Text(), "keep");

  // From the first cell backwards: the last slider in use, then the options, then the toolbar.
  PressKey(VK_TAB, true);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == editor->S_Wide(2).hwnd(); }));
  PressKey(VK_TAB, true);
  PressKey(VK_TAB, true);
  PressKey(VK_TAB, true);
  ASSERT_TRUE(PumpUntil([&] { return editor->FocusedWindowless() == &editor->lbl_Trns(); }));
  const int16_t trans = state.Trans;
  PressKey(VK_SPACE);
  ASSERT_TRUE(PumpUntil([&] { return state.Trans != trans; })) << "Space toggles the focused option";
  for (int i = 0; i < 5; ++i) PressKey(VK_TAB, true);  // back over the four row and column buttons
  ASSERT_TRUE(PumpUntil([&] { return editor->FocusedWindowless() == &editor->Img_SS(6); }));
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return hookCalls.size() == 1; }));
  EXPECT_EQ(hookCalls[0], "font");

  // The cancel button by the keyboard takes the editor's own close path: its keys are written.
  forms::MoveFocus({editor->hwnd(), &editor->lbl_Button(1)});
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return !editor->Loaded(); }));
  EXPECT_EQ(IniValue(iniPath, "Trans"), std::to_string(state.Trans));
}

TEST_F(EditorKeys, AltF4ClosesThroughTheClosePathThatWritesTheEditorKeys) {
  auto editor = OpenInFront();
  ASSERT_TRUE(FocusReaches(*editor, 1, 1));
  Click(*editor, editor->lbl_Comn());
  std::vector<INPUT> keys(4);
  for (auto& k : keys) k.type = INPUT_KEYBOARD;
  keys[0].ki.wVk = VK_MENU;
  keys[1].ki.wVk = VK_F4;
  keys[2].ki.wVk = VK_F4;
  keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
  keys[3].ki.wVk = VK_MENU;
  keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, keys.data(), sizeof(INPUT));
  ASSERT_TRUE(PumpUntil([&] { return !editor->Loaded(); }));
  EXPECT_EQ(IniValue(iniPath, "Common"), "1");
  EXPECT_EQ(IniValue(iniPath, "G_Rows"), "10");
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

}  // namespace
}  // namespace qr::test
