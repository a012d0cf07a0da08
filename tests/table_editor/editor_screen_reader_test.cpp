// The editor as a screen reader finds it: icons, options, row and column buttons, sliders and cells
// named; 透過 toggled by its default action; focus events following Tab; and a button that runs its
// command once per press, however many mouse buttons are released.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "shared/skin.h"
#include "support/contrast_scheme.h"
#include "support/editor_fixture.h"
#include "support/keyboard.h"
#include "support/screen_reader.h"
#include "win32/com.h"

namespace qr::test {
namespace {

class EditorScreenReader : public EditorTest {
 protected:
  win::ComApartment com_;
};

TEST_F(EditorScreenReader, EveryControlIsNamedAndTheOptionsToggleByTheirAction) {
  state.Trans = 0;
  auto editor = Open();
  editor->SetCellText(1, 1, "東京");
  const std::vector<AccessibleElement> tree = AccessibleTree(editor->hwnd());
  for (const char* name : {"読み込み", "保存", "ﾌﾟﾚﾋﾞｭｰ", "背景色", "ﾌｫﾝﾄ", "行の追加", "行の削除",
                           "列の削除", "列の追加", "壁紙貼り付け", "ｷｬﾝｾﾙ"})
    EXPECT_TRUE(FindElement(tree, name, ROLE_SYSTEM_PUSHBUTTON).parent) << name;
  EXPECT_TRUE(FindElement(tree, "列 1 の幅", ROLE_SYSTEM_SCROLLBAR).parent);
  const AccessibleElement cell = FindElement(tree, "行 1 列 1", ROLE_SYSTEM_TEXT);
  ASSERT_TRUE(cell.parent);
  EXPECT_EQ(cell.value, "東京");
  EXPECT_FALSE(FindElement(tree, "行 " + std::to_string(kMaxRows) + " 列 1", ROLE_SYSTEM_TEXT).parent)
      << "cells out of use are hidden, and not listed";

  const AccessibleElement trans = FindElement(tree, "透過", ROLE_SYSTEM_CHECKBUTTON);
  ASSERT_TRUE(trans.parent);
  EXPECT_EQ(trans.defaultAction, "切り替え");
  EXPECT_FALSE(trans.state & STATE_SYSTEM_CHECKED);
  ASSERT_EQ(DoDefaultAction(trans), S_OK);
  EXPECT_TRUE(PumpUntil([&] { return state.Trans == 1; }));
  EXPECT_TRUE(Reread(trans).state & STATE_SYSTEM_CHECKED);
  ASSERT_EQ(DoDefaultAction(trans), S_OK);
  EXPECT_TRUE(PumpUntil([&] { return state.Trans == 0; }));
  EXPECT_FALSE(Reread(trans).state & STATE_SYSTEM_CHECKED);
}

TEST_F(EditorScreenReader, FocusEventsNameWhatShiftTabReaches) {
  auto editor = Open();
  MakeForeground(editor->hwnd());
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == editor->txt_Item(1, 1).hwnd(); }));
  AccessibleEvents events;
  // Back from the first cell: the sliders in use, the options, the row and column buttons, the icons.
  for (const char* name :
       {"列 2 の幅", "列 1 の幅", "共通", "透過", "列の追加", "列の削除", "行の削除", "行の追加", "ﾌｫﾝﾄ"}) {
    PressKey(VK_TAB, true);
    ASSERT_TRUE(PumpUntil([&] { return events.LastName() == name; }))
        << name << " heard: " << events.LastName();
  }
  EXPECT_EQ(editor->FocusedWindowless(), &editor->Img_SS(6));
}

TEST_F(EditorScreenReader, AButtonRunsItsCommandOncePerPress) {
  auto editor = Open();
  const forms::Label& create = editor->lbl_Button(0);
  RECT r = create.Bounds();
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageW(editor->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(editor->hwnd(), WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, at);
  SendMessageW(editor->hwnd(), WM_LBUTTONUP, MK_RBUTTON, at);
  SendMessageW(editor->hwnd(), WM_RBUTTONUP, 0, at);
  EXPECT_EQ(hookCalls, std::vector<std::string>{"create"}) << "the second button's release runs nothing";
  EXPECT_TRUE(editor->Img_Button(0).Picture() == skin.Img_Off);
}

TEST_F(EditorScreenReader, HighContrastDrawsCaptionsAndMarksInTheSchemeAndKeepsTheCells) {
  ContrastScheme scheme;
  skin = EditorSkinWith(LoadSkin());  // the program's own pictures, as the guide shows them
  auto editor = Open();
  editor->SetCell(1, 1, Cell{"東京", CellFont{}, RGB(10, 20, 30), RGB(250, 240, 200)});
  EXPECT_GT(CountOf(DrawnColours(editor->lbl_Button(0)), ContrastScheme::kText), 10u);
  EXPECT_GT(CountOf(DrawnColours(editor->lbl_Trns()), ContrastScheme::kText), 10u);
  const std::vector<COLORREF> unchecked = DrawnColours(editor->Img_Trns());
  editor->lbl_Trns().PerformClick();
  ASSERT_EQ(state.Trans, 1);
  const std::vector<COLORREF> checked = DrawnColours(editor->Img_Trns());
  EXPECT_GT(CountOf(checked, RGB(255, 255, 255)), CountOf(unchecked, RGB(255, 255, 255)) + 4)
      << "the tick in the scheme's window text colour";
  EXPECT_EQ(editor->txt_Item(1, 1).BackColor(), RGB(250, 240, 200)) << "the table is the user's design";
  MakeForeground(editor->hwnd());
  KeepScreenshot(editor->hwnd(), "contrast_editor");
}

}  // namespace
}  // namespace qr::test
