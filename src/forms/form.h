#pragma once
// A top-level window. Its client area works in pixels; Left, Top, Width and Height of the window itself
// are twips, converted with the screen's twips per pixel.
#include <windows.h>

#include <string>
#include <vector>

#include "forms/container.h"
#include "forms/events.h"

namespace qr::forms {

enum class FormBorder {
  None,        // no frame and no title bar
  FixedSingle  // a fixed frame with a title bar and a close box
};

struct FormSpec {
  std::string className;  // the window class, e.g. "Quelm_Rask_M"
  std::string caption;    // the window's title text
  FormBorder border = FormBorder::None;
  int clientWidth = 0;  // design pixels (forms/scale.h)
  int clientHeight = 0;
  COLORREF backColor = 0x80000000u | COLOR_BTNFACE;
  bool topmost = false;
  bool showInTaskbar = true;
  // false: the form and its controls work in device pixels at every resolution (a window that covers
  // the screen pixel for pixel).
  bool scaled = true;
};

enum class UnloadMode { FormControlMenu = 0, FormCode = 1, AppWindows = 2 };

class Form : public Container {
 public:
  explicit Form(FormSpec design);
  ~Form() override;

  // Creates the window (hidden), lays out its controls (Design) and runs Form_Load; nothing when loaded.
  void Load(HWND owner = nullptr);
  bool Loaded() const { return hwnd() != nullptr; }
  void Show();
  // Shows the form modally: every other enabled top-level window of the thread (the owner among them)
  // is disabled until this form unloads; returns after the unload.
  void ShowModal(HWND owner);
  // QueryUnload, Unload, then the window is destroyed. The form can be loaded again afterwards.
  void Unload();

  // Twips.
  double Left() const;
  double Top() const;
  double Width() const;
  double Height() const;
  void SetLeft(double twips);
  void SetTop(double twips);
  void SetWidth(double twips);
  void SetHeight(double twips);
  void Move(double leftTwips, double topTwips);

  // The window that takes the keyboard focus when the form is first activated (default: the form
  // itself; Tab then starts at the first stop). Later activations give the focus back to where it was.
  void SetStartFocus(HWND window) { lastFocus_ = window; }

  std::string Caption() const;
  void SetCaption(const std::string& caption);
  void SetBackColor(COLORREF colour);
  void Refresh();

  // What the window's frame adds to its client area (device pixels; 0 x 0 without a frame).
  SIZE FrameExtent() const;

  // The screen's twips per pixel.
  static double TwipsPerPixelX();
  static double TwipsPerPixelY();

 protected:
  // Creates the controls at their design positions (before Form_Load).
  virtual void Design() {}
  virtual void Form_Load() {}
  // Any way of closing; the toolkit never cancels.
  virtual void Form_QueryUnload(UnloadMode /*mode*/) {}
  virtual void Form_Unload() {}
  // Every key pressed in the form (WM_KEYDOWN, WM_SYSKEYDOWN), before the focused control and the dialog
  // keys see it; true: handled, the key goes no further. Not called while an input method composes.
  virtual bool Form_KeyPreview(const KeyEvent& /*e*/) { return false; }
  // After a move to a monitor of another scale has laid the controls out again: redraw what was drawn
  // into persistent images.
  virtual void Form_DpiChanged() {}

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void PaintBackground(HDC dc, const RECT& area) override;
  // QueryUnload(mode), Unload, then the window is destroyed. The forms this one owns (a modal window
  // shown over it) are unloaded first the same way, so each runs its own closing.
  void UnloadBy(UnloadMode mode);

 private:
  friend bool TranslateFormKey(const MSG& msg);
  bool HandleKey(const MSG& msg);
  bool DialogKey(const KeyEvent& e, const MSG& msg);
  bool RestoreFocus();
  void UnloadOwnedForms(UnloadMode mode);
  // The window moved to a monitor of another resolution: every control takes its design geometry and
  // font at it, the window the place and size the system suggests.
  void ApplyDpi(int dpi, const RECT& suggested);
  void EnableDisabledWindows();
  RECT OuterRect() const;

  FormSpec spec_;
  bool unloading_ = false;
  std::vector<HWND> disabledByModal_;
  HWND modalOwner_ = nullptr;
  HWND ownerFocus_ = nullptr;  // the owner's focus when this form was shown modally
  HWND lastFocus_ = nullptr;   // the focus when the form was last deactivated
  bool inModalLoop_ = false;
};

// Gives the keys their meaning in the toolkit's forms: the form's Form_KeyPreview first, then Tab and
// Shift+Tab move the focus (see forms/focus.h), Enter or Space on a windowless tab stop, and Enter on a
// push button, click it. Every message loop calls it for each message before TranslateMessage; true:
// the key was handled and the message goes no further. Keys pass untouched while an input method
// composes, and a control that asks for a key (WM_GETDLGCODE) keeps it.
bool TranslateFormKey(const MSG& msg);

// Processes the pending window messages once (repaints included), then returns.
void DoEvents();

}  // namespace qr::forms
