#include "win32/message_box.h"

#include <gtest/gtest.h>

#include "support/dialog_driver.h"
#include "win32/handles.h"

namespace qr::win {
namespace {

TEST(ShowMessage, QuestionReturnsTheButtonPressed) {
  test::DialogDriver driver;
  driver.Press(IDYES).Press(IDNO);
  EXPECT_EQ(ShowMessage(nullptr, "ﾌｧｲﾙを削除しますか？\rC:\\a.bmp", kQuestionStyle), IDYES);
  EXPECT_EQ(ShowMessage(nullptr, "作成した壁紙に名前を付けて保存しますか？", kQuestionStyle), IDNO);

  const std::vector<test::SeenDialog> seen = driver.Seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].title, "Quelm_Rask");
  EXPECT_EQ(seen[0].text, "ﾌｧｲﾙを削除しますか？\rC:\\a.bmp");
  EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(seen[0].icon, LoadIconW(nullptr, IDI_QUESTION));
  EXPECT_EQ(seen[1].text, "作成した壁紙に名前を付けて保存しますか？");
}

TEST(ShowMessage, WarningHasOnlyOkAndTheExclamationIcon) {
  Window owner(CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 10, 10, 100, 100, nullptr,
                               nullptr, nullptr, nullptr));
  test::DialogDriver driver;
  driver.Press(IDOK);
  EXPECT_EQ(ShowMessage(owner.get(), "壁紙ﾌｧｲﾙを指定してください！", kWarningStyle), IDOK);
  const std::vector<test::SeenDialog> seen = driver.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "Quelm_Rask");
  EXPECT_EQ(seen[0].text, "壁紙ﾌｧｲﾙを指定してください！");
  EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDOK}));
  EXPECT_EQ(seen[0].icon, LoadIconW(nullptr, IDI_EXCLAMATION));
  EXPECT_EQ(kWarningStyle, 48u);
  EXPECT_EQ(kQuestionStyle, 36u);
}

}  // namespace
}  // namespace qr::win
