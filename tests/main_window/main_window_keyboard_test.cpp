// The main window by the keyboard: Tab walks its options, buttons and list in reading order, skipping
// what is disabled, and Enter or Space runs the focused button - real keys through the message loop.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shlobj.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "main_window/help_guide.h"
#include "main_window/main_window.h"
#include "support/keyboard.h"
#include "support/temp_folder.h"
#include "win32/text.h"

namespace qr {
namespace {

using test::PressKey;
using test::PumpUntil;

class MainWindowKeys : public ::testing::Test {
 protected:
  Quelm_Rask_M& Start() {
    state_.Program_Folder = folder_.path();
    folder_.Write(kGuideFileName, "<html></html>");  // the guide shipped beside the program: no message
    MainWindowServices services;
    services.End_Program = [this] { ++ended_; };
    services.Win_Help = [this](HWND, const std::string&, UINT, ULONG_PTR) { ++helpCalls_; };
    services.Open_Document = [this](HWND, const std::string&) { return ++helpCalls_ > 0; };  // the guide
    window_ = std::make_unique<Quelm_Rask_M>(state_, std::move(services));
    window_->Show();
    test::MakeForeground(window_->hwnd());
    return *window_;
  }

  // Presses Tab (or Shift+Tab) and waits for the focus to reach a windowless control.
  static bool TabTo(const forms::Windowless& control, bool back = false) {
    PressKey(VK_TAB, back);
    HWND holder = control.Parent()->hwnd();
    return PumpUntil(
        [&] { return GetFocus() == holder && control.Parent()->FocusedWindowless() == &control; });
  }
  static bool TabTo(HWND window, bool back = false) {
    PressKey(VK_TAB, back);
    return PumpUntil([window] { return GetFocus() == window; });
  }

  test::TempFolder folder_;
  AppState state_;
  std::unique_ptr<Quelm_Rask_M> window_;
  int ended_ = 0;
  int helpCalls_ = 0;
};

TEST_F(MainWindowKeys, TabWalksTheEnabledControlsInReadingOrderToTheListAndBackAndKeysRunThem) {
  Quelm_Rask_M& main = Start();
  ASSERT_EQ(state_.G_Kabe, 2) << "no wallpaper: browse, preview and the placements are disabled";
  ASSERT_TRUE(TabTo(main.lbl_Help));
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return helpCalls_ == 1; })) << "Enter runs the focused button";
  ASSERT_TRUE(TabTo(main.lbl_Kabe[2]));
  ASSERT_TRUE(TabTo(main.lbl_Kabe[0]));
  ASSERT_TRUE(TabTo(main.lbl_Kabe[1]));
  ASSERT_TRUE(TabTo(main.lbl_Cmd[2]));
  ASSERT_TRUE(TabTo(main.List_Kabe.hwnd()));
  ASSERT_TRUE(TabTo(main.lbl_Cmd[2], true));
  ASSERT_TRUE(TabTo(main.List_Kabe.hwnd()));
  // The list commands are disabled while nothing is chosen: the exit button follows the list.
  ASSERT_TRUE(TabTo(main.lbl_End));
  ASSERT_TRUE(TabTo(main.lbl_Can));
  ASSERT_TRUE(TabTo(main.lbl_Help)) << "round the window";
  EXPECT_EQ(ended_, 0);

  // Space chooses the focused option; the placements it enables join the order where they lie.
  ASSERT_TRUE(TabTo(main.lbl_Kabe[2]));
  ASSERT_TRUE(TabTo(main.lbl_Kabe[0]));
  ASSERT_TRUE(TabTo(main.lbl_Kabe[1]));
  PressKey(VK_SPACE);
  ASSERT_TRUE(PumpUntil([&] { return state_.G_Kabe == 1; }));
  ASSERT_TRUE(TabTo(main.lbl_Cmd[1], true));
  ASSERT_TRUE(TabTo(main.lbl_Cmd[0], true));
  ASSERT_TRUE(TabTo(main.lbl_Pos[1], true));
  PressKey(VK_SPACE);
  ASSERT_TRUE(PumpUntil([&] { return state_.G_Pos == 1; }));
}

}  // namespace
}  // namespace qr

namespace qr {
namespace {

// Explorer's "Copy" of files: a DROPFILES block on the clipboard.
bool CopyFilesToClipboard(HWND owner, const std::vector<std::string>& names) {
  std::wstring list;
  for (const std::string& name : names) list += win::Wide(name) + L'\0';
  list += L'\0';
  const size_t listBytes = list.size() * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + listBytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), listBytes);
  GlobalUnlock(block);
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  const bool set = SetClipboardData(CF_HDROP, block) != nullptr;
  CloseClipboard();
  return set;
}

TEST_F(MainWindowKeys, AltArrowKeysMoveTheWindowByDesignPixels) {
  Quelm_Rask_M& main = Start();
  RECT before{};
  GetWindowRect(main.hwnd(), &before);
  const int step = main.Scale().Px(1);
  test::PressChord({VK_MENU}, VK_RIGHT);
  test::PressChord({VK_MENU}, VK_RIGHT);
  test::PressChord({VK_MENU}, VK_UP);
  RECT after{};
  ASSERT_TRUE(PumpUntil([&] {
    GetWindowRect(main.hwnd(), &after);
    return after.top != before.top;
  }));
  EXPECT_EQ(after.left - before.left, 2 * step);
  EXPECT_EQ(after.top - before.top, -step);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
}

TEST_F(MainWindowKeys, CtrlVInTheListAddsTheCopiedPicturesAsADropDoes) {
  Quelm_Rask_M& main = Start();
  const std::string png = folder_.Write("copied.PNG", "x");
  const std::string text = folder_.Write("notes.txt", "x");
  ASSERT_TRUE(CopyFilesToClipboard(main.hwnd(), {png, text}));
  SetFocus(main.List_Kabe.hwnd());
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == main.List_Kabe.hwnd(); }));
  test::PressChord({VK_CONTROL}, 'V');
  ASSERT_TRUE(PumpUntil([&] { return main.List_Kabe.ListCount() == 1; }));
  EXPECT_EQ(main.Wallpaper_List().Entries(), std::vector<std::string>{png});
}

}  // namespace
}  // namespace qr
