#pragma once
// Controls with a window of their own inside a container: ListBox, TextBox, HScrollBar, CommandButton.
// Positions are design pixels (forms/scale.h) in the container's client area.
#include <windows.h>

#include <string>
#include <vector>

#include "forms/events.h"
#include "forms/picture.h"

namespace qr::forms {

class Container;

class ChildControl {
 public:
  ChildControl() = default;
  ChildControl(const ChildControl&) = delete;
  ChildControl& operator=(const ChildControl&) = delete;
  virtual ~ChildControl();

  HWND hwnd() const { return hwnd_; }
  Container* Parent() const { return container_; }
  static ChildControl* FromWindow(HWND wnd);

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void Move(int left, int top, int width, int height);
  void Move(int left, int top) { Move(left, top, Width(), Height()); }
  void SetLeft(int v) { Move(v, Top()); }
  void SetTop(int v) { Move(Left(), v); }
  void SetWidth(int v) { Move(Left(), Top(), v, Height()); }
  void SetHeight(int v) { Move(Left(), Top(), Width(), v); }
  bool Visible() const;
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  HCURSOR Cursor() const { return cursor_; }
  void SetCursor(HCURSOR cursor) { cursor_ = cursor; }
  void SetToolTip(const std::string& text);
  // The name a screen reader gives the control (its role, state and value stay the system's).
  void SetAccessibleName(const std::string& name) { accessibleName_ = name; }
  void SetFocus();
  const FontSpec& Font() const { return font_; }
  void SetFont(const FontSpec& font);
  // The container's resolution changed: the control takes its design rectangle and font at it.
  virtual void ApplyDpi();

  // A notification the container received for this control (WM_COMMAND, WM_HSCROLL, WM_CTLCOLOR...,
  // WM_DRAWITEM); true when handled, with the result in `result`.
  virtual bool ParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

 protected:
  // Runs after the control has taken a new font (controls that reset settings with the font restore
  // them here).
  virtual void FontTaken() {}

  bool CreateChild(Container& parent, const wchar_t* className, DWORD style, DWORD exStyle, int left, int top,
                   int width, int height);
  // Messages of the control's own window (subclassed); default: the class's own handling.
  virtual LRESULT ControlMessage(UINT msg, WPARAM wp, LPARAM lp);
  // The class's own handling of a message, past the toolkit's procedure.
  LRESULT DefaultMessage(UINT msg, WPARAM wp, LPARAM lp) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

  void PlaceWindow();

  HWND hwnd_ = nullptr;
  WNDPROC classProc_ = nullptr;  // the window procedure the control had before WindowProc
  Container* container_ = nullptr;
  RECT design_{};
  HCURSOR cursor_ = nullptr;
  FontSpec font_ = CaptionFont();
  win::Font gdiFont_;
  std::string accessibleName_;
};

// Single selection, entries kept in the order added.
class ListBox : public ChildControl {
 public:
  bool Create(Container& parent, int left, int top, int width, int height);

  void AddItem(const std::string& text);
  // Many entries at once: the list box neither repaints nor grows its storage entry by entry.
  void AddItems(const std::vector<std::string>& texts);
  void RemoveItem(int index);
  void Clear();
  int ListCount() const;
  std::string List(int index) const;
  // Every entry in order: one pass for the whole list, where List() costs three messages an entry.
  std::vector<std::string> Items() const;
  // Selected entry, -1 for none. Setting it runs OnClick like a user's click.
  int ListIndex() const;
  void SetListIndex(int index);
  // Design pixels, like every geometry.
  void SetHorizontalExtent(int pixels);
  int HorizontalExtent() const;
  void ApplyDpi() override;
  // Shell file drops: OnFilesDropped receives the names (UTF-8) in the shell's order.
  void SetAcceptFiles(bool accept);

  // Every change of the selection, by the user (mouse or keyboard) or by SetListIndex.
  EventHandler OnClick;
  std::function<void(const std::vector<std::string>&)> OnFilesDropped;

  bool ParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 protected:
  LRESULT ControlMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  int extent_ = 0;  // design pixels
};

// Single line text box.
class TextBox : public ChildControl {
 public:
  bool Create(Container& parent, int left, int top, int width, int height);

  std::string Text() const;
  void SetText(const std::string& text);
  COLORREF ForeColor() const { return foreColor_; }
  void SetForeColor(COLORREF colour);
  COLORREF BackColor() const { return backColor_; }
  void SetBackColor(COLORREF colour);
  // Fixed left and right text margins in pixels, kept through font changes (which otherwise give the
  // margins the system derives from each font).
  void SetMargins(int left, int right);

  EventHandler OnChange;
  EventHandler OnGotFocus;
  EventHandler OnLostFocus;

  bool ParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  COLORREF foreColor_ = 0x80000000u | COLOR_WINDOWTEXT;
  void FontTaken() override;

  COLORREF backColor_ = 0x80000000u | COLOR_WINDOW;
  win::Brush backBrush_;
  int leftMargin_ = -1;  // -1: the system's
  int rightMargin_ = -1;
};

// Horizontal slider; OnChange after an arrow or page click, a keyboard step, the thumb's release, or a
// new Value from code - not while the thumb is being dragged.
class HScrollBar : public ChildControl {
 public:
  bool Create(Container& parent, int left, int top, int width, int height);

  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  void SetMin(int v) { SetRange(v, max_); }
  void SetMax(int v) { SetRange(min_, v); }
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int v) { smallChange_ = v; }
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int v) { largeChange_ = v; }
  int Value() const { return value_; }
  void SetValue(int value);

  EventHandler OnChange;

  bool ParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void ApplyValue(int value, bool notify);
  int min_ = 0, max_ = 32767, smallChange_ = 1, largeChange_ = 1, value_ = 0;
};

// A push button showing a picture (centred), e.g. 18 x 18.
class CommandButton : public ChildControl {
 public:
  bool Create(Container& parent, int left, int top, int width, int height);
  const forms::Picture& Picture() const { return picture_; }
  void SetPicture(const forms::Picture& picture);

  EventHandler OnClick;

  bool ParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  forms::Picture picture_;
};

}  // namespace qr::forms
