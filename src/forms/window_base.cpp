// The toolkit's one window procedure, which no exception leaves.
#include "forms/window_base.h"

#include <set>
#include <utility>

#include "win32/app_icon.h"
#include "win32/screen.h"

namespace qr::forms {

WindowBase::~WindowBase() {
  if (!hwnd_) return;
  // The derived parts are gone: the window dies with the default procedure only.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(std::exchange(hwnd_, nullptr));
}

WindowBase* WindowBase::FromHandle(HWND wnd) {
  if (!wnd || static_cast<ULONG_PTR>(GetClassLongPtrW(wnd, GCLP_WNDPROC)) !=
                  reinterpret_cast<ULONG_PTR>(&WindowBase::Procedure))
    return nullptr;
  return reinterpret_cast<WindowBase*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
}

bool WindowBase::RegisterClassOnce(const std::wstring& className, UINT classStyle) {
  static std::set<std::wstring> registered;
  if (registered.count(className)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = classStyle;
  wc.lpfnWndProc = &WindowBase::Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className.c_str();
  wc.hIcon = win::AppIcon(true, win::SystemDpi());
  wc.hIconSm = win::AppIcon(false, win::SystemDpi());
  // No class cursor: every window sets its cursor in WM_SETCURSOR.
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  registered.insert(className);
  return true;
}

bool WindowBase::CreateWindowInstance(DWORD exStyle, const std::wstring& className, const std::wstring& title,
                                      DWORD style, int x, int y, int width, int height, HWND parent) {
  if (hwnd_) return true;
  CreateWindowExW(exStyle, className.c_str(), title.c_str(), style, x, y, width, height, parent, nullptr,
                  GetModuleHandleW(nullptr), this);
  return hwnd_ != nullptr;
}

void WindowBase::DestroyWindowInstance() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT WindowBase::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK WindowBase::Procedure(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->hwnd_ = wnd;
  }
  if (!self) return DefWindowProcW(wnd, msg, wp, lp);
  LRESULT result = 0;
  try {
    result = self->HandleMessage(msg, wp, lp);
  } catch (...) {
    // A failing handler is skipped, like every other failing statement of the program.
    result = DefWindowProcW(wnd, msg, wp, lp);
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    try {
      self->WindowDestroyed();
    } catch (...) {
    }
  }
  return result;
}

}  // namespace qr::forms
