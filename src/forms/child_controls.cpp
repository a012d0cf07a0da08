// The toolkit's child controls: list and text boxes, scroll bars.
#include "forms/child_controls.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "forms/accessible.h"
#include "forms/container.h"
#include "win32/lazy_libraries.h"
#include "win32/text.h"

namespace qr::forms {

namespace {

void Fire(const EventHandler& handler) {
  if (!handler) return;
  EventHandler copy = handler;
  copy();
}

// The windows of the controls alive now. Any window may keep anything in its user data, and a procedure
// put over a control's (a tooltip's subclass) hides whose window it is: only a window listed here is one.
class LiveControls {
 public:
  static void Add(HWND wnd, ChildControl* control) {
    const std::lock_guard hold(lock_);
    controls_[wnd] = control;
  }
  static void Remove(HWND wnd) {
    const std::lock_guard hold(lock_);
    controls_.erase(wnd);
  }
  static ChildControl* Find(HWND wnd) {
    const std::lock_guard hold(lock_);
    const auto found = controls_.find(wnd);
    return found == controls_.end() ? nullptr : found->second;
  }

 private:
  static inline std::mutex lock_;
  static inline std::unordered_map<HWND, ChildControl*> controls_;
};

}  // namespace

// ---- ChildControl

ChildControl::~ChildControl() {
  if (!hwnd_) return;
  HWND wnd = std::exchange(hwnd_, nullptr);
  LiveControls::Remove(wnd);
  SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProc_));
  SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
  DestroyWindow(wnd);
}

ChildControl* ChildControl::FromWindow(HWND wnd) { return wnd ? LiveControls::Find(wnd) : nullptr; }

bool ChildControl::CreateChild(Container& parent, const wchar_t* className, DWORD style, DWORD exStyle,
                               int left, int top, int width, int height) {
  if (hwnd_ || !parent.hwnd()) return hwnd_ != nullptr;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  win::lazy::InitCommonControlsEx(&icc);
  design_ = {left, top, left + std::max(width, 0), top + std::max(height, 0)};
  const RECT device = parent.Scale().Px(design_);
  HWND wnd = CreateWindowExW(exStyle | WS_EX_NOPARENTNOTIFY, className, L"",
                             style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, device.left, device.top,
                             device.right - device.left, device.bottom - device.top, parent.hwnd(), nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (!wnd) return false;
  hwnd_ = wnd;
  container_ = &parent;
  SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  LiveControls::Add(wnd, this);
  // The control's procedure is replaced and called on, rather than chained with SetWindowSubclass: that
  // keeps its data in a window property looked up on every message, and under Wine each lookup is a
  // round trip to its server (60 to 70 us), nearly half the time of a click in the table editor.
  classProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChildControl::WindowProc)));
  SetFont(font_);
  return true;
}

LRESULT CALLBACK ChildControl::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  // Called as the window's procedure, maybe through one put over it later: its data is the control.
  auto* self = reinterpret_cast<ChildControl*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (!self) {  // not reached while the control is ours: its procedure is put back before it is let go
    const auto classProc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(wnd, GCLP_WNDPROC));
    return CallWindowProcW(classProc, wnd, msg, wp, lp);
  }
  const WNDPROC classProc = self->classProc_;
  if (msg == WM_NCDESTROY) {
    LiveControls::Remove(wnd);
    SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProc));
    SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return CallWindowProcW(classProc, wnd, msg, wp, lp);
  }
  try {
    if (msg == WM_GETOBJECT && static_cast<LONG>(lp) == OBJID_CLIENT && !self->accessibleName_.empty()) {
      if (const LRESULT answer = AnswerNamedObject(wnd, self->accessibleName_, wp)) return answer;
    }
    return self->ControlMessage(msg, wp, lp);
  } catch (...) {
    return CallWindowProcW(classProc, wnd, msg, wp, lp);
  }
}

