// The title strip's menu: a right click on the strip, Shift+F10 and the menu key (real keys) open it;
// its entry shows whether the program starts at log-on and choosing it turns that over.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "main_window/main_window.h"
#include "support/keyboard.h"
#include "support/temp_folder.h"
#include "win32/text.h"

namespace qr {
namespace {

// On a thread of its own: waits for this process's popup menu, notes its first entry, then chooses it
// (Down, Enter) or closes the menu (Escape), with keys posted to the menu.
class MenuAnswer {
 public:
  explicit MenuAnswer(bool choose, int waitMs = 5000) : thread_([this, choose, waitMs] { Answer(choose, waitMs); }) {}
  ~MenuAnswer() { thread_.join(); }
  bool Done() const { return done_; }
  bool found = false;
  bool checked = false;
  std::string caption;

 private:
  static HWND FindMenu() {
    HWND found = nullptr;
    for (HWND w = FindWindowW(L"#32768", nullptr); w && !found; w = FindWindowExW(nullptr, w, L"#32768", nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == GetCurrentProcessId() && IsWindowVisible(w)) found = w;
    }
    return found;
  }

  void Answer(bool choose, int waitMs) {
    HWND menu = nullptr;
    for (int i = 0; i < waitMs / 25 && !menu; ++i, Sleep(25)) menu = FindMenu();
    found = menu != nullptr;
    if (menu) {
      auto items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
      checked = (GetMenuState(items, 0, MF_BYPOSITION) & MF_CHECKED) != 0;
      wchar_t text[128] = {};
      GetMenuStringW(items, 0, text, 128, MF_BYPOSITION);
      caption = win::Utf8(text);
      const std::vector<WPARAM> keys = choose ? std::vector<WPARAM>{VK_DOWN, VK_RETURN} : std::vector<WPARAM>{VK_ESCAPE};
      for (WPARAM key : keys) PostMessageW(menu, WM_KEYDOWN, key, 0);
    }
    done_ = true;
  }

  std::atomic<bool> done_{false};
  std::thread thread_;
};

class TitleMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    state_.Program_Folder = folder_.path();
    MainWindowServices services;
    services.Autostart_Enabled = [this] { return autostart_; };
    services.Set_Autostart = [this](bool on) {
      ++changes_;
      autostart_ = on;
      return true;
    };
    window_ = std::make_unique<Quelm_Rask_M>(state_, std::move(services));
    window_->Show();
    test::MakeForeground(window_->hwnd());
  }

  // The mouse messages of a right click on the strip, away from the caption and the close mark.
  void RightClickTitleStrip() {
    SendMessageW(window_->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(200, 8));
    SendMessageW(window_->hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(200, 8));
  }

  test::TempFolder folder_;
  AppState state_;
  std::unique_ptr<Quelm_Rask_M> window_;
  bool autostart_ = false;
  int changes_ = 0;
};

TEST_F(TitleMenu, ARightClickOnTheStripShowsTheStateAndTheEntryTurnsItOver) {
  {
    MenuAnswer answer(true);
    RightClickTitleStrip();
    ASSERT_TRUE(test::PumpUntil([&] { return answer.Done() && changes_ == 1; }, 8000));
    EXPECT_FALSE(answer.checked);
    EXPECT_EQ(answer.caption, "ログオン時に壁紙を保つ(&A)");
  }
  EXPECT_TRUE(autostart_);
  {
    MenuAnswer answer(true);
    RightClickTitleStrip();
    ASSERT_TRUE(test::PumpUntil([&] { return answer.Done() && changes_ == 2; }, 8000));
    EXPECT_TRUE(answer.checked);
  }
  EXPECT_FALSE(autostart_);
  EXPECT_EQ(window_->Drag_Flag, 0) << "the right button does not drag";

  // Pressed on the strip and released off it (or the other way round): no menu.
  const std::pair<LPARAM, LPARAM> offStrip[] = {{MAKELPARAM(200, 10), MAKELPARAM(240, 40)},
                                                {MAKELPARAM(240, 40), MAKELPARAM(200, 10)}};
  for (const auto& [down, up] : offStrip) {
    MenuAnswer answer(false, 500);
    SendMessageW(window_->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, down);
    SendMessageW(window_->hwnd(), WM_RBUTTONUP, 0, up);
    while (!answer.Done()) Sleep(20);
    EXPECT_FALSE(answer.found);
  }
  EXPECT_EQ(changes_, 2);
}

TEST_F(TitleMenu, ShiftF10AndTheMenuKeyOpenItAndEscapeChangesNothing) {
  {
    MenuAnswer answer(true);
    test::PressKey(VK_F10, true);
    ASSERT_TRUE(test::PumpUntil([&] { return answer.Done() && changes_ == 1; }, 8000));
  }
  EXPECT_TRUE(autostart_);
  {
    MenuAnswer answer(false);
    test::MakeForeground(window_->hwnd());
    test::PressKey(VK_APPS);
    ASSERT_TRUE(test::PumpUntil([&] { return answer.Done(); }, 8000));
    test::Pump(300);
    EXPECT_TRUE(answer.checked);
  }
  EXPECT_EQ(changes_, 1);
  EXPECT_TRUE(autostart_);
}

}  // namespace
}  // namespace qr
