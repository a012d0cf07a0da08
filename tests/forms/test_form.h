#pragma once
// A hidden-until-shown form whose controls each test lays out, and small drawing helpers.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "forms/forms.h"

namespace qr::forms::test {

class LayoutForm : public Form {
 public:
  explicit LayoutForm(std::function<void(LayoutForm&)> design = {}, int w = 300, int h = 200)
      : Form(FormSpec{"QrFormsLayoutTest", "layout test", FormBorder::None, w, h, RGB(255, 255, 255)}),
        design_(std::move(design)) {}
  std::function<void()> onDpiChanged;
  std::function<void(UnloadMode)> onQueryUnload;

  // What a move to a monitor of `dpi` dots per inch sends, with the rectangle the system suggests.
  void SendDpiChange(int dpi, RECT suggested) {
    SendMessageW(hwnd(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
  }

 protected:
  void Design() override {
    if (design_) design_(*this);
  }
  void Form_QueryUnload(UnloadMode mode) override {
    if (onQueryUnload) onQueryUnload(mode);
  }
  void Form_DpiChanged() override {
    if (onDpiChanged) onDpiChanged();
  }

 private:
  std::function<void(LayoutForm&)> design_;
};

// A container's client area as it paints it (WM_PRINTCLIENT into a surface).
inline win::Surface Painted(HWND container) {
  RECT r{};
  GetClientRect(container, &r);
  win::Surface s(r.right, r.bottom, RGB(1, 2, 3));
  SendMessageW(container, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(s.dc()), PRF_CLIENT);
  GdiFlush();
  return s;
}

inline void FillArea(HDC dc, RECT area, COLORREF colour) {
  win::Brush brush(CreateSolidBrush(colour));
  FillRect(dc, &area, brush.get());
}

// A child window's rectangle in its parent's client coordinates.
inline RECT PlacedAt(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// "left,top,right,bottom", for comparisons with readable failures.
inline std::string Edges(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

}  // namespace qr::forms::test