LRESULT ChildControl::ControlMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultMessage(msg, wp, lp); }
LRESULT ChildControl::DefaultMessage(UINT msg, WPARAM wp, LPARAM lp) const {
  return CallWindowProcW(classProc_, hwnd_, msg, wp, lp);
}

bool ChildControl::ParentNotify(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

int ChildControl::Left() const { return design_.left; }
int ChildControl::Top() const { return design_.top; }
int ChildControl::Width() const { return design_.right - design_.left; }
int ChildControl::Height() const { return design_.bottom - design_.top; }

void ChildControl::Move(int left, int top, int width, int height) {
  if (!hwnd_) return;
  design_ = {left, top, left + std::max(width, 0), top + std::max(height, 0)};
  PlaceWindow();
}

void ChildControl::PlaceWindow() {
  const RECT device = container_->Scale().Px(design_);
  MoveWindow(hwnd_, device.left, device.top, device.right - device.left, device.bottom - device.top, TRUE);
}

void ChildControl::ApplyDpi() {
  if (!hwnd_) return;
  PlaceWindow();
  SetFont(font_);
}

bool ChildControl::Visible() const { return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE); }
void ChildControl::SetVisible(bool visible) {
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}
bool ChildControl::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }
void ChildControl::SetEnabled(bool enabled) {
  if (hwnd_) EnableWindow(hwnd_, enabled);
}

void ChildControl::SetToolTip(const std::string& text) {
  if (container_ && hwnd_) container_->SetToolTipForWindow(hwnd_, text);
}

void ChildControl::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}

void ChildControl::SetFont(const FontSpec& font) {
  font_ = font;
  // The control takes the new font before the old one is deleted.
  win::Font next = CreateFontFor(font, container_ ? container_->Scale().dpi : 0);
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(next.get()), TRUE);
  gdiFont_ = std::move(next);
  FontTaken();
}

// ---- ListBox

bool ListBox::Create(Container& parent, int left, int top, int width, int height) {
  return CreateChild(parent, L"LISTBOX",
                     WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                     WS_EX_CLIENTEDGE, left, top, width, height);
}

void ListBox::AddItem(const std::string& text) {
  if (hwnd()) SendMessageW(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::Wide(text).c_str()));
}

