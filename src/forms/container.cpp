// Containers of windowless controls: painting, hit testing and mouse routing.
#include "forms/container.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "forms/accessible.h"
#include "forms/child_controls.h"
#include "forms/contrast.h"
#include "win32/lazy_libraries.h"
#include "win32/text.h"

namespace qr::forms {

int ShiftFromKeys(WPARAM keys) {
  int shift = 0;
  if (keys & MK_SHIFT) shift |= kShiftKey;
  if (keys & MK_CONTROL) shift |= kCtrlKey;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltKey;
  return shift;
}

int ButtonsFromKeys(WPARAM keys) {
  int buttons = 0;
  if (keys & MK_LBUTTON) buttons |= kLeftButton;
  if (keys & MK_RBUTTON) buttons |= kRightButton;
  if (keys & MK_MBUTTON) buttons |= kMiddleButton;
  return buttons;
}

namespace {

void Fire(const MouseHandler& handler, const MouseEvent& e) {
  if (!handler) return;
  MouseHandler copy = handler;  // the handler may replace itself
  copy(e);
}

void Fire(const EventHandler& handler) {
  if (!handler) return;
  EventHandler copy = handler;
  copy();
}

// Design pixels, relative to the control (or the container).
MouseEvent RelativeTo(const Scale& scale, const Windowless* control, int button, int shift, POINT p) {
  const POINT design = scale.Design(p);
  MouseEvent e{button, shift, design.x, design.y, p.x, p.y};
  if (control) {
    e.x -= control->Left();
    e.y -= control->Top();
    const RECT device = control->Bounds();
    e.deviceX -= device.left;
    e.deviceY -= device.top;
  }
  return e;
}

// Posted to a container that has just taken the focus: the focus event of its focused control follows
// the system's event for the window itself, so that a screen reader speaks the control last.
UINT AnnounceFocusMessage() {
  static const UINT message = RegisterWindowMessageW(L"QrFormsAnnounceFocus");
  return message;
}

// Posted by a screen reader's default action: wParam is the control's child id.
UINT PostedClickMessage() {
  static const UINT message = RegisterWindowMessageW(L"QrFormsPostedClick");
  return message;
}

}  // namespace

Container* Container::FromWindow(HWND wnd) {
  // By the toolkit's own window data, not a window property: the message loop asks for every message,
  // and under Wine each property lookup is a round trip to its server.
  return dynamic_cast<Container*>(WindowBase::FromHandle(wnd));
}

Container::~Container() {
  for (Windowless* w : windowless_) w->container_ = nullptr;
}

int Container::ScaleWidth() const {
  RECT r{};
  if (hwnd()) GetClientRect(hwnd(), &r);
  return r.right;
}

int Container::ScaleHeight() const {
  RECT r{};
  if (hwnd()) GetClientRect(hwnd(), &r);
  return r.bottom;
}

void Container::SetDpi(int dpi) {
  scale_.dpi = dpi;
  for (Windowless* w : windowless_) w->UpdateToolTip();
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void Container::AddWindowless(Windowless* control) { windowless_.push_back(control); }

void Container::RemoveWindowless(Windowless* control) {
  control->Invalidate();
  SetToolTipFor(control, std::string(), RECT{});
  windowless_.erase(std::remove(windowless_.begin(), windowless_.end(), control), windowless_.end());
  control->container_ = nullptr;
  if (pressed_ == control) pressed_ = nullptr;
  if (focused_ == control) focused_ = nullptr;
}

void Container::SetFocusedWindowless(Windowless* control) {
  if (control == focused_) return;
  InvalidateFocusFrame();
  focused_ = control;
  InvalidateFocusFrame();
  if (hwnd() && GetFocus() == hwnd()) AnnounceFocus();
}

long Container::AccessibleId(const Windowless* control) const {
  const auto at = std::find(windowless_.begin(), windowless_.end(), control);
  return at == windowless_.end() ? CHILDID_SELF : static_cast<long>(at - windowless_.begin()) + 1;
}

Windowless* Container::WindowlessById(long id) const {
  if (id < 1 || static_cast<size_t>(id) > windowless_.size()) return nullptr;
  return windowless_[static_cast<size_t>(id - 1)];
}

void Container::AnnounceWindowless(DWORD event, const Windowless* control) const {
  const long id = AccessibleId(control);
  if (hwnd() && id != CHILDID_SELF) NotifyWinEvent(event, hwnd(), OBJID_CLIENT, id);
}

void Container::PostClick(const Windowless* control) const {
  const long id = AccessibleId(control);
  if (hwnd() && id != CHILDID_SELF) PostMessageW(hwnd(), PostedClickMessage(), static_cast<WPARAM>(id), 0);
}

void Container::AnnounceFocus() const {
  if (focused_ && focused_->Visible()) AnnounceWindowless(EVENT_OBJECT_FOCUS, focused_);
}

void Container::InvalidateFocusFrame() const {
  if (!focused_) return;
  RECT area = focused_->Bounds();
  InflateRect(&area, kFocusFrameMargin, kFocusFrameMargin);
  InvalidateArea(area);
}

void Container::PaintFocusFrame(HDC dc) const {
  if (!focused_ || !focused_->Visible() || GetFocus() != hwnd()) return;
  RECT frame = focused_->Bounds();
  InflateRect(&frame, kFocusFrameMargin, kFocusFrameMargin);
  if (HighContrast()) {  // the scheme's highlight, solid and two pixels wide, seen on any scheme
    win::Brush highlight(CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT)));
    FrameRect(dc, &frame, highlight.get());
    InflateRect(&frame, -1, -1);
    FrameRect(dc, &frame, highlight.get());
    return;
  }
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  DrawFocusRect(dc, &frame);
}

