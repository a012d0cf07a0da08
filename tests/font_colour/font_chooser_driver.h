#pragma once
// Drives the font chooser as a user does, with mouse and key messages: entries of its lists, palette
// swatches and its two buttons. Works on the window's handles alone, so it serves a chooser shown
// modally by the editor as well as one a test holds.
#include <windows.h>

#include <functional>
#include <utility>

namespace qr::test {

// Design places inside the chooser's background box `Pic_C` (pixels).
inline constexpr POINT kNameList{8, 20};
inline constexpr POINT kStyleList{168, 20};
inline constexpr POINT kSizeList{252, 20};
inline constexpr POINT kPalette{312, 20};
inline constexpr POINT kOkButton{270 + 46, 260 + 10};
inline constexpr POINT kCancelButton{364 + 46, 260 + 10};

class ChooserHandles {
 public:
  explicit ChooserHandles(HWND chooser) : chooser_(chooser) {}

  HWND Chooser() const { return chooser_; }
  HWND PicC() const { return GetWindow(chooser_, GW_CHILD); }
  // The child window of `Pic_C` whose top-left corner is at `design`.
  HWND At(POINT design) const {
    POINT inside{design.x + 2, design.y + 2};
    return ChildWindowFromPointEx(PicC(), inside, CWP_SKIPINVISIBLE);
  }

  // Scrolls the entry into view, then presses and releases the left button over it.
  void ClickEntry(POINT list, int index) const {
    HWND box = At(list);
    SendMessageW(box, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    RECT item{};
    if (SendMessageW(box, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) ==
        LB_ERR)
      return;
    const LPARAM centre = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    SendMessageW(box, WM_LBUTTONUP, 0, centre);
  }

  // A key as the focused list receives it.
  void Key(POINT list, WPARAM virtualKey) const {
    HWND box = At(list);
    SetFocus(box);
    SendMessageW(box, WM_KEYDOWN, virtualKey, 1);
    SendMessageW(box, WM_KEYUP, virtualKey, 0xC0000001);
  }

  // Presses and releases the left button over palette label `index` (0: the colour bar).
  void PressSwatch(int index) const {
    POINT p{3 + 71, 3 + 8};
    if (index > 0) {
      const int row = (index - 1) / 8;
      p = POINT{3 + 18 * ((index - 1) % 8) + 8, (row < 6 ? 21 + 18 * row : 135 + 18 * (row - 6)) + 8};
    }
    HWND frame = At(kPalette);
    SendMessageW(frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageW(frame, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  }

  void Press(POINT button) const {
    SendMessageW(PicC(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(button.x, button.y));
  }
  void Release(POINT button) const {
    if (IsWindow(chooser_)) SendMessageW(PicC(), WM_LBUTTONUP, 0, MAKELPARAM(button.x, button.y));
  }
  void Click(POINT button) const {
    Press(button);
    Release(button);
  }

 private:
  HWND chooser_;
};

// Runs `step` once on the first visible chooser of this thread from inside whatever message loop is
// running (the editor's modal showing of it); a thread timer, so the test's own thread does the work.
class ChooserWatch {
 public:
  using Step = std::function<void(HWND chooser)>;
  explicit ChooserWatch(Step step) : step_(std::move(step)) {
    instance_ = this;
    timer_ = SetTimer(nullptr, 0, 50, &ChooserWatch::Tick);
  }
  ChooserWatch(const ChooserWatch&) = delete;
  ChooserWatch& operator=(const ChooserWatch&) = delete;
  ~ChooserWatch() {
    KillTimer(nullptr, timer_);
    instance_ = nullptr;
  }
  bool Ran() const { return ran_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!instance_ || instance_->ran_) return;
    HWND chooser = FindWindowW(L"Quelm_Rask_F", nullptr);
    if (!chooser || !IsWindowVisible(chooser)) return;
    instance_->ran_ = true;
    instance_->step_(chooser);
  }

  static inline ChooserWatch* instance_ = nullptr;
  Step step_;
  UINT_PTR timer_ = 0;
  bool ran_ = false;
};

}  // namespace qr::test
