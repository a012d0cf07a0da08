#pragma once
// Display scaling of the toolkit: every position and size a window gives its controls (and a form its
// client size) is a design value, pixels at 96 dots per inch; the toolkit shows it at the window's
// resolution. This is the one place where design values become device pixels and back.
#include <windows.h>

#include "win32/screen.h"

namespace qr::forms {

struct Scale {
  int dpi = win::kDesignDpi;

  bool Identity() const { return dpi == win::kDesignDpi; }
  // Design -> device pixels.
  int Px(int design) const { return win::ScaleToDpi(design, dpi); }
  // A rectangle by its edges, so that controls that touch at design size touch at every scale.
  RECT Px(const RECT& design) const {
    return {Px(design.left), Px(design.top), Px(design.right), Px(design.bottom)};
  }
  // Device -> design pixels (rounded).
  int Design(int device) const { return Identity() ? device : MulDiv(device, win::kDesignDpi, dpi); }
  POINT Design(POINT device) const { return {Design(device.x), Design(device.y)}; }
};

}  // namespace qr::forms
