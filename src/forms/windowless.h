#pragma once
// Controls without a window of their own, drawn and hit-tested by their container (a form or a picture
// box): Label and Image. Controls added later lie above earlier ones (add a face image before the label
// that is laid over it).
#include <windows.h>

#include <string>

#include "forms/events.h"
#include "forms/picture.h"

namespace qr::forms {

class Container;

// What a control is to a screen reader (forms/accessible.h serves it). Automatic: a label is static text,
// or a push button when it is a tab stop; an image is a push button when it is a tab stop, a graphic
// when it has an accessible name, and otherwise decoration that a screen reader does not see (None).
enum class AccessibleRole {
  Automatic,
  None,
  StaticText,
  Graphic,
  PushButton,
  RadioButton,
  CheckBox,
  TitleBar
};

class Windowless {
 public:
  Windowless() = default;
  Windowless(const Windowless&) = delete;
  Windowless& operator=(const Windowless&) = delete;
  virtual ~Windowless();

  // Places the control in its container (design pixels, see forms/scale.h); a control can be created once.
  void Create(Container& container, int left, int top, int width, int height);
  Container* Parent() const { return container_; }

  int Left() const { return rect_.left; }
  int Top() const { return rect_.top; }
  int Width() const { return rect_.right - rect_.left; }
  int Height() const { return rect_.bottom - rect_.top; }
  // Where the control lies in its container's device pixels (its design rectangle at the container's
  // scale).
  RECT Bounds() const;
  void Move(int left, int top, int width, int height);
  void Move(int left, int top) { Move(left, top, Width(), Height()); }
  void SetLeft(int v) { Move(v, Top()); }
  void SetTop(int v) { Move(Left(), v); }
  void SetWidth(int v) { Move(Left(), Top(), v, Height()); }
  void SetHeight(int v) { Move(Left(), Top(), Width(), v); }

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // A disabled control takes no mouse input: its events go to the container.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // The mouse cursor over the control; nullptr = the container's.
  HCURSOR Cursor() const { return cursor_; }
  void SetCursor(HCURSOR cursor) { cursor_ = cursor; }
  const std::string& ToolTip() const { return toolTip_; }
  void SetToolTip(const std::string& text);

  // Repaints the control's area now.
  void Refresh();

  // A tab stop takes the keyboard focus by Tab and Shift+Tab (drawn as a dotted frame around it), and
  // Enter or Space on it acts as a left click: OnMouseDown, OnMouseUp, OnClick. Default: off; set it on
  // the controls that act as buttons or options.
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop) { tabStop_ = tabStop; }
  // The left click of the keyboard (nothing when hidden or disabled).
  void PerformClick();

  // Accessibility: the role, the name (empty: a label's caption), and the checked state of an option or
  // check box. A change of the name or the state is announced to screen readers.
  AccessibleRole Role() const;
  void SetAccessibleRole(AccessibleRole role) { role_ = role; }
  virtual std::string AccessibleName() const { return accessibleName_; }
  void SetAccessibleName(const std::string& name);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);

  MouseHandler OnMouseDown;
  MouseHandler OnMouseMove;
  // Delivered to the control that got the mouse down, wherever the button is released.
  MouseHandler OnMouseUp;
  // Left button pressed and released over the control.
  EventHandler OnClick;

  // Draws the control into `dc` (container coordinates, clipped to the control).
  virtual void Paint(HDC dc) const = 0;
  // `p` in device pixels.
  bool HitTest(POINT p) const;

 protected:
  void Invalidate() const;
  // Tells screen readers about a change of this control (an EVENT_OBJECT_... of NotifyWinEvent).
  void Announce(unsigned long event) const;
  virtual AccessibleRole AutomaticRole() const = 0;

 private:
  friend class Container;
  void UpdateToolTip() const;

  Container* container_ = nullptr;
  RECT rect_{};  // design pixels
  bool visible_ = true;
  bool enabled_ = true;
  bool tabStop_ = false;
  HCURSOR cursor_ = nullptr;
  std::string toolTip_;
  AccessibleRole role_ = AccessibleRole::Automatic;
  std::string accessibleName_;
  bool checked_ = false;
};

enum class BackStyle { Transparent, Opaque };
enum class BorderStyle { None, FixedSingle };
enum class Alignment { Left, Right, Center };

class Label : public Windowless {
 public:
  Label();

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  const FontSpec& Font() const { return font_; }
  void SetFont(const FontSpec& font);
  COLORREF ForeColor() const { return foreColor_; }
  void SetForeColor(COLORREF colour);
  COLORREF BackColor() const { return backColor_; }
  void SetBackColor(COLORREF colour);
  forms::BackStyle BackStyle() const { return backStyle_; }
  void SetBackStyle(forms::BackStyle style);
  forms::BorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(forms::BorderStyle style);
  forms::Alignment Alignment() const { return alignment_; }
  void SetAlignment(forms::Alignment alignment);
  // Centres the caption vertically (captions laid over button faces); default: top.
  void SetVerticalCentre(bool centre);
  // The label takes the size of its caption (never smaller than its design size).
  void SetAutoSize(bool autoSize);
  // Its colours are the user's own (a colour swatch, a preview of a cell): kept in high contrast.
  void SetKeepsColours(bool keeps) { keepsColours_ = keeps; }

  void Paint(HDC dc) const override;
  std::string AccessibleName() const override;

 protected:
  AccessibleRole AutomaticRole() const override;

 private:
  void DrawCaption(HDC dc, RECT area, COLORREF colour) const;
  void FitToCaption();
  // The caption font at the container's resolution, made when that changes.
  HFONT GdiFont() const;

  std::string caption_;
  std::wstring wideCaption_;
  FontSpec font_;
  mutable win::Font gdiFont_;
  mutable int gdiFontDpi_ = 0;
  COLORREF foreColor_ = 0x80000000u | COLOR_BTNTEXT;
  COLORREF backColor_ = 0x80000000u | COLOR_BTNFACE;
  forms::BackStyle backStyle_ = forms::BackStyle::Opaque;
  forms::BorderStyle borderStyle_ = forms::BorderStyle::None;
  forms::Alignment alignment_ = forms::Alignment::Left;
  bool verticalCentre_ = false;
  bool autoSize_ = false;
  bool keepsColours_ = false;
};

// How an image is drawn in high contrast: its picture (an icon), or in the system's colours as a button
// face, an option mark, a check box or a close mark (then Checked() and Enabled() show).
enum class ContrastLook { Picture, Face, RadioMark, CheckMark, CloseMark };

class Image : public Windowless {
 public:
  void SetContrastLook(ContrastLook look);
  const forms::Picture& Picture() const { return picture_; }
  // Without Stretch the control takes the picture's size (as design pixels: it is scaled with the window).
  void SetPicture(const forms::Picture& picture);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch);

  void Paint(HDC dc) const override;

 protected:
  AccessibleRole AutomaticRole() const override;

 private:
  void PaintInSystemColours(HDC dc) const;

  forms::Picture picture_;
  bool stretch_ = false;
  ContrastLook contrastLook_ = ContrastLook::Picture;
};

// A caption drawn straight on what lies below it (a face image, a texture).
Label& TransparentCaption(Label& label, const std::string& text);

}  // namespace qr::forms
