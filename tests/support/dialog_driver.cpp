#include "support/dialog_driver.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "win32/text.h"

namespace qr::test {

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(30);
constexpr auto kReopenedSettle = std::chrono::milliseconds(300);
constexpr auto kEscalateAfter = std::chrono::seconds(1);
constexpr UINT kMessageTimeoutMs = 2000;
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kFileNameComboId = 1148;  // cmb13 of the Explorer-style file dialogs
constexpr int kFileNameEditId = 1152;   // edt1 of the old-style ones

std::wstring ClassOf(HWND wnd) {
  wchar_t name[64] = {};
  const int n = GetClassNameW(wnd, name, 64);
  return std::wstring(name, n > 0 ? n : 0);
}

// Window text through WM_GETTEXT with a timeout, so a busy dialog thread cannot block the driver.
std::string TextOf(HWND wnd) {
  if (!wnd) return {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(wnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length))
    return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(wnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied))
    return {};
  text.resize(std::min<size_t>(copied, length));
  return win::Utf8(text);
}

bool IsOurDialog(HWND wnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  return pid == GetCurrentProcessId() && IsWindowVisible(wnd) && ClassOf(wnd) == L"#32770";
}

BOOL CALLBACK CollectDialog(HWND wnd, LPARAM out) {
  if (IsOurDialog(wnd)) reinterpret_cast<std::vector<HWND>*>(out)->push_back(wnd);
  return TRUE;
}

// Visible dialogs of this process, top of the Z-order first.
std::vector<HWND> OurDialogs() {
  std::vector<HWND> found;
  EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool IsGone(HWND dialog) { return !IsWindow(dialog) || !IsWindowVisible(dialog); }

bool IsPushButton(HWND child) {
  const LONG type = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
  return ClassOf(child) == L"Button" && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

}  // namespace

SeenDialog DescribeDialog(HWND dialog) {
  SeenDialog seen;
  seen.title = TextOf(dialog);
  std::string statics;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    if (IsPushButton(child)) {
      seen.buttons.push_back(GetDlgCtrlID(child));
    } else if (ClassOf(child) == L"Static") {
      if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        DWORD_PTR icon = 0;
        SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &icon);
        seen.icon = reinterpret_cast<HICON>(icon);
      } else if (const std::string text = TextOf(child); !text.empty()) {
        statics += text + "\n";
      }
    }
  }
  const HWND message = GetDlgItem(dialog, kMessageBoxTextId);
  seen.text = message ? TextOf(message) : statics;
  return seen;
}

void ClickButton(HWND dialog, int buttonId) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

std::string ControlText(HWND dialog, int controlId) { return TextOf(GetDlgItem(dialog, controlId)); }

void SetControlText(HWND dialog, int controlId, const std::string& text) {
  const std::wstring wide = win::Wide(text);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(GetDlgItem(dialog, controlId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                      SMTO_ABORTIFHUNG, kMessageTimeoutMs, &ignored);
}

// Wine loads its display driver on a process's first use of the screen. When the watching thread's first
// look at the windows and the dialog's first use of the screen meet, the latter inside a library's start-up
// (the first file dialog loads comdlg32), the two threads deadlock: about one fresh process in twenty hung
// in its first file dialog. The test's thread loads the driver before the watching thread starts.
DialogDriver::DialogDriver(std::chrono::milliseconds giveUpAfter) : giveUpAfter_(giveUpAfter) {
  ReleaseDC(nullptr, GetDC(nullptr));
  thread_ = std::thread([this] { Run(); });
}

DialogDriver::~DialogDriver() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
  for (const std::string& failure : failures_) ADD_FAILURE() << failure;
  if (!actions_.empty()) ADD_FAILURE() << actions_.size() << " queued dialog action(s) found no dialog";
}

DialogDriver& DialogDriver::Press(int buttonId) {
  return Do([buttonId](HWND dialog) { ClickButton(dialog, buttonId); });
}

DialogDriver& DialogDriver::TypeFileNameAndOk(const std::string& path) {
  return Do([path](HWND dialog) {
    SetControlText(dialog, GetDlgItem(dialog, kFileNameComboId) ? kFileNameComboId : kFileNameEditId, path);
    ClickButton(dialog, IDOK);
  });
}

DialogDriver& DialogDriver::SetTextsAndPress(std::vector<std::pair<int, std::string>> texts, int buttonId) {
  return Do([texts = std::move(texts), buttonId](HWND dialog) {
    for (const auto& [id, text] : texts) SetControlText(dialog, id, text);
    ClickButton(dialog, buttonId);
  });
}

DialogDriver& DialogDriver::Do(Action action) {
  std::lock_guard lock(mutex_);
  actions_.push_back(std::move(action));
  return *this;
}

