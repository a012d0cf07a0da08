// Starting at log-on: the user's Run value, read back from the registry, written with the program's
// quoted path and "/watch", replaced when written again, and removed (twice is fine).
#include "win32/autostart.h"

#include <gtest/gtest.h>

#include "support/autostart_guard.h"

namespace qr {
namespace {

TEST(Autostart, OnWritesTheQuotedProgramWithWatchAndOffRemovesIt) {
  test::AutostartGuard guard;
  EXPECT_FALSE(win::AutostartEnabled());
  const std::string program = "C:\\Program Files\\クエルム\\Quelm_Rask.exe";
  ASSERT_TRUE(win::SetAutostart(true, program));
  EXPECT_EQ(test::AutostartGuard::Read(), "\"C:\\Program Files\\クエルム\\Quelm_Rask.exe\" /watch");
  EXPECT_EQ(win::ReadAutostart(), test::AutostartGuard::Read());
  EXPECT_TRUE(win::AutostartEnabled());

  ASSERT_TRUE(win::SetAutostart(true, "D:\\moved\\Quelm_Rask.exe"));
  EXPECT_EQ(test::AutostartGuard::Read(), "\"D:\\moved\\Quelm_Rask.exe\" /watch");

  ASSERT_TRUE(win::SetAutostart(false, program));
  EXPECT_FALSE(test::AutostartGuard::Read());
  EXPECT_FALSE(win::AutostartEnabled());
  EXPECT_TRUE(win::SetAutostart(false, program)) << "already off";
}

}  // namespace
}  // namespace qr
