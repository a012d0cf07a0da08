#pragma once
// Move-only owners for kernel, GDI and USER handles, and scoped selection of a GDI object into a DC.
#include <windows.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace qr::win {

namespace detail {
struct GdiDeleter {
  void operator()(void* h) const noexcept { DeleteObject(static_cast<HGDIOBJ>(h)); }
};
struct DcDeleter {
  void operator()(HDC h) const noexcept { DeleteDC(h); }
};
struct IconDeleter {
  void operator()(HICON h) const noexcept { DestroyIcon(h); }
};
struct CursorDeleter {
  void operator()(HCURSOR h) const noexcept { DestroyCursor(h); }
};
struct WindowDeleter {
  void operator()(HWND h) const noexcept { DestroyWindow(h); }
};
struct HookDeleter {
  void operator()(HHOOK h) const noexcept { UnhookWindowsHookEx(h); }
};
struct MenuDeleter {
  void operator()(HMENU h) const noexcept { DestroyMenu(h); }
};
struct KernelDeleter {
  void operator()(HANDLE h) const noexcept { CloseHandle(h); }
};
struct FileDeleter {
  void operator()(HANDLE h) const noexcept {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};
}  // namespace detail

// A GDI object (bitmap, font, brush, pen, region) deleted with DeleteObject.
template <typename T>
using GdiObject = std::unique_ptr<std::remove_pointer_t<T>, detail::GdiDeleter>;
using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Region = GdiObject<HRGN>;

using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, detail::DcDeleter>;
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, detail::IconDeleter>;
using Cursor = std::unique_ptr<std::remove_pointer_t<HCURSOR>, detail::CursorDeleter>;
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, detail::WindowDeleter>;
// A hook from SetWindowsHookEx, removed with UnhookWindowsHookEx.
using WindowsHook = std::unique_ptr<std::remove_pointer_t<HHOOK>, detail::HookDeleter>;
// A menu from CreatePopupMenu, destroyed with DestroyMenu (with its submenus).
using Menu = std::unique_ptr<std::remove_pointer_t<HMENU>, detail::MenuDeleter>;

// A kernel object whose handle is null when there is none (a mutex, an event, a process), closed with
// CloseHandle.
using KernelObject = std::unique_ptr<void, detail::KernelDeleter>;

// A kernel handle from CreateFile (INVALID_HANDLE_VALUE means none).
class File {
 public:
  File() = default;
  explicit File(HANDLE h) : h_(h) {}
  File(File&& o) noexcept : h_(std::exchange(o.h_, INVALID_HANDLE_VALUE)) {}
  File& operator=(File&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = std::exchange(o.h_, INVALID_HANDLE_VALUE);
    }
    return *this;
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File() { Reset(); }
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  void Reset() {
    if (*this) CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_ = INVALID_HANDLE_VALUE;
};

// A DC obtained with GetDC, released with ReleaseDC on the same window.
class WindowDc {
 public:
  explicit WindowDc(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {}
  WindowDc(WindowDc&& o) noexcept : wnd_(o.wnd_), dc_(std::exchange(o.dc_, nullptr)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  WindowDc& operator=(WindowDc&&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(wnd_, dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND wnd_;
  HDC dc_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND wnd) : wnd_(wnd) { dc_ = BeginPaint(wnd, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { EndPaint(wnd_, &ps_); }
  HDC get() const { return dc_; }
  const RECT& area() const { return ps_.rcPaint; }

 private:
  HWND wnd_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// Selects a GDI object into a DC for the lifetime of the guard and restores the previous one.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Saves and restores a DC's whole state (clip region, modes, colours) around a drawing step.
class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;
  ~SavedDcState() {
    if (id_) RestoreDC(dc_, id_);
  }

 private:
  HDC dc_;
  int id_;
};

}  // namespace qr::win
