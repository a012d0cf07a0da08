#pragma once
// The one window procedure of the toolkit: it stores the C++ object at WM_NCCREATE and forwards every
// message to a virtual handler. No exception leaves the procedure.
#include <windows.h>

#include <string>

namespace qr::forms {

class WindowBase {
 public:
  WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  virtual ~WindowBase();

  HWND hwnd() const { return hwnd_; }
  // The object behind a window of this toolkit; nullptr for any other window.
  static WindowBase* FromHandle(HWND wnd);
  bool HasWindow() const { return hwnd_ != nullptr; }

 protected:
  // Registers a class whose procedure is ours (once per name); false when registration fails.
  static bool RegisterClassOnce(const std::wstring& className, UINT classStyle);
  bool CreateWindowInstance(DWORD exStyle, const std::wstring& className, const std::wstring& title,
                            DWORD style, int x, int y, int width, int height, HWND parent);
  void DestroyWindowInstance();

  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Called after the window is gone (WM_NCDESTROY), whoever destroyed it.
  virtual void WindowDestroyed() {}

 private:
  static LRESULT CALLBACK Procedure(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
};

}  // namespace qr::forms
