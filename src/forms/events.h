#pragma once
// Mouse and key event arguments, as every control reports them.
#include <windows.h>

#include <functional>

namespace qr::forms {

// Buttons and shift keys are bit sets: buttons 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftKey : int { kShiftKey = 1, kCtrlKey = 2, kAltKey = 4 };

struct MouseEvent {
  int button = 0;  // down/up: the button that changed; move: the buttons held
  int shift = 0;
  int x = 0;  // design pixels (forms/scale.h), relative to the control that receives the event
  int y = 0;
  int deviceX = 0;  // the same point in the window's device pixels
  int deviceY = 0;
};

struct KeyEvent {
  int keyCode = 0;  // virtual-key code, e.g. VK_TAB
  int shift = 0;
  bool repeat = false;   // auto-repeat of a key held down
  HWND focus = nullptr;  // the window the key is bound for (the one with the keyboard focus)
};

using MouseHandler = std::function<void(const MouseEvent&)>;
using EventHandler = std::function<void()>;

}  // namespace qr::forms
