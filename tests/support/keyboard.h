#pragma once
// Real keyboard input for tests: keys go through SendInput into the input queue of the thread whose
// window is in the foreground, and arrive through the message loop like the user's.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace qr::test {

// Brings a top-level window to the foreground, so that it receives the keys.
void MakeForeground(HWND wnd);
// Presses and releases one key, with Shift held when asked.
void PressKey(WORD virtualKey, bool shift = false);
// Presses and releases one key with the modifier keys given held down (VK_CONTROL, VK_MENU, VK_SHIFT).
void PressChord(std::vector<WORD> modifiers, WORD virtualKey);
// Types text as Unicode characters (Japanese too).
void TypeText(const std::wstring& text);
// Runs the toolkit's message loop step (forms::DoEvents) until `done` holds or `ms` pass; the result of
// `done` at the end.
bool PumpUntil(const std::function<bool()>& done, int ms = 2000);
// Runs the message loop until every key sent so far has been handled (at most `ms`).
void Pump(int ms = 1000);

// For a window shown modally: once the top-level window of class `windowClass` is visible, brings it to
// the foreground and presses `keys`, one per 100 ms tick, noting before each whether the window was still
// there. After 10 s it closes the window, so that a test fails instead of hanging.
class KeysIntoWindow {
 public:
  KeysIntoWindow(const wchar_t* windowClass, std::vector<WORD> keys);
  KeysIntoWindow(const KeysIntoWindow&) = delete;
  KeysIntoWindow& operator=(const KeysIntoWindow&) = delete;
  ~KeysIntoWindow();

  const std::vector<bool>& OpenBeforeEachKey() const { return openBefore_; }
  bool TimedOut() const { return timedOut_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void Step();

  static inline KeysIntoWindow* instance_ = nullptr;
  const wchar_t* windowClass_;
  std::vector<WORD> keys_;
  std::vector<bool> openBefore_;
  UINT_PTR timer_ = 0;
  int ticks_ = 0;
  bool foreground_ = false;
  bool timedOut_ = false;
};

}  // namespace qr::test
