// Forms: top-level windows with design, loading, modal showing and scaling.
#include "forms/form.h"

#include <imm.h>

#include <cmath>
#include <utility>

#include "forms/child_controls.h"
#include "forms/focus.h"
#include "forms/picture_box.h"
#include "win32/app_icon.h"
#include "win32/display.h"
#include "win32/text.h"

namespace qr::forms {

namespace {

constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, from systems newer than the headers may assume

int ToPixels(double twips, double perPixel) { return static_cast<int>(std::lround(twips / perPixel)); }

// While an input method composes, Enter, Tab and the arrows belong to the composition.
bool ImeComposing(HWND wnd) {
  HIMC context = ImmGetContext(wnd);
  if (!context) return false;
  const LONG bytes = ImmGetCompositionStringW(context, GCS_COMPSTR, nullptr, 0);
  ImmReleaseContext(wnd, context);
  return bytes > 0;
}

int ShiftState() {
  int shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftKey;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kCtrlKey;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltKey;
  return shift;
}

LRESULT DialogCode(HWND wnd, const MSG& msg) {
  return SendMessageW(wnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
}

// The focused control handles this key itself (a multi-line text box its Enter, say).
bool ControlWantsKey(const MSG& msg) {
  const LRESULT code = DialogCode(msg.hwnd, msg);
  if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return true;
  return msg.wParam == VK_TAB && (code & DLGC_WANTTAB);
}

bool IsPushButton(HWND wnd, const MSG& msg) {
  return (DialogCode(wnd, msg) & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

}  // namespace

Form::Form(FormSpec design) : spec_(std::move(design)) { backColor_ = spec_.backColor; }

Form::~Form() {
  EnableDisabledWindows();
  DestroyWindowInstance();
}

double Form::TwipsPerPixelX() { return win::CurrentDisplay().TwipsPerPixel(); }
double Form::TwipsPerPixelY() { return win::CurrentDisplay().TwipsPerPixel(); }

void Form::Load(HWND owner) {
  if (Loaded()) return;
  const std::wstring className = win::Wide(spec_.className);
  if (!RegisterClassOnce(className, 0)) return;
  DWORD style = WS_CLIPCHILDREN;
  DWORD exStyle = 0;
  if (spec_.border == FormBorder::None) {
    style |= WS_POPUP;
  } else {
    style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    exStyle |= WS_EX_DLGMODALFRAME;
  }
  if (spec_.topmost) exStyle |= WS_EX_TOPMOST;
  if (spec_.showInTaskbar && !owner) exStyle |= WS_EX_APPWINDOW;
  scale_.dpi = spec_.scaled ? win::SystemDpi() : win::kDesignDpi;
  RECT outer{0, 0, scale_.Px(spec_.clientWidth), scale_.Px(spec_.clientHeight)};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  if (!CreateWindowInstance(exStyle, className, win::Wide(spec_.caption), style, CW_USEDEFAULT, CW_USEDEFAULT,
                            outer.right - outer.left, outer.bottom - outer.top, owner)) {
    return;
  }
  win::SetWindowIcons(hwnd(), win::WindowDpi(hwnd()));
  unloading_ = false;
  lastFocus_ = nullptr;
  Design();
  Form_Load();
}

void Form::Show() {
  Load();
  if (!Loaded()) return;
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
}

void Form::ShowModal(HWND owner) {
  Load(owner);
  if (!Loaded()) return;
  if (owner) SetWindowLongPtrW(hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  modalOwner_ = owner;
  // Every other window of this thread waits, as with a modal dialog.
  disabledByModal_.clear();
  ownerFocus_ = GetFocus();
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM self) CALLBACK -> BOOL {
        auto* form = reinterpret_cast<Form*>(self);
        if (wnd != form->hwnd() && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
          form->disabledByModal_.push_back(wnd);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(this));
  if (owner && !IsWindowVisible(owner) && IsWindowEnabled(owner)) disabledByModal_.push_back(owner);
  for (HWND wnd : disabledByModal_) EnableWindow(wnd, FALSE);

  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  UpdateWindow(hwnd());
  MSG msg;
  inModalLoop_ = true;
  while (Loaded()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
      break;
    }
    if (got < 0) break;
    if (TranslateFormKey(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  inModalLoop_ = false;
  EnableDisabledWindows();
}

void Form::EnableDisabledWindows() {
  for (HWND wnd : std::exchange(disabledByModal_, {})) {
    if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
  }
  HWND owner = std::exchange(modalOwner_, nullptr);
  HWND focus = std::exchange(ownerFocus_, nullptr);
  if (!owner || !IsWindow(owner) || !IsWindowVisible(owner)) return;
  SetActiveWindow(owner);
  // The owner's focus was taken when it was disabled: the control that had it gets it back.
  if (focus && IsWindow(focus) && (focus == owner || IsChild(owner, focus)) && IsWindowEnabled(focus)) {
    SetFocus(focus);
  }
}

bool Form::RestoreFocus() {
  HWND focus = lastFocus_;
  if (!focus || !IsWindow(focus) || !(focus == hwnd() || IsChild(hwnd(), focus))) return false;
  if (!(GetWindowLongW(focus, GWL_STYLE) & WS_VISIBLE) || !IsWindowEnabled(focus)) return false;
  SetFocus(focus);
  return true;
}

bool Form::HandleKey(const MSG& msg) {
  if (!IsWindowEnabled(hwnd()) || msg.wParam == VK_PROCESSKEY || ImeComposing(msg.hwnd)) return false;
  const KeyEvent e{static_cast<int>(msg.wParam), ShiftState(), (msg.lParam & (1L << 30)) != 0, msg.hwnd};
  if (Form_KeyPreview(e)) return true;
  return msg.message == WM_KEYDOWN && !ControlWantsKey(msg) && DialogKey(e, msg);
}

bool Form::DialogKey(const KeyEvent& e, const MSG& msg) {
  if (e.shift & (kCtrlKey | kAltKey)) return false;
  if (e.keyCode == VK_TAB) {
    MoveFocus(NextTabStop(hwnd(), (e.shift & kShiftKey) == 0));
    return true;
  }
  if ((e.keyCode != VK_RETURN && e.keyCode != VK_SPACE) || (e.shift & kShiftKey)) return false;
  const FocusTarget focus = CurrentFocus();
  if (focus.control) {
    if (!e.repeat) focus.control->PerformClick();  // a held key runs the command once
    return true;
  }
  if (e.keyCode == VK_RETURN && focus && IsPushButton(focus.window, msg)) {
    if (!e.repeat) SendMessageW(focus.window, BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

bool TranslateFormKey(const MSG& msg) {
  if ((msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) || !msg.hwnd) return false;
  auto* form = dynamic_cast<Form*>(Container::FromWindow(GetAncestor(msg.hwnd, GA_ROOT)));
  if (!form) return false;
  try {
    return form->HandleKey(msg);
  } catch (...) {
    return false;  // a failing handler is skipped; the key goes on as usual
  }
}

void Form::Unload() { UnloadBy(UnloadMode::FormCode); }

void Form::UnloadBy(UnloadMode mode) {
  if (!Loaded() || unloading_) return;
  UnloadOwnedForms(mode);
  unloading_ = true;
  Form_QueryUnload(mode);
  Form_Unload();
  // The owner must be usable again before this window goes, or another application is activated.
  EnableDisabledWindows();
  DestroyWindowInstance();
  // Unloaded from a message sent by another thread or process (the session's end), the modal loop
  // would wait for a posted message before it saw that the form is gone.
  if (inModalLoop_) PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

void Form::UnloadOwnedForms(UnloadMode mode) {
  // Destroying this window would take the windows it owns without their own closing.
  struct Search {
    HWND owner;
    std::vector<HWND> owned;
  } search{hwnd(), {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM found) CALLBACK -> BOOL {
        auto* s = reinterpret_cast<Search*>(found);
        if (GetWindow(wnd, GW_OWNER) == s->owner) s->owned.push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  for (HWND wnd : search.owned) {
    if (auto* form = dynamic_cast<Form*>(FromHandle(wnd)); form && form != this) form->UnloadBy(mode);
  }
}

RECT Form::OuterRect() const {
  RECT r{};
  if (hwnd()) GetWindowRect(hwnd(), &r);
  return r;
}

SIZE Form::FrameExtent() const {
  RECT client{};
  if (hwnd()) GetClientRect(hwnd(), &client);
  const RECT outer = OuterRect();
  return {(outer.right - outer.left) - client.right, (outer.bottom - outer.top) - client.bottom};
}

double Form::Left() const { return OuterRect().left * TwipsPerPixelX(); }
double Form::Top() const { return OuterRect().top * TwipsPerPixelY(); }
double Form::Width() const {
  const RECT r = OuterRect();
  return (r.right - r.left) * TwipsPerPixelX();
}
double Form::Height() const {
  const RECT r = OuterRect();
  return (r.bottom - r.top) * TwipsPerPixelY();
}

void Form::SetLeft(double twips) { Move(twips, Top()); }
void Form::SetTop(double twips) { Move(Left(), twips); }

void Form::Move(double leftTwips, double topTwips) {
  if (!hwnd()) return;
  SetWindowPos(hwnd(), nullptr, ToPixels(leftTwips, TwipsPerPixelX()), ToPixels(topTwips, TwipsPerPixelY()),
               0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetWidth(double twips) {
  if (!hwnd()) return;
  const RECT r = OuterRect();
  SetWindowPos(hwnd(), nullptr, 0, 0, ToPixels(twips, TwipsPerPixelX()), r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetHeight(double twips) {
  if (!hwnd()) return;
  const RECT r = OuterRect();
  SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, ToPixels(twips, TwipsPerPixelY()),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string Form::Caption() const { return spec_.caption; }

void Form::SetCaption(const std::string& caption) {
  spec_.caption = caption;
  if (hwnd()) SetWindowTextW(hwnd(), win::Wide(caption).c_str());
}

void Form::SetBackColor(COLORREF colour) {
  backColor_ = colour;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void Form::Refresh() {
  if (!hwnd()) return;
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void Form::PaintBackground(HDC dc, const RECT& area) {
  win::Brush brush(CreateSolidBrush(ResolveColour(backColor_)));
  FillRect(dc, &area, brush.get());
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  // A high-contrast theme turned on or off, or a new colour scheme: everything is drawn again in it.
  if (msg == WM_SYSCOLORCHANGE || (msg == WM_SETTINGCHANGE && wp == SPI_SETHIGHCONTRAST))
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  // WM_CANCELMODE comes when the form is about to be disabled under a modal window, which may take
  // the focus away before the deactivation.
  if (msg == WM_CANCELMODE || (msg == WM_ACTIVATE && LOWORD(wp) == WA_INACTIVE)) {
    HWND focus = GetFocus();
    if (focus && (focus == hwnd() || IsChild(hwnd(), focus))) lastFocus_ = focus;
  } else if (msg == WM_ACTIVATE && !HIWORD(wp) && RestoreFocus()) {
    return 0;
  }
  if (msg == WM_CLOSE) {
    UnloadBy(UnloadMode::FormControlMenu);
    return 0;
  }
  if (msg == WM_DISPLAYCHANGE || msg == kDpiChanged) win::InvalidateDisplay();
  if (msg == kDpiChanged && spec_.scaled) {
    ApplyDpi(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
    return 0;
  }
  return Container::HandleMessage(msg, wp, lp);
}

void Form::ApplyDpi(int dpi, const RECT& suggested) {
  if (dpi <= 0) return;
  SetDpi(dpi);
  win::SetWindowIcons(hwnd(), dpi);
  std::vector<HWND> descendants;
  EnumChildWindows(
      hwnd(),
      [](HWND wnd, LPARAM list) CALLBACK -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&descendants));
  // Containers first: a control is placed at its container's scale.
  for (HWND wnd : descendants) {
    if (auto* box = dynamic_cast<PictureBox*>(Container::FromWindow(wnd))) box->ApplyDpi(dpi);
  }
  for (HWND wnd : descendants) {
    if (Container::FromWindow(wnd)) continue;  // a container's window data is not a control's
    if (ChildControl* control = ChildControl::FromWindow(wnd)) control->ApplyDpi();
  }
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  Form_DpiChanged();
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
}

void DoEvents() {
  MSG msg;
  // Bounded, so that a handler that keeps posting cannot hold the caller for ever.
  for (int i = 0; i < 10000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (TranslateFormKey(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace qr::forms
