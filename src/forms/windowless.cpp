// Windowless labels and images.
#include "forms/windowless.h"

#include <algorithm>

#include "forms/container.h"
#include "forms/contrast.h"
#include "win32/text.h"

namespace qr::forms {

Windowless::~Windowless() {
  if (container_) container_->RemoveWindowless(this);
}

void Windowless::Create(Container& container, int left, int top, int width, int height) {
  if (container_) return;
  container_ = &container;
  rect_ = {left, top, left + std::max(width, 0), top + std::max(height, 0)};
  container.AddWindowless(this);
  Invalidate();
  UpdateToolTip();  // a tip given before the control was placed
}

RECT Windowless::Bounds() const { return container_ ? container_->Scale().Px(rect_) : rect_; }

bool Windowless::HitTest(POINT p) const {
  const RECT device = Bounds();
  return visible_ && PtInRect(&device, p);
}

void Windowless::Move(int left, int top, int width, int height) {
  const RECT next{left, top, left + std::max(width, 0), top + std::max(height, 0)};
  if (EqualRect(&next, &rect_)) return;
  Invalidate();
  rect_ = next;
  Invalidate();
  UpdateToolTip();
}

void Windowless::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Invalidate();
  UpdateToolTip();
  Announce(visible ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE);
}

void Windowless::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Invalidate();
  Announce(EVENT_OBJECT_STATECHANGE);
}

void Windowless::SetToolTip(const std::string& text) {
  toolTip_ = text;
  UpdateToolTip();
}

void Windowless::UpdateToolTip() const {
  if (!container_) return;
  const RECT none{};
  container_->SetToolTipFor(this, toolTip_, visible_ ? Bounds() : none);
}

void Windowless::Invalidate() const {
  if (!container_) return;
  RECT area = Bounds();
  if (container_->FocusedWindowless() == this) InflateRect(&area, kFocusFrameMargin, kFocusFrameMargin);
  container_->InvalidateArea(area);
}

void Windowless::PerformClick() {
  if (!visible_ || !enabled_ || !container_) return;
  const RECT device = Bounds();
  const MouseEvent e{kLeftButton,
                     0,
                     Width() / 2,
                     Height() / 2,
                     (device.right - device.left) / 2,
                     (device.bottom - device.top) / 2};
  // Copies: a handler may replace itself, and a command may close the window (the control stays).
  if (MouseHandler down = OnMouseDown) down(e);
  if (MouseHandler up = OnMouseUp) up(e);
  if (!container_ || !container_->hwnd()) return;
  if (EventHandler click = OnClick) click();
}

AccessibleRole Windowless::Role() const {
  return role_ == AccessibleRole::Automatic ? AutomaticRole() : role_;
}

void Windowless::SetAccessibleName(const std::string& name) {
  if (name == accessibleName_) return;
  accessibleName_ = name;
  Announce(EVENT_OBJECT_NAMECHANGE);
}

void Windowless::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Invalidate();
  Announce(EVENT_OBJECT_STATECHANGE);
}

void Windowless::Announce(unsigned long event) const {
  if (container_) container_->AnnounceWindowless(static_cast<DWORD>(event), this);
}

void Windowless::Refresh() {
  Invalidate();
  if (container_ && container_->hwnd()) UpdateWindow(container_->hwnd());
}

Label::Label() : font_(CaptionFont()) {}

AccessibleRole Label::AutomaticRole() const {
  return TabStop() ? AccessibleRole::PushButton : AccessibleRole::StaticText;
}

std::string Label::AccessibleName() const {
  const std::string own = Windowless::AccessibleName();
  return own.empty() ? caption_ : own;
}

Label& TransparentCaption(Label& label, const std::string& text) {
  label.SetCaption(text);
  label.SetBackStyle(BackStyle::Transparent);
  return label;
}

HFONT Label::GdiFont() const {
  const int dpi = Parent() ? Parent()->Scale().dpi : win::SystemDpi();
  if (!gdiFont_ || gdiFontDpi_ != dpi) {
    gdiFont_ = CreateFontFor(font_, dpi);
    gdiFontDpi_ = dpi;
  }
  return gdiFont_.get();
}

void Label::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  wideCaption_ = win::Wide(caption);
  FitToCaption();
  Invalidate();
  if (Windowless::AccessibleName().empty()) Announce(EVENT_OBJECT_NAMECHANGE);
}

void Label::SetFont(const FontSpec& font) {
  font_ = font;
  gdiFont_.reset();
  FitToCaption();
  Invalidate();
}

void Label::SetForeColor(COLORREF colour) {
  foreColor_ = colour;
  Invalidate();
}

void Label::SetBackColor(COLORREF colour) {
  backColor_ = colour;
  Invalidate();
}

void Label::SetBackStyle(forms::BackStyle style) {
  backStyle_ = style;
  Invalidate();
}

void Label::SetBorderStyle(forms::BorderStyle style) {
  borderStyle_ = style;
  Invalidate();
}

void Label::SetAlignment(forms::Alignment alignment) {
  alignment_ = alignment;
  Invalidate();
}

void Label::SetVerticalCentre(bool centre) {
  verticalCentre_ = centre;
  Invalidate();
}

