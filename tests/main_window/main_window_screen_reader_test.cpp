// The main window as a screen reader finds it: every button, option and the list named, with role,
// state and action; the default actions do what clicks do; the focus events follow Tab; and in high
// contrast the captions are drawn in the scheme's colours.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "main_window/help_guide.h"
#include "main_window/main_window.h"
#include "support/contrast_scheme.h"
#include "support/keyboard.h"
#include "support/screen_reader.h"
#include "support/temp_folder.h"
#include "win32/com.h"

namespace qr {
namespace {

using test::AccessibleElement;
using test::FindElement;
using test::PumpUntil;

class MainWindowScreenReader : public ::testing::Test {
 protected:
  Quelm_Rask_M& Start() {
    state_.Program_Folder = folder_.path();
    folder_.Write(kGuideFileName, "<html></html>");
    MainWindowServices services;
    services.Show_Editor = [this](Quelm_Rask_M&) { ++editorsOpened_; };
    window_ = std::make_unique<Quelm_Rask_M>(state_, std::move(services));
    window_->Show();
    test::MakeForeground(window_->hwnd());
    return *window_;
  }

  win::ComApartment com_;
  test::TempFolder folder_;
  AppState state_;
  std::unique_ptr<Quelm_Rask_M> window_;
  int editorsOpened_ = 0;
};

TEST_F(MainWindowScreenReader, EveryControlIsNamedWithRoleStateAndTheActionsDoWhatClicksDo) {
  Quelm_Rask_M& main = Start();
  test::AccessibleEvents nameChanges(EVENT_OBJECT_NAMECHANGE);
  test::AccessibleEvents stateChanges(EVENT_OBJECT_STATECHANGE);
  const std::vector<AccessibleElement> tree = test::AccessibleTree(main.hwnd());
  for (const char* name :
       {"参照...", "壁紙ﾌﾟﾚﾋﾞｭｰ (指定したﾌｧｲﾙ)", "壁紙ﾌﾟﾚﾋﾞｭｰ (ﾘｽﾄで選んだ壁紙)", "ﾘｽﾄから削除", "ﾘｽﾄ全部ｸﾘｱ",
        "ﾌｧｲﾙ削除", "壁紙変更", "ﾍﾙﾌﾟ", "終了", "ｷｬﾝｾﾙ", "閉じる"})
    EXPECT_EQ(FindElement(tree, name, ROLE_SYSTEM_PUSHBUTTON).defaultAction, "押す") << name;
  EXPECT_TRUE(FindElement(tree, "参照...", ROLE_SYSTEM_PUSHBUTTON).state & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_TRUE(FindElement(tree, "Quelm_Rask(Main)", ROLE_SYSTEM_TITLEBAR).parent);
  EXPECT_TRUE(FindElement(tree, "作成履歴", ROLE_SYSTEM_LIST).parent) << "the list of wallpapers";
  // Faces and the hidden image store are not listed: nothing a screen reader reaches is unnamed.
  for (const AccessibleElement& e : tree) {
    const bool unnamedAllowed =
        e.role == ROLE_SYSTEM_CLIENT || e.role == ROLE_SYSTEM_STATICTEXT;  // panels, an empty path
    EXPECT_TRUE(unnamedAllowed || !e.name.empty()) << e.role;
    EXPECT_FALSE(e.state & STATE_SYSTEM_INVISIBLE) << e.name;
  }

  // Where a sighted user sees it, in screen pixels; its action is the click's.
  const AccessibleElement create = FindElement(tree, "壁紙作成", ROLE_SYSTEM_PUSHBUTTON);
  RECT expected = main.lbl_Cmd[2].Bounds();
  MapWindowPoints(main.lbl_Cmd[2].Parent()->hwnd(), HWND_DESKTOP, reinterpret_cast<POINT*>(&expected), 2);
  EXPECT_TRUE(EqualRect(&expected, &create.location));
  ASSERT_EQ(test::DoDefaultAction(create), S_OK);
  EXPECT_EQ(editorsOpened_, 0) << "the action returns before the click runs";
  EXPECT_TRUE(PumpUntil([&] { return editorsOpened_ == 1; })) << "壁紙作成 opens the editor";

  // The options: the chosen one checked; choosing a picture file offers the placements.
  const AccessibleElement none = FindElement(tree, "壁紙なしで貼り付け", ROLE_SYSTEM_RADIOBUTTON);
  const AccessibleElement file = FindElement(tree, "壁紙ﾌｧｲﾙを指定して貼り付け", ROLE_SYSTEM_RADIOBUTTON);
  const AccessibleElement centre = FindElement(tree, "中央", ROLE_SYSTEM_RADIOBUTTON);
  EXPECT_EQ(none.state & (STATE_SYSTEM_CHECKED | STATE_SYSTEM_FOCUSABLE),
            STATE_SYSTEM_CHECKED | STATE_SYSTEM_FOCUSABLE);
  EXPECT_TRUE(centre.state & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(file.defaultAction, "選択");
  ASSERT_EQ(test::DoDefaultAction(file), S_OK);
  EXPECT_TRUE(PumpUntil([&] { return state_.G_Kabe == 1; }));
  EXPECT_TRUE(test::Reread(file).state & STATE_SYSTEM_CHECKED);
  EXPECT_FALSE(test::Reread(none).state & STATE_SYSTEM_CHECKED);
  EXPECT_FALSE(test::Reread(centre).state & STATE_SYSTEM_UNAVAILABLE);
  // Announced: the checks and the enabling, and the chosen file's path as it changes.
  EXPECT_TRUE(PumpUntil([&] { return stateChanges.Heard().size() >= 3; }));
  main.lbl_Path.SetCaption("C:\\壁紙\\海.jpg");
  EXPECT_TRUE(PumpUntil([&] { return nameChanges.LastName() == "C:\\壁紙\\海.jpg"; }))
      << nameChanges.LastName();

  // A caption has no action; a closed window's object says it is gone instead of reaching freed controls.
  EXPECT_EQ(test::DoDefaultAction(FindElement(tree, "新規作成", ROLE_SYSTEM_STATICTEXT)),
            DISP_E_MEMBERNOTFOUND);
  window_.reset();
  EXPECT_TRUE(FAILED(test::DoDefaultAction(create)));
}

TEST_F(MainWindowScreenReader, FocusEventsNameTheControlTabReaches) {
  Quelm_Rask_M& main = Start();
  test::AccessibleEvents events;
  for (const forms::Label* control : {&main.lbl_Help, &main.lbl_Kabe[2], &main.lbl_Kabe[0]}) {
    test::PressKey(VK_TAB);
    ASSERT_TRUE(PumpUntil([&] { return events.LastName() == control->Caption(); }))
        << control->Caption() << " heard: " << events.LastName();
    EXPECT_EQ(events.Heard().back().window, control->Parent()->hwnd());
  }
}

TEST_F(MainWindowScreenReader, HighContrastDrawsCaptionsAndFacesInTheSchemesColours) {
  Quelm_Rask_M& main = Start();
  const std::vector<COLORREF> normal = test::DrawnColours(main.lbl_Cmd[2]);
  test::ContrastScheme scheme;
  SendMessageW(main.hwnd(), WM_SYSCOLORCHANGE, 0, 0);
  for (const forms::Label* caption : {&main.lbl_Cmd[2], &main.lbl[0], &main.lbl_Kabe[2]}) {
    const std::vector<COLORREF> drawn = test::DrawnColours(*caption);
    EXPECT_GT(test::CountOf(drawn, test::ContrastScheme::kText), 10u)
        << caption->Caption() << ": text in the scheme's colour";
    EXPECT_GT(test::CountOf(drawn, test::ContrastScheme::kFace), drawn.size() / 2)
        << caption->Caption() << ": face colour";
  }
  EXPECT_LT(test::CountOf(normal, test::ContrastScheme::kFace), normal.size() / 2)
      << "the skin's face without the scheme";
  // The disabled buttons in the scheme's grey.
  EXPECT_GT(test::CountOf(test::DrawnColours(main.lbl_Cmd[4]), test::ContrastScheme::kGrey), 10u);
  test::PressKey(VK_TAB);  // the focus shows in the picture for the guide
  ASSERT_TRUE(PumpUntil([&] { return main.lbl_Help.Parent()->FocusedWindowless() == &main.lbl_Help; }));
  test::KeepScreenshot(main.hwnd(), "contrast_main");
}

}  // namespace
}  // namespace qr
