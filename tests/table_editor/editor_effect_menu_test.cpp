// The editor's menu of the text effect: a right click on the toolbar strip or the menu key opens it;
// its radio items show and set `Text_Effect` and `Panel_Alpha`, which the editor keeps in the settings.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/editor_fixture.h"
#include "support/keyboard.h"
#include "win32/text.h"

namespace qr::test {
namespace {

// The menu's items, "*" before the checked ones; separators left out.
std::vector<std::string> Items(HMENU menu) {
  std::vector<std::string> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 64;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    if (info.fType & MFT_SEPARATOR) continue;
    const bool checked = (info.fState & MFS_CHECKED) != 0;
    if (checked) {
      EXPECT_TRUE(info.fType & MFT_RADIOCHECK) << win::Utf8(text) << " shows a bullet, not a tick";
    }
    std::string item(checked ? "*" : "");
    item += win::Utf8(text);
    items.push_back(item);
  }
  return items;
}

UINT IdOf(HMENU menu, const std::string& caption) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    if (win::Utf8(text) == caption) return GetMenuItemID(menu, i);
  }
  ADD_FAILURE() << "no item " << caption;
  return 0;
}

class EffectMenuTest : public EditorTest {
 protected:
  EffectMenuTest() {
    hooks.chooseFromMenu = [this](HMENU menu, POINT at) -> UINT {
      shown.push_back(Items(menu));
      shownAt = at;
      return answer.empty() ? 0 : IdOf(menu, answer);
    };
  }

  // A right click at a point of the editor's client area (design pixels).
  void RightClick(Quelm_Rask_S& editor, POINT at) {
    const LPARAM where = MAKELPARAM(editor.Scale().Px(at.x), editor.Scale().Px(at.y));
    SendMessageW(editor.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, where);
    SendMessageW(editor.hwnd(), WM_RBUTTONUP, 0, where);
  }
  static POINT CentreOf(const forms::Windowless& control) {
    return {control.Left() + control.Width() / 2, control.Top() + control.Height() / 2};
  }

  std::string answer;
  std::vector<std::vector<std::string>> shown;
  POINT shownAt{};
};

const std::vector<std::string> kDefaultItems = {"*文字の効果なし", "文字の縁取り",   "文字の影",
                                                "半透明の下地",    "下地の濃さ 25%", "*下地の濃さ 50%",
                                                "下地の濃さ 75%"};

TEST_F(EffectMenuTest, ARightClickOnTheToolbarStripOpensTheMenuInsteadOfAnIconsCommand) {
  auto editor = Open();
  answer = "文字の縁取り";
  const POINT icon = CentreOf(editor->Img_SS(4));
  RightClick(*editor, icon);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], kDefaultItems);
  POINT screen{editor->Scale().Px(icon.x), editor->Scale().Px(icon.y)};
  ClientToScreen(editor->hwnd(), &screen);
  EXPECT_EQ(shownAt.x, screen.x);
  EXPECT_EQ(shownAt.y, screen.y);
  EXPECT_EQ(state.Text_Effect, 1);
  EXPECT_TRUE(hookCalls.empty()) << "the preview icon's command does not run";
  EXPECT_TRUE(editor->Img_Button(4).Picture() == skin.Img_Off);

  answer = "下地の濃さ 75%";
  RightClick(*editor, CentreOf(editor->Img_Trns()));  // over an option: the option stays as it is
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1][1], "*文字の縁取り");
  EXPECT_EQ(state.Panel_Alpha, 75);
  EXPECT_EQ(state.Trans, 0);
  answer.clear();  // dismissed: nothing changes
  RightClick(*editor, {2, 20});
  EXPECT_EQ(shown.size(), 3u);
  EXPECT_EQ(state.Text_Effect, 1);
  EXPECT_EQ(state.Panel_Alpha, 75);

  RightClick(*editor, {250, 42});  // below the strip, beside the sliders
  EXPECT_EQ(shown.size(), 3u);
}

TEST_F(EffectMenuTest, TheMenuKeyAndShiftF10OpenItBelowTheToolbarStrip) {
  auto editor = Open();
  MakeForeground(editor->hwnd());
  SetFocus(editor->hwnd());
  answer = "文字の影";
  PressKey(VK_APPS);
  ASSERT_TRUE(PumpUntil([&] { return !shown.empty(); }));
  EXPECT_EQ(state.Text_Effect, 2);
  POINT below{editor->Scale().Px(4), editor->Scale().Px(36)};
  ClientToScreen(editor->hwnd(), &below);
  EXPECT_EQ(shownAt.x, below.x);
  EXPECT_EQ(shownAt.y, below.y);

  answer = "半透明の下地";
  SetFocus(editor->hwnd());
  PressKey(VK_F10, true);
  ASSERT_TRUE(PumpUntil([&] { return shown.size() == 2; }));
  EXPECT_EQ(state.Text_Effect, 3);
  Pump(300);
  EXPECT_EQ(shown.size(), 2u) << "one key, one menu";
}

TEST_F(EffectMenuTest, TheChoiceIsSavedOnClosingAndTheNextEditorShowsIt) {
  auto editor = Open();
  answer = "半透明の下地";
  RightClick(*editor, {2, 20});
  answer = "下地の濃さ 25%";
  RightClick(*editor, {2, 20});
  SendMessageW(editor->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(IniValue(iniPath, "Text_Effect"), "3");
  EXPECT_EQ(IniValue(iniPath, "Panel_Alpha"), "25");

  state = AppState{};
  auto next = Open();
  answer.clear();
  RightClick(*next, {2, 20});
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[2], (std::vector<std::string>{"文字の効果なし", "文字の縁取り", "文字の影", "*半透明の下地",
                                                "*下地の濃さ 25%", "下地の濃さ 50%", "下地の濃さ 75%"}));
}

}  // namespace
}  // namespace qr::test