void Label::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  FitToCaption();
}

void Label::FitToCaption() {
  if (!autoSize_ || wideCaption_.empty()) return;
  RECT text{0, 0, 0, 0};
  {
    const win::WindowDc screen(nullptr);
    if (!screen) return;
    win::Selection font(screen.get(), GdiFont());
    DrawTextW(screen.get(), wideCaption_.c_str(), static_cast<int>(wideCaption_.size()), &text,
              DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  }
  const int border = borderStyle_ == forms::BorderStyle::FixedSingle ? 4 : 0;
  const forms::Scale scale = Parent() ? Parent()->Scale() : forms::Scale{};
  Move(Left(), Top(), std::max(Width(), scale.Design(text.right + border)),
       std::max(Height(), scale.Design(text.bottom + border)));
}

void Label::Paint(HDC dc) const {
  RECT area = Bounds();
  // In high contrast a bordered label is a field (window colours), any other a caption (button colours).
  const bool system = !keepsColours_ && HighContrast();
  const bool field = borderStyle_ == forms::BorderStyle::FixedSingle;
  if (backStyle_ == forms::BackStyle::Opaque) {
    const COLORREF back =
        system ? GetSysColor(field ? COLOR_WINDOW : COLOR_BTNFACE) : ResolveColour(backColor_);
    win::Brush brush(CreateSolidBrush(back));
    FillRect(dc, &area, brush.get());
  }
  if (field) {
    DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&area, -2, -1);
  }
  if (wideCaption_.empty()) return;
  if (Enabled()) {
    DrawCaption(dc, area,
                system ? GetSysColor(field ? COLOR_WINDOWTEXT : COLOR_BTNTEXT) : ResolveColour(foreColor_));
    return;
  }
  if (system) {  // etching would blur the scheme's grey text
    DrawCaption(dc, area, GetSysColor(COLOR_GRAYTEXT));
    return;
  }
  // Disabled: etched text, a light copy one pixel down and right under the grey one.
  RECT shifted = area;
  OffsetRect(&shifted, 1, 1);
  DrawCaption(dc, shifted, GetSysColor(COLOR_3DHILIGHT));
  DrawCaption(dc, area, GetSysColor(COLOR_GRAYTEXT));
}

void Label::DrawCaption(HDC dc, RECT area, COLORREF colour) const {
  win::Selection font(dc, GdiFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  UINT format = DT_NOPREFIX;
  if (wideCaption_.find(L'\n') == std::wstring::npos) format |= DT_SINGLELINE;
  if (alignment_ == forms::Alignment::Center) format |= DT_CENTER;
  if (alignment_ == forms::Alignment::Right) format |= DT_RIGHT;
  if (verticalCentre_) format |= DT_VCENTER | DT_SINGLELINE;
  DrawTextW(dc, wideCaption_.c_str(), static_cast<int>(wideCaption_.size()), &area, format);
}

AccessibleRole Image::AutomaticRole() const {
  if (TabStop()) return AccessibleRole::PushButton;
  return Windowless::AccessibleName().empty() ? AccessibleRole::None : AccessibleRole::Graphic;
}

void Image::SetPicture(const forms::Picture& picture) {
  picture_ = picture;
  if (!stretch_ && picture_) Move(Left(), Top(), picture_.Width(), picture_.Height());
  Invalidate();
}

void Image::SetStretch(bool stretch) {
  stretch_ = stretch;
  if (!stretch_ && picture_) Move(Left(), Top(), picture_.Width(), picture_.Height());
  Invalidate();
}

void Image::SetContrastLook(ContrastLook look) {
  contrastLook_ = look;
  Invalidate();
}

void Image::PaintInSystemColours(HDC dc) const {
  RECT place = Bounds();
  UINT state = Enabled() ? 0 : DFCS_INACTIVE;
  if (Checked()) state |= DFCS_CHECKED;
  switch (contrastLook_) {
    case ContrastLook::RadioMark:
      DrawFrameControl(dc, &place, DFC_BUTTON, DFCS_BUTTONRADIO | state);
      return;
    case ContrastLook::CheckMark:
      DrawFrameControl(dc, &place, DFC_BUTTON, DFCS_BUTTONCHECK | state);
      return;
    case ContrastLook::CloseMark:
      DrawFrameControl(dc, &place, DFC_CAPTION, DFCS_CAPTIONCLOSE | state);
      return;
    default: {
      win::Brush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
      win::Brush edge(CreateSolidBrush(GetSysColor(COLOR_BTNTEXT)));
      FillRect(dc, &place, face.get());
      FrameRect(dc, &place, edge.get());
    }
  }
}

void Image::Paint(HDC dc) const {
  if (contrastLook_ != ContrastLook::Picture && HighContrast()) {
    PaintInSystemColours(dc);
    return;
  }
  if (!picture_) return;
  const RECT place = Bounds();
  const forms::Picture scaled = Parent() ? picture_.ForDpi(Parent()->Scale().dpi) : picture_;
  scaled.Draw(dc, place.left, place.top, place.right - place.left, place.bottom - place.top);
}

}  // namespace qr::forms
