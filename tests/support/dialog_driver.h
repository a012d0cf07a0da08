#pragma once
// Drives standard dialogs (message boxes, file dialogs, the colour dialog, the shell's questions) that a
// test's own thread shows modally. A second thread watches this process's visible top-level dialog
// windows (class "#32770"), and performs queued actions on them in order: one action for each dialog
// that appears. It records what each dialog showed, so tests can check titles, messages and buttons.
//
//   qr::test::DialogDriver driver;
//   driver.Press(IDYES);
//   EXPECT_EQ(qr::win::ShowMessage(nullptr, "...", qr::win::kQuestionStyle), IDYES);
//   EXPECT_EQ(driver.Seen().at(0).text, "...");
//
// Rules:
// - The dialog acted on is the topmost enabled one that has not had its action yet, after it has been on
//   the screen for one poll (about 30 ms).
// - A dialog that a nested dialog disabled (a save dialog under its "replace?" question) takes the next
//   queued action again once it is enabled again (for example: TypeFileNameAndOk, Press(IDNO),
//   Press(IDCANCEL)).
// - Failing instead of hanging: a dialog that appears with no action queued, and a dialog still open and
//   enabled some time after its action, are cancelled (IDCANCEL, then IDNO, IDOK, WM_CLOSE) after the
//   timeout given to the constructor. When the driver is destroyed it reports a test failure for each of
//   them and for every queued action that found no dialog (unless DropPending() was called).
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace qr::test {

// What one dialog showed when the driver met it.
struct SeenDialog {
  std::string title;  // the window caption (UTF-8)
  // The message of a message box (its static control 0xFFFF); for other dialogs the texts of all static
  // controls, each followed by "\n".
  std::string text;
  std::vector<int> buttons;  // IDs of the visible push buttons, in child order
  HICON icon = nullptr;      // the message box's icon (compare with LoadIconW(nullptr, IDI_...))
  bool expected = true;      // false: no action was queued; the driver cancelled it
};

class DialogDriver {
 public:
  using Action = std::function<void(HWND dialog)>;

  // giveUpAfter: how long a dialog nobody queued an action for, or one that stays open after its action,
  // may stay before it is cancelled.
  explicit DialogDriver(std::chrono::milliseconds giveUpAfter = std::chrono::seconds(5));
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;
  ~DialogDriver();

  // Queue one action for the next dialog. Each returns *this, so actions chain.
  // Clicks a button (IDOK, IDCANCEL, IDYES, IDNO or any control ID).
  DialogDriver& Press(int buttonId);
  // File dialogs: types a name into the file-name box (cmb13, or edt1 in old-style dialogs), then OK.
  DialogDriver& TypeFileNameAndOk(const std::string& path);
  // Sets the texts of controls (for example 706/707/708 of the colour dialog), then presses a button.
  DialogDriver& SetTextsAndPress(std::vector<std::pair<int, std::string>> texts, int buttonId);
  // Anything else, run on the driver's thread with the dialog's handle. It should end by closing the
  // dialog (ClickButton) or by making it show the next one.
  DialogDriver& Do(Action action);

  // Waits until every queued action has been performed; false on timeout.
  bool WaitUntilDone(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Forgets queued actions that found no dialog; returns how many there were.
  size_t DropPending();

  // Every dialog met so far, in order, expected or not.
  std::vector<SeenDialog> Seen() const;
  // The number of queued actions not yet performed.
  size_t Pending() const;

 private:
  struct Handled {
    std::chrono::steady_clock::time_point since;  // when its action ran
    bool disabledSince = false;                   // a nested dialog has disabled it since
    bool givenUp = false;
  };
  struct Cancelling {
    HWND dialog;
    std::chrono::steady_clock::time_point since;
    int step;
  };
  void Run();
  void Poll();
  void TrackHandled();
  void Handle(HWND dialog, const Action& action);
  void GiveUp(HWND dialog, const char* why);
  void EscalateCancels();
  void Record(SeenDialog seen);

  const std::chrono::milliseconds giveUpAfter_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Action> actions_;
  size_t performing_ = 0;
  std::vector<SeenDialog> seen_;
  std::vector<std::string> failures_;
  bool stop_ = false;

  // Used by the driver's thread only.
  std::map<HWND, Handled> handled_;
  std::set<HWND> reopened_;
  std::vector<Cancelling> cancelling_;
  HWND candidate_ = nullptr;
  std::chrono::steady_clock::time_point candidateSince_;

  std::thread thread_;
};

// Helpers for Do() actions and for tests, usable from any thread of the process.
// Reads a dialog the way the driver records it.
SeenDialog DescribeDialog(HWND dialog);
// Clicks a dialog's button by posting its WM_COMMAND (BN_CLICKED).
void ClickButton(HWND dialog, int buttonId);
// The text of a control of the dialog (UTF-8); sets it.
std::string ControlText(HWND dialog, int controlId);
void SetControlText(HWND dialog, int controlId, const std::string& text);

}  // namespace qr::test
