// The test support that answers dialogs: it must make a test fail, not hang, when a dialog is not
// answered as planned.
#include "support/dialog_driver.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "win32/message_box.h"

namespace qr::test {
namespace {

using std::chrono::milliseconds;

TEST(DialogDriver, UnexpectedDialogIsCancelledAndFailsTheTest) {
  int answer = 0;
  EXPECT_NONFATAL_FAILURE(
      {
        DialogDriver driver(milliseconds(200));
        answer = win::ShowMessage(nullptr, "誰も待っていない", MB_OKCANCEL);
        ASSERT_EQ(driver.Seen().size(), 1u);
        EXPECT_FALSE(driver.Seen()[0].expected);
        EXPECT_EQ(driver.Seen()[0].text, "誰も待っていない");
      },
      "no test expected");
  EXPECT_EQ(answer, IDCANCEL);
}

TEST(DialogDriver, DialogWithoutCancelIsStillClosed) {
  int answer = 0;
  EXPECT_NONFATAL_FAILURE(
      {
        DialogDriver driver(milliseconds(200));
        answer = win::ShowMessage(nullptr, "?", win::kQuestionStyle);
      },
      "no test expected");
  EXPECT_TRUE(answer == IDNO || answer == IDCANCEL) << answer;
}

TEST(DialogDriver, ActionThatLeavesTheDialogOpenFailsTheTest) {
  int answer = 0;
  EXPECT_NONFATAL_FAILURE(
      {
        DialogDriver driver(milliseconds(300));
        driver.Do([](HWND) {});  // does nothing to the dialog
        answer = win::ShowMessage(nullptr, "x", MB_OKCANCEL);
      },
      "stayed open after its action");
  EXPECT_EQ(answer, IDCANCEL);
}

TEST(DialogDriver, ActionThatFindsNoDialogFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(
      {
        DialogDriver driver;
        driver.Press(IDOK);
      },
      "found no dialog");
  DialogDriver dropped;
  dropped.Press(IDOK).Press(IDNO);
  EXPECT_EQ(dropped.Pending(), 2u);
  EXPECT_EQ(dropped.DropPending(), 2u);
  EXPECT_EQ(dropped.Pending(), 0u);
}

TEST(DialogDriver, ActionsApplyInOrderAndCanBeAwaited) {
  DialogDriver driver;
  driver.Press(IDOK).SetTextsAndPress({}, IDCANCEL);
  EXPECT_EQ(win::ShowMessage(nullptr, "first", MB_OKCANCEL), IDOK);
  EXPECT_EQ(win::ShowMessage(nullptr, "second", MB_OKCANCEL), IDCANCEL);
  EXPECT_TRUE(driver.WaitUntilDone(milliseconds(100)));
  const std::vector<SeenDialog> seen = driver.Seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].text, "first");
  EXPECT_EQ(seen[1].text, "second");
  EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDOK, IDCANCEL}));
}

}  // namespace
}  // namespace qr::test
