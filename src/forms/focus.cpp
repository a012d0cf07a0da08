// Keyboard focus among a form's controls.
#include "forms/focus.h"

#include <algorithm>
#include <tuple>

#include "forms/container.h"
#include "forms/windowless.h"

namespace qr::forms {

namespace {

struct Candidate {
  POINT at;  // top-left in the container's client area
  FocusTarget target;
};

bool HasArea(const RECT& r) { return r.right > r.left && r.bottom > r.top; }

RECT RectInParent(HWND child, HWND parent) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool IsUsableWindowless(const Windowless& control) {
  return control.TabStop() && control.Visible() && control.Enabled() && HasArea(control.Bounds());
}

bool IsUsableWindow(HWND wnd, HWND parent) {
  const LONG style = GetWindowLongW(wnd, GWL_STYLE);
  return (style & WS_TABSTOP) && (style & WS_VISIBLE) && IsWindowEnabled(wnd) &&
         HasArea(RectInParent(wnd, parent));
}

// The container's own stops and its child windows, in reading order.
std::vector<Candidate> Candidates(HWND container) {
  std::vector<Candidate> found;
  if (const Container* c = Container::FromWindow(container)) {
    for (Windowless* control : c->WindowlessControls()) {
      if (control->TabStop()) found.push_back({{control->Left(), control->Top()}, {container, control}});
    }
  }
  for (HWND child = GetWindow(container, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const RECT r = RectInParent(child, container);
    found.push_back({{r.left, r.top}, {child, nullptr}});
  }
  std::stable_sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
    return std::tie(a.at.y, a.at.x) < std::tie(b.at.y, b.at.x);
  });
  return found;
}

void Collect(HWND container, const FocusTarget& current, std::vector<FocusTarget>& order) {
  for (const Candidate& candidate : Candidates(container)) {
    const FocusTarget& t = candidate.target;
    if (t.control) {
      if (t == current || IsUsableWindowless(*t.control)) order.push_back(t);
    } else if (Container::FromWindow(t.window)) {
      const LONG style = GetWindowLongW(t.window, GWL_STYLE);
      if ((style & WS_VISIBLE) && IsWindowEnabled(t.window)) Collect(t.window, current, order);
    } else if (t == current || IsUsableWindow(t.window, container)) {
      order.push_back(t);
    }
  }
}

}  // namespace

FocusTarget CurrentFocus() {
  HWND focus = GetFocus();
  if (!focus) return {};
  const Container* container = Container::FromWindow(focus);
  return {focus, container ? container->FocusedWindowless() : nullptr};
}

std::vector<FocusTarget> TabOrder(HWND root, const FocusTarget& current) {
  std::vector<FocusTarget> order;
  if (root) Collect(root, current, order);
  return order;
}

FocusTarget NextTabStop(HWND root, bool forward) {
  const FocusTarget current = CurrentFocus();
  const std::vector<FocusTarget> order = TabOrder(root, current);
  if (order.empty()) return {};
  const auto at = std::find(order.begin(), order.end(), current);
  if (at == order.end()) return forward ? order.front() : order.back();
  const auto n = static_cast<std::ptrdiff_t>(order.size());
  const std::ptrdiff_t index = at - order.begin();
  return order[static_cast<size_t>((index + (forward ? 1 : n - 1)) % n)];
}

void MoveFocus(const FocusTarget& target) {
  if (!target) return;
  const FocusTarget before = CurrentFocus();
  if (before.control && before.window != target.window) {
    Container::FromWindow(before.window)->SetFocusedWindowless(nullptr);  // no frame left behind
  }
  if (Container* container = Container::FromWindow(target.window))
    container->SetFocusedWindowless(target.control);
  SetFocus(target.window);
  // As in a dialog: a text box reached by the keyboard has its text selected, ready to be overtyped.
  if (!target.control && (SendMessageW(target.window, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)) {
    SendMessageW(target.window, EM_SETSEL, 0, -1);
  }
}

}  // namespace qr::forms
