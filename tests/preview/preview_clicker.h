#pragma once
// Closes a modally shown preview window the way a user does: once it is on the screen, a left click on
// its picture. What the screen showed at a few points just before the click is recorded.
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace qr::test {

class PreviewClicker {
 public:
  // Points whose screen colour is read when the preview is found (before the click); `whileShown` runs
  // then too, with the preview window.
  explicit PreviewClicker(std::vector<POINT> probes = {}, std::function<void(HWND)> whileShown = {})
      : probes_(std::move(probes)), whileShown_(std::move(whileShown)) {
    instance_ = this;
    timer_ = SetTimer(nullptr, 0, 100, &PreviewClicker::Tick);
  }
  PreviewClicker(const PreviewClicker&) = delete;
  PreviewClicker& operator=(const PreviewClicker&) = delete;
  ~PreviewClicker() {
    KillTimer(nullptr, timer_);
    instance_ = nullptr;
  }

  bool Clicked() const { return clicked_; }
  HWND Preview() const { return preview_; }
  LONG_PTR ExStyle() const { return exStyle_; }
  LONG_PTR Style() const { return style_; }
  RECT Rect() const { return rect_; }
  const std::vector<COLORREF>& Seen() const { return seen_; }
  // The pointer the picture asked for when the mouse was over it.
  HCURSOR Cursor() const { return cursor_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (instance_) instance_->Step();
  }

  void Step() {
    ++ticks_;
    HWND preview = FindWindowW(L"Quelm_Rask_V", nullptr);
    if (!preview || !IsWindowVisible(preview)) {
      // Never shown within 10 s: close whatever is there so that the test fails instead of hanging.
      if (ticks_ > 100 && preview) PostMessageW(preview, WM_CLOSE, 0, 0);
      return;
    }
    if (clicked_) return;
    preview_ = preview;
    exStyle_ = GetWindowLongPtrW(preview, GWL_EXSTYLE);
    style_ = GetWindowLongPtrW(preview, GWL_STYLE);
    GetWindowRect(preview, &rect_);
    HDC screen = GetDC(nullptr);
    for (POINT p : probes_) seen_.push_back(GetPixel(screen, p.x, p.y));
    ReleaseDC(nullptr, screen);
    if (whileShown_) whileShown_(preview);
    HWND display = GetWindow(preview, GW_CHILD);
    while (display && GetClassNameW(display, name_, 64) && lstrcmpW(name_, L"QrPictureBox") != 0)
      display = GetWindow(display, GW_HWNDNEXT);
    if (!display) return;
    SendMessageW(display, WM_SETCURSOR, reinterpret_cast<WPARAM>(display),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    cursor_ = GetCursor();
    clicked_ = true;
    PostMessageW(display, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 200));
    PostMessageW(display, WM_LBUTTONUP, 0, MAKELPARAM(300, 200));
  }

  static inline PreviewClicker* instance_ = nullptr;
  std::vector<POINT> probes_;
  std::function<void(HWND)> whileShown_;
  std::vector<COLORREF> seen_;
  UINT_PTR timer_ = 0;
  int ticks_ = 0;
  bool clicked_ = false;
  HWND preview_ = nullptr;
  LONG_PTR exStyle_ = 0, style_ = 0;
  RECT rect_{};
  HCURSOR cursor_ = nullptr;
  wchar_t name_[64] = {};
};

}  // namespace qr::test