void Container::InvalidateArea(const RECT& area) const {
  if (hwnd() && !IsRectEmpty(&area)) InvalidateRect(hwnd(), &area, FALSE);
}

Windowless* Container::WindowlessAt(POINT p) const {
  for (auto it = windowless_.rbegin(); it != windowless_.rend(); ++it) {
    if ((*it)->HitTest(p)) return *it;
  }
  return nullptr;
}

HWND Container::ToolTipWindow() {
  if (toolTip_ || !hwnd()) return toolTip_;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
  win::lazy::InitCommonControlsEx(&icc);
  toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (toolTip_) SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, 400);
  return toolTip_;
}

void Container::SetToolTipFor(const Windowless* control, const std::string& text, const RECT& area) {
  if (!hwnd() || (!toolTip_ && text.empty())) return;
  HWND tip = ToolTipWindow();
  if (!tip) return;
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_SUBCLASS;
  info.hwnd = hwnd();
  info.uId = reinterpret_cast<UINT_PTR>(control);
  SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  if (text.empty() || IsRectEmpty(&area)) return;
  std::wstring wide = win::Wide(text);
  info.rect = area;
  info.lpszText = wide.data();
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void Container::SetToolTipForWindow(HWND window, const std::string& text) {
  if (!hwnd() || !window) return;
  HWND tip = ToolTipWindow();
  if (!tip) return;
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = hwnd();
  info.uId = reinterpret_cast<UINT_PTR>(window);
  SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  if (text.empty()) return;
  std::wstring wide = win::Wide(text);
  info.lpszText = wide.data();
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void Container::PaintWindowless(HDC dc, const RECT& area) const {
  for (const Windowless* control : windowless_) {
    RECT bounds = control->Bounds();
    RECT overlap;
    if (!control->Visible() || !IntersectRect(&overlap, &bounds, &area)) continue;
    win::SavedDcState saved(dc);
    IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    control->Paint(dc);
  }
}

void Container::PaintAll(HDC target, const RECT& area) {
  const int w = area.right - area.left;
  const int h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return;
  // Painted off-screen first, so that a control never flickers over its background.
  win::MemoryDc buffer(CreateCompatibleDC(target));
  win::Bitmap bitmap(CreateCompatibleBitmap(target, w, h));
  if (!buffer || !bitmap) {
    PaintBackground(target, area);
    PaintWindowless(target, area);
    PaintFocusFrame(target);
    return;
  }
  win::Selection select(buffer.get(), bitmap.get());
  SetViewportOrgEx(buffer.get(), -area.left, -area.top, nullptr);
  PaintBackground(buffer.get(), area);
  PaintWindowless(buffer.get(), area);
  PaintFocusFrame(buffer.get());
  BitBlt(target, area.left, area.top, w, h, buffer.get(), area.left, area.top, SRCCOPY);
}

void Container::MouseButton(UINT msg, WPARAM wp, LPARAM lp) {
  const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  const int shift = ShiftFromKeys(wp);
  int button = kLeftButton;
  if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP) button = kRightButton;
  if (msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP) button = kMiddleButton;
  const bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;

  if (down) {
    if (heldButtons_ == 0) {
      Windowless* hit = WindowlessAt(p);
      pressed_ = hit && hit->Enabled() ? hit : nullptr;
      pressedOnBackground_ = pressed_ == nullptr;
      SetCapture(hwnd());
    }
    heldButtons_ |= button;
    const MouseEvent e = RelativeTo(scale_, pressed_, button, shift, p);
    if (pressed_) {
      Fire(pressed_->OnMouseDown, e);
    } else if (pressedOnBackground_) {
      Fire(OnMouseDown, e);
    }
    return;
  }

  Windowless* target = pressed_;
  bool background = pressedOnBackground_;
  if (heldButtons_ == 0) {
    // A release without a press of ours (the second click of a double-click that closed a dialog over
    // this window, or a press whose capture was taken away): no control's command may run from it, so
    // only the background hears it, which ends a drag.
    target = nullptr;
    background = true;
  }
  heldButtons_ &= ~button;
  if (heldButtons_ == 0) {
    pressed_ = nullptr;
    pressedOnBackground_ = false;
    ReleaseCapture();
  }
  const MouseEvent e = RelativeTo(scale_, target, button, shift, p);
  if (target) {
    Fire(target->OnMouseUp, e);
    const bool stillHere = std::find(windowless_.begin(), windowless_.end(), target) != windowless_.end();
    if (button == kLeftButton && stillHere && target->HitTest(p)) Fire(target->OnClick);
  } else if (background) {
    Fire(OnMouseUp, e);
    RECT client{};
    if (hwnd()) GetClientRect(hwnd(), &client);
    if (button == kLeftButton && PtInRect(&client, p)) Fire(OnClick);
  }
}

void Container::MouseMoved(WPARAM wp, LPARAM lp) {
  const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  Windowless* target = pressed_;
  bool background = pressedOnBackground_;
  if (heldButtons_ == 0) {
    Windowless* hit = WindowlessAt(p);
    target = hit && hit->Enabled() ? hit : nullptr;
    background = target == nullptr;
  }
  const MouseEvent e = RelativeTo(scale_, target, ButtonsFromKeys(wp), ShiftFromKeys(wp), p);
  if (target) {
    Fire(target->OnMouseMove, e);
  } else if (background) {
    Fire(OnMouseMove, e);
  }
}

bool Container::SetCursorFor(HWND over) {
  HCURSOR cursor = nullptr;
  if (over == hwnd()) {
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(hwnd(), &p);
    Windowless* hit = WindowlessAt(p);
    cursor = hit && hit->Enabled() && hit->Cursor() ? hit->Cursor() : cursor_;
    ::SetCursor(cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW));
    return true;
  }
  ChildControl* child = ChildControl::FromWindow(over);
  if (!child || child->Parent() != this || !child->Cursor()) return false;
  ::SetCursor(child->Cursor());
  return true;
}

