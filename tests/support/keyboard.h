#pragma once
// Real keyboard input for tests: keys go through SendInput into the input queue of the thread whose
// window is in the foreground, and arrive through the message loop like the user's.
#include <windows.h>

#include <functional>
#include <string>

namespace qr::test {

// Brings a top-level window to the foreground, so that it receives the keys.
void MakeForeground(HWND wnd);
// Presses and releases one key, with Shift held when asked.
void PressKey(WORD virtualKey, bool shift = false);
// Types text as Unicode characters (Japanese too).
void TypeText(const std::wstring& text);
// Runs the toolkit's message loop step (forms::DoEvents) until `done` holds or `ms` pass; the result of
// `done` at the end.
bool PumpUntil(const std::function<bool()>& done, int ms = 2000);
// Runs the message loop until every key sent so far has been handled (at most `ms`).
void Pump(int ms = 1000);

}  // namespace qr::test
