#include "support/keyboard.h"

#include <utility>
#include <vector>

#include "forms/form.h"

namespace qr::test {

namespace {

INPUT Key(WORD virtualKey, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = virtualKey;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

INPUT Character(wchar_t c, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wScan = c;
  in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
  return in;
}

void Send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

void MakeForeground(HWND wnd) {
  SetForegroundWindow(wnd);
  PumpUntil([wnd] { return GetForegroundWindow() == wnd; }, 1000);
}

void PressKey(WORD virtualKey, bool shift) {
  std::vector<INPUT> inputs;
  if (shift) inputs.push_back(Key(VK_SHIFT, false));
  inputs.push_back(Key(virtualKey, false));
  inputs.push_back(Key(virtualKey, true));
  if (shift) inputs.push_back(Key(VK_SHIFT, true));
  Send(std::move(inputs));
}

void PressChord(std::vector<WORD> modifiers, WORD virtualKey) {
  std::vector<INPUT> inputs;
  for (WORD modifier : modifiers) inputs.push_back(Key(modifier, false));
  inputs.push_back(Key(virtualKey, false));
  inputs.push_back(Key(virtualKey, true));
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) inputs.push_back(Key(*it, true));
  Send(std::move(inputs));
}

void TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    inputs.push_back(Character(c, false));
    inputs.push_back(Character(c, true));
  }
  Send(std::move(inputs));
}

bool PumpUntil(const std::function<bool()>& done, int ms) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
  while (!done()) {
    if (GetTickCount64() >= end) return done();
    forms::DoEvents();
    Sleep(5);
  }
  return true;
}

void Pump(int ms) {
  // Until no input has waited in the queue for a few rounds (the keys sent so far are handled).
  int quietRounds = 0;
  PumpUntil(
      [&] {
        quietRounds = HIWORD(GetQueueStatus(QS_INPUT)) == 0 ? quietRounds + 1 : 0;
        return quietRounds >= 5;
      },
      ms);
}

KeysIntoWindow::KeysIntoWindow(const wchar_t* windowClass, std::vector<WORD> keys)
    : windowClass_(windowClass), keys_(std::move(keys)) {
  instance_ = this;
  timer_ = SetTimer(nullptr, 0, 100, &KeysIntoWindow::Tick);
}

KeysIntoWindow::~KeysIntoWindow() {
  KillTimer(nullptr, timer_);
  instance_ = nullptr;
}

void CALLBACK KeysIntoWindow::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (instance_) instance_->Step();
}

void KeysIntoWindow::Step() {
  HWND window = FindWindowW(windowClass_, nullptr);
  if (++ticks_ > 100) {
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    timedOut_ = window != nullptr;
    return;
  }
  if (!foreground_) {
    if (!window || !IsWindowVisible(window)) return;
    SetForegroundWindow(window);  // the keys follow from the next tick on
    foreground_ = true;
    return;
  }
  if (openBefore_.size() == keys_.size()) return;
  openBefore_.push_back(window != nullptr);
  if (window) PressKey(keys_[openBefore_.size() - 1]);
}

}  // namespace qr::test
