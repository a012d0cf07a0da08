#pragma once
// Keyboard focus across a form. The tab order holds every usable tab stop - child windows with
// WS_TABSTOP, and windowless controls with TabStop() - in reading order: within each container top to
// bottom, then left to right, a picture box's own stops taking its place in its container. Hidden,
// disabled and zero-sized controls, and everything inside a hidden or disabled picture box, are left
// out. A windowless control holds the focus through its container's window (Container::
// FocusedWindowless).
#include <windows.h>

#include <vector>

namespace qr::forms {

class Windowless;

struct FocusTarget {
  HWND window = nullptr;          // the window with the keyboard focus
  Windowless* control = nullptr;  // set: the windowless control of that window (a container) holding it
  bool operator==(const FocusTarget&) const = default;
  explicit operator bool() const { return window != nullptr; }
};

// The focus as the toolkit sees it.
FocusTarget CurrentFocus();
// The tab stops of the top-level window `root` in tab order. `current` keeps its place even when it is
// no longer a usable stop (a button that disabled itself), so that Tab moves on from where it is.
std::vector<FocusTarget> TabOrder(HWND root, const FocusTarget& current = {});
// The stop after (or before) the focus, round the window; the first (or last) when the focus is on
// none of them; empty when the window has no stop.
FocusTarget NextTabStop(HWND root, bool forward);
// Moves the keyboard focus as Tab does: the text of a text box is selected.
void MoveFocus(const FocusTarget& target);

}  // namespace qr::forms