void Container::WindowDestroyed() {
  toolTip_ = nullptr;  // owned by the window, destroyed with it
  focused_ = nullptr;
  pressed_ = nullptr;
  pressedOnBackground_ = false;
  heldButtons_ = 0;
}

LRESULT Container::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETFOCUS:
      InvalidateFocusFrame();
      if (focused_) PostMessageW(hwnd(), AnnounceFocusMessage(), 0, 0);
      break;
    case WM_KILLFOCUS:
      InvalidateFocusFrame();
      break;
    case WM_GETOBJECT:
      if (static_cast<LONG>(lp) == OBJID_CLIENT) {
        if (const LRESULT answer = AnswerContainerObject(hwnd(), wp)) return answer;
      }
      break;
    case WM_PAINT: {
      win::PaintDc paint(hwnd());
      PaintAll(paint.get(), paint.area());
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(hwnd(), &client);
      PaintBackground(reinterpret_cast<HDC>(wp), client);
      PaintWindowless(reinterpret_cast<HDC>(wp), client);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      MouseButton(msg, wp, lp);
      return 0;
    case WM_MOUSEMOVE:
      MouseMoved(wp, lp);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd()) {
        pressed_ = nullptr;
        pressedOnBackground_ = false;
        heldButtons_ = 0;
      }
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT && SetCursorFor(reinterpret_cast<HWND>(wp))) return TRUE;
      break;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM: {
      HWND from =
          msg == WM_DRAWITEM ? reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem : reinterpret_cast<HWND>(lp);
      LRESULT result = 0;
      ChildControl* child = from ? ChildControl::FromWindow(from) : nullptr;
      if (child && child->ParentNotify(msg, wp, lp, result)) return result;
      break;
    }
    default:
      if (msg == AnnounceFocusMessage()) {
        if (GetFocus() == hwnd()) AnnounceFocus();
        return 0;
      }
      if (msg == PostedClickMessage()) {
        if (Windowless* control = WindowlessById(static_cast<long>(wp))) control->PerformClick();
        return 0;
      }
      break;
  }
  return DefWindowProcW(hwnd(), msg, wp, lp);
}

}  // namespace qr::forms