bool DialogDriver::WaitUntilDone(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [this] { return actions_.empty() && performing_ == 0; });
}

size_t DialogDriver::DropPending() {
  std::lock_guard lock(mutex_);
  const size_t dropped = actions_.size();
  actions_.clear();
  return dropped;
}

std::vector<SeenDialog> DialogDriver::Seen() const {
  std::lock_guard lock(mutex_);
  return seen_;
}

size_t DialogDriver::Pending() const {
  std::lock_guard lock(mutex_);
  return actions_.size() + performing_;
}

void DialogDriver::Run() {
  std::unique_lock lock(mutex_);
  while (!changed_.wait_for(lock, kPollInterval, [this] { return stop_; })) {
    lock.unlock();
    Poll();
    lock.lock();
  }
}

void DialogDriver::Poll() {
  const std::vector<HWND> dialogs = OurDialogs();
  TrackHandled();
  EscalateCancels();

  HWND next = nullptr;
  for (HWND dialog : dialogs) {
    if (!handled_.count(dialog) && IsWindowEnabled(dialog)) {
      next = dialog;
      break;
    }
  }
  const auto now = std::chrono::steady_clock::now();
  if (next != candidate_) {
    candidate_ = next;
    candidateSince_ = now;
    return;
  }
  // Let a new dialog finish its set-up for one poll before acting on it. A dialog that is enabled again
  // after a nested one closed waits longer: it may only be on its way out.
  const auto settle = reopened_.count(next) ? kReopenedSettle : kPollInterval;
  if (!next || now - candidateSince_ < settle) return;

  Action action;
  {
    std::lock_guard lock(mutex_);
    if (!actions_.empty()) {
      action = std::move(actions_.front());
      actions_.pop_front();
      ++performing_;
    }
  }
  if (action) {
    Handle(next, action);
  } else if (now - candidateSince_ >= giveUpAfter_) {
    GiveUp(next, "A dialog appeared that no test expected; it was cancelled.");
  }
}

void DialogDriver::TrackHandled() {
  const auto now = std::chrono::steady_clock::now();
  std::erase_if(reopened_, IsGone);
  for (auto it = handled_.begin(); it != handled_.end();) {
    const HWND dialog = it->first;
    Handled& state = it->second;
    if (IsGone(dialog)) {
      it = handled_.erase(it);
      continue;
    }
    if (!IsWindowEnabled(dialog)) {
      state.disabledSince = true;
    } else if (state.disabledSince) {
      // Active again after a nested dialog closed: it can take the next queued action.
      reopened_.insert(dialog);
      it = handled_.erase(it);
      continue;
    } else if (!state.givenUp && now - state.since >= giveUpAfter_) {
      state.givenUp = true;
      GiveUp(dialog, "A dialog stayed open after its action; it was cancelled.");
    }
    ++it;
  }
}

void DialogDriver::Handle(HWND dialog, const Action& action) {
  Record(DescribeDialog(dialog));
  handled_[dialog] = Handled{std::chrono::steady_clock::now()};
  reopened_.erase(dialog);
  candidate_ = nullptr;
  action(dialog);
  {
    std::lock_guard lock(mutex_);
    --performing_;
  }
  changed_.notify_all();
}

void DialogDriver::GiveUp(HWND dialog, const char* why) {
  SeenDialog seen = DescribeDialog(dialog);
  {
    std::lock_guard lock(mutex_);
    failures_.push_back(std::string(why) + " Title: \"" + seen.title + "\", text: \"" + seen.text + "\"");
  }
  if (!handled_.count(dialog)) {
    seen.expected = false;
    Record(std::move(seen));
    handled_[dialog] = Handled{std::chrono::steady_clock::now(), false, true};
    reopened_.erase(dialog);
    candidate_ = nullptr;
  }
  ClickButton(dialog, IDCANCEL);
  cancelling_.push_back({dialog, std::chrono::steady_clock::now(), 0});
}

// A dialog without a Cancel button may ignore IDCANCEL: try No, then OK, then a close request.
void DialogDriver::EscalateCancels() {
  static constexpr int kFallbacks[] = {IDNO, IDOK};
  const auto now = std::chrono::steady_clock::now();
  std::erase_if(cancelling_, [](const Cancelling& c) { return IsGone(c.dialog); });
  for (Cancelling& c : cancelling_) {
    if (now - c.since < kEscalateAfter) continue;
    if (c.step < 2) {
      ClickButton(c.dialog, kFallbacks[c.step]);
    } else {
      PostMessageW(c.dialog, WM_CLOSE, 0, 0);
    }
    c.step = std::min(c.step + 1, 2);
    c.since = now;
  }
}

void DialogDriver::Record(SeenDialog seen) {
  std::lock_guard lock(mutex_);
  seen_.push_back(std::move(seen));
}

}  // namespace qr::test
