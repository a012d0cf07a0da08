// A high-contrast scheme for tests, and what windows draw.
#include "support/contrast_scheme.h"

#include <algorithm>
#include <cstdlib>

#include "forms/container.h"
#include "forms/contrast.h"
#include "win32/bitmap_file.h"
#include "win32/surface.h"

namespace qr::test {

ContrastScheme::ContrastScheme() {
  static constexpr std::array<COLORREF, 6> kScheme = {kFace,      kText, kFace, RGB(255, 255, 255),
                                                      kHighlight, kGrey};
  for (size_t i = 0; i < kElements.size(); ++i) saved_[i] = GetSysColor(kElements[i]);
  SetSysColors(static_cast<int>(kElements.size()), kElements.data(), kScheme.data());
  forms::SetHighContrastOverride(true);
}

ContrastScheme::~ContrastScheme() {
  forms::SetHighContrastOverride(std::nullopt);
  SetSysColors(static_cast<int>(kElements.size()), kElements.data(), saved_.data());
}

std::vector<COLORREF> DrawnColours(const forms::Windowless& control) {
  HWND wnd = control.Parent()->hwnd();
  RECT client{};
  GetClientRect(wnd, &client);
  win::Surface surface(client.right, client.bottom);
  SendMessageW(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()), PRF_CLIENT);
  std::vector<COLORREF> colours;
  const RECT r = control.Bounds();
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) colours.push_back(GetPixel(surface.dc(), x, y));
  return colours;
}

size_t CountOf(const std::vector<COLORREF>& colours, COLORREF colour) {
  return static_cast<size_t>(std::count(colours.begin(), colours.end(), colour));
}

void KeepScreenshot(HWND window, const std::string& name) {
  const char* folder = std::getenv("QR_CONTRAST_SHOTS");
  if (!folder || !*folder) return;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  RECT r{};
  GetWindowRect(window, &r);
  win::Surface shot(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.dc(), 0, 0, shot.width(), shot.height(), screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  win::WriteBitmapFile(shot, std::string(folder) + "\\" + name + ".bmp");
}

}  // namespace qr::test