void ListBox::AddItems(const std::vector<std::string>& texts) {
  if (!hwnd() || texts.empty()) return;
  std::vector<std::wstring> wide;
  wide.reserve(texts.size());
  size_t characters = 0;
  for (const std::string& text : texts) {
    wide.push_back(win::Wide(text));
    characters += wide.back().size() + 1;
  }
  // Straight to the list box's own procedure: the toolkit's has nothing to add to the list's own
  // messages, and a long list sends thousands.
  DefaultMessage(WM_SETREDRAW, FALSE, 0);
  DefaultMessage(LB_INITSTORAGE, wide.size(), characters * sizeof(wchar_t));
  for (const std::wstring& text : wide)
    DefaultMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  DefaultMessage(WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void ListBox::RemoveItem(int index) {
  if (hwnd()) SendMessageW(hwnd(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void ListBox::Clear() {
  if (hwnd()) SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
}

int ListBox::ListCount() const {
  return hwnd() ? static_cast<int>(SendMessageW(hwnd(), LB_GETCOUNT, 0, 0)) : 0;
}

std::string ListBox::List(int index) const {
  if (!hwnd() || index < 0 || index >= ListCount()) return {};
  const LRESULT length = SendMessageW(hwnd(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got =
      SendMessageW(hwnd(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return win::Utf8(text);
}

std::vector<std::string> ListBox::Items() const {
  std::vector<std::string> items;
  if (!hwnd()) return items;
  const LRESULT count = DefaultMessage(LB_GETCOUNT, 0, 0);
  items.reserve(static_cast<size_t>(std::max<LRESULT>(count, 0)));
  std::wstring text;
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = DefaultMessage(LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    text.assign(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    const LRESULT got =
        length > 0 ? DefaultMessage(LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()))
                   : 0;
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    items.push_back(win::Utf8(text));
  }
  return items;
}

int ListBox::ListIndex() const {
  return hwnd() ? static_cast<int>(SendMessageW(hwnd(), LB_GETCURSEL, 0, 0)) : -1;
}

void ListBox::SetListIndex(int index) {
  if (!hwnd()) return;
  if (index < -1 || index >= ListCount()) return;
  SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  Fire(OnClick);
}

void ListBox::SetHorizontalExtent(int pixels) {
  extent_ = std::max(pixels, 0);
  if (hwnd())
    SendMessageW(hwnd(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(Parent()->Scale().Px(extent_)), 0);
}

int ListBox::HorizontalExtent() const {
  return hwnd()
             ? Parent()->Scale().Design(static_cast<int>(SendMessageW(hwnd(), LB_GETHORIZONTALEXTENT, 0, 0)))
             : 0;
}

void ListBox::ApplyDpi() {
  ChildControl::ApplyDpi();
  SetHorizontalExtent(extent_);
}

void ListBox::SetAcceptFiles(bool accept) {
  if (hwnd()) win::lazy::DragAcceptFiles(hwnd(), accept);
}

bool ListBox::ParentNotify(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg != WM_COMMAND || HIWORD(wp) != LBN_SELCHANGE) return false;
  Fire(OnClick);
  result = 0;
  return true;
}

LRESULT ListBox::ControlMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_DROPFILES) return DefaultMessage(msg, wp, lp);
  auto drop = reinterpret_cast<HDROP>(wp);
  std::vector<std::string> names;
  const UINT count = win::lazy::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = win::lazy::DragQueryFileW(drop, i, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    const UINT got = win::lazy::DragQueryFileW(drop, i, name.data(), length + 1);
    name.resize(got);
    names.push_back(win::Utf8(name));
  }
  win::lazy::DragFinish(drop);
  if (!OnFilesDropped) return 0;
  auto handler = OnFilesDropped;
  handler(names);
  return 0;
}

// ---- TextBox

bool TextBox::Create(Container& parent, int left, int top, int width, int height) {
  return CreateChild(parent, L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, left, top,
                     width, height);
}

std::string TextBox::Text() const {
  if (!hwnd()) return {};
  const int length = GetWindowTextLengthW(hwnd());
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd(), text.data(), length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return win::Utf8(text);
}

void TextBox::SetText(const std::string& text) {
  if (hwnd()) SetWindowTextW(hwnd(), win::Wide(text).c_str());
}

void TextBox::SetForeColor(COLORREF colour) {
  foreColor_ = colour;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void TextBox::SetBackColor(COLORREF colour) {
  backColor_ = colour;
  backBrush_.reset();
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void TextBox::SetMargins(int left, int right) {
  leftMargin_ = left;
  rightMargin_ = right;
  FontTaken();
}

void TextBox::FontTaken() {
  if (!hwnd() || leftMargin_ < 0) return;
  SendMessageW(hwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(leftMargin_, rightMargin_));
  InvalidateRect(hwnd(), nullptr, TRUE);
}

bool TextBox::ParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC) {
    auto dc = reinterpret_cast<HDC>(wp);
    SetTextColor(dc, ResolveColour(foreColor_));
    SetBkColor(dc, ResolveColour(backColor_));
    if (!backBrush_) backBrush_.reset(CreateSolidBrush(ResolveColour(backColor_)));
    result = reinterpret_cast<LRESULT>(backBrush_.get());
    return true;
  }
  (void)lp;
  if (msg != WM_COMMAND) return false;
  switch (HIWORD(wp)) {
    case EN_CHANGE:
      Fire(OnChange);
      break;
    case EN_SETFOCUS:
      Fire(OnGotFocus);
      break;
    case EN_KILLFOCUS:
      Fire(OnLostFocus);
      break;
    default:
      return false;
  }
  result = 0;
  return true;
}

// ---- HScrollBar

bool HScrollBar::Create(Container& parent, int left, int top, int width, int height) {
  if (!CreateChild(parent, L"SCROLLBAR", SBS_HORZ | WS_TABSTOP, 0, left, top, width, height)) return false;
  SetRange(min_, max_);
  return true;
}

void HScrollBar::SetRange(int min, int max) {
  min_ = min;
  max_ = max;
  if (hwnd()) {
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE, std::min(min, max), std::max(min, max), 0, 0, 0};
    SetScrollInfo(hwnd(), SB_CTL, &info, TRUE);
  }
  ApplyValue(value_, true);
}

void HScrollBar::SetValue(int value) { ApplyValue(value, true); }

void HScrollBar::ApplyValue(int value, bool notify) {
  const int next = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
  const bool changed = next != value_;
  value_ = next;
  if (hwnd()) {
    SCROLLINFO info{sizeof(info), SIF_POS, 0, 0, 0, value_, 0};
    SetScrollInfo(hwnd(), SB_CTL, &info, TRUE);
  }
  if (changed && notify) Fire(OnChange);
}

bool HScrollBar::ParentNotify(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg != WM_HSCROLL) return false;
  result = 0;
  const int step = max_ >= min_ ? 1 : -1;  // a reversed range runs the other way
  switch (LOWORD(wp)) {
    case SB_LINELEFT:
      ApplyValue(value_ - step * smallChange_, true);
      break;
    case SB_LINERIGHT:
      ApplyValue(value_ + step * smallChange_, true);
      break;
    case SB_PAGELEFT:
      ApplyValue(value_ - step * largeChange_, true);
      break;
    case SB_PAGERIGHT:
      ApplyValue(value_ + step * largeChange_, true);
      break;
    case SB_LEFT:
      ApplyValue(min_, true);
      break;
    case SB_RIGHT:
      ApplyValue(max_, true);
      break;
    case SB_THUMBTRACK: {  // only the thumb follows the pointer
      SCROLLINFO info{sizeof(info), SIF_POS, 0, 0, 0, static_cast<int>(static_cast<short>(HIWORD(wp))), 0};
      SetScrollInfo(hwnd(), SB_CTL, &info, TRUE);
      break;
    }
    case SB_THUMBPOSITION:
      ApplyValue(static_cast<short>(HIWORD(wp)), true);
      break;
    default:
      break;
  }
  return true;
}

// ---- CommandButton

bool CommandButton::Create(Container& parent, int left, int top, int width, int height) {
  return CreateChild(parent, L"BUTTON", BS_PUSHBUTTON | BS_OWNERDRAW | WS_TABSTOP, 0, left, top, width,
                     height);
}

void CommandButton::SetPicture(const forms::Picture& picture) {
  picture_ = picture;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

bool CommandButton::ParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    Fire(OnClick);
    result = 0;
    return true;
  }
  if (msg != WM_DRAWITEM) return false;
  const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
  RECT r = item.rcItem;
  const bool pushed = item.itemState & ODS_SELECTED;
  DrawFrameControl(item.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  const forms::Picture picture = picture_.ForDpi(Parent() ? Parent()->Scale().dpi : win::kDesignDpi);
  if (picture) {
    const int offset = pushed ? 1 : 0;
    const int x = r.left + (r.right - r.left - picture.Width()) / 2 + offset;
    const int y = r.top + (r.bottom - r.top - picture.Height()) / 2 + offset;
    picture.Draw(item.hDC, x, y);
  }
  if (item.itemState & ODS_FOCUS) {
    InflateRect(&r, -3, -3);
    DrawFocusRect(item.hDC, &r);
  }
  result = TRUE;
  return true;
}

}  // namespace qr::forms
