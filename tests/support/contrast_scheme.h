#pragma once
// High contrast for tests: a scheme of system colours like Windows' "High Contrast #1" (yellow text on
// black), set for a scope with the toolkit told that high contrast is on (Wine has no high-contrast
// switch of its own), and what a window draws.
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "forms/windowless.h"

namespace qr::test {

class ContrastScheme {
 public:
  ContrastScheme();
  ~ContrastScheme();
  ContrastScheme(const ContrastScheme&) = delete;
  ContrastScheme& operator=(const ContrastScheme&) = delete;

  static constexpr COLORREF kText = RGB(255, 255, 0);       // COLOR_BTNTEXT
  static constexpr COLORREF kFace = RGB(0, 0, 0);           // COLOR_BTNFACE, COLOR_WINDOW
  static constexpr COLORREF kGrey = RGB(0, 255, 0);         // COLOR_GRAYTEXT
  static constexpr COLORREF kHighlight = RGB(0, 255, 255);  // COLOR_HIGHLIGHT

 private:
  static constexpr std::array<int, 6> kElements = {COLOR_BTNFACE,    COLOR_BTNTEXT,   COLOR_WINDOW,
                                                   COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_GRAYTEXT};
  std::array<COLORREF, 6> saved_{};
};

// The colours the container of `control` draws over the control's area (its own paint routine).
std::vector<COLORREF> DrawnColours(const forms::Windowless& control);
size_t CountOf(const std::vector<COLORREF>& colours, COLORREF colour);

// When QR_CONTRAST_SHOTS names a folder, the top-level window as the screen shows it goes there as
// "<name>.bmp" (the pictures of the guide); nothing otherwise.
void KeepScreenshot(HWND window, const std::string& name);

}  // namespace qr::test
