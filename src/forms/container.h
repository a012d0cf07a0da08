#pragma once
// A window that holds windowless controls and child windows: it paints the windowless ones over its own
// background, routes the mouse to them (with capture: the mouse up goes to the control that got the
// mouse down), sets the cursor over them and keeps one tool-tip control for all of them.
#include <windows.h>

#include <string>
#include <vector>

#include "forms/events.h"
#include "forms/scale.h"
#include "forms/window_base.h"
#include "forms/windowless.h"

namespace qr::forms {

class ChildControl;

// The dotted focus frame lies this many pixels outside a windowless control.
constexpr int kFocusFrameMargin = 1;

class Container : public WindowBase {
 public:
  ~Container() override;

  // The cursor over the container's own background; nullptr = the arrow.
  HCURSOR Cursor() const { return cursor_; }
  void SetCursor(HCURSOR cursor) { cursor_ = cursor; }
  COLORREF BackColor() const { return backColor_; }
  // The window's display scale: the controls' design geometry (and mouse coordinates) against the
  // device pixels of the window and its drawing surface.
  const forms::Scale& Scale() const { return scale_; }
  // Client size in device pixels (the size of the drawing surface).
  int ScaleWidth() const;
  int ScaleHeight() const;

  // Mouse events on the background (no enabled windowless control under the pointer).
  MouseHandler OnMouseDown;
  MouseHandler OnMouseMove;
  MouseHandler OnMouseUp;
  EventHandler OnClick;

  // The topmost visible control at a client point, or nullptr.
  Windowless* WindowlessAt(POINT p) const;
  // In the order they were added (the lowest first).
  const std::vector<Windowless*>& WindowlessControls() const { return windowless_; }

  // The windowless control that holds the keyboard focus while this window has it; its dotted frame
  // shows then. Setting it does not move the window focus (see forms/focus.h).
  Windowless* FocusedWindowless() const { return focused_; }
  void SetFocusedWindowless(Windowless* control);

  // Screen readers: a windowless control's child id in this window's accessible object (forms/
  // accessible.h), the control with that id, and an event about the control (EVENT_OBJECT_...).
  long AccessibleId(const Windowless* control) const;
  Windowless* WindowlessById(long id) const;
  void AnnounceWindowless(DWORD event, const Windowless* control) const;
  // What a screen reader calls the window itself and says of it (empty: the system's answer, from the
  // window's text): a window that shows a picture tells what it shows and how to leave it.
  const std::string& AccessibleName() const { return accessibleName_; }
  void SetAccessibleName(const std::string& name) { accessibleName_ = name; }
  const std::string& AccessibleDescription() const { return accessibleDescription_; }
  void SetAccessibleDescription(const std::string& text) { accessibleDescription_ = text; }
  // A screen reader's default action: the control's click runs from the message loop, so that the caller
  // is answered at once even when the click opens a modal window.
  void PostClick(const Windowless* control) const;

  // The container object of one of the toolkit's windows (a form or a picture box), or nullptr.
  static Container* FromWindow(HWND wnd);

  // Used by the controls.
  void AddWindowless(Windowless* control);
  void RemoveWindowless(Windowless* control);
  void InvalidateArea(const RECT& area) const;
  void SetToolTipFor(const Windowless* control, const std::string& text, const RECT& area);
  void SetToolTipForWindow(HWND window, const std::string& text);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void WindowDestroyed() override;
  // Paints the background of `area` (client coordinates); the windowless controls follow.
  virtual void PaintBackground(HDC dc, const RECT& area) = 0;
  void PaintWindowless(HDC dc, const RECT& area) const;
  COLORREF backColor_ = 0x80000000u | COLOR_BTNFACE;
  // A new resolution for this container and its windowless controls (their device rectangles follow).
  void SetDpi(int dpi);
  forms::Scale scale_;

 private:
  void PaintAll(HDC target, const RECT& area);
  void PaintFocusFrame(HDC dc) const;
  void InvalidateFocusFrame() const;
  void AnnounceFocus() const;
  void MouseButton(UINT msg, WPARAM wp, LPARAM lp);
  void MouseMoved(WPARAM wp, LPARAM lp);
  bool SetCursorFor(HWND over);
  HWND ToolTipWindow();

  std::vector<Windowless*> windowless_;
  Windowless* focused_ = nullptr;
  Windowless* pressed_ = nullptr;  // receives the mouse until every button is up
  bool pressedOnBackground_ = false;
  int heldButtons_ = 0;
  HCURSOR cursor_ = nullptr;
  HWND toolTip_ = nullptr;
  std::string accessibleName_;
  std::string accessibleDescription_;
};

// Shift state and button set from a mouse message's wParam.
int ShiftFromKeys(WPARAM keys);
int ButtonsFromKeys(WPARAM keys);

}  // namespace qr::forms
