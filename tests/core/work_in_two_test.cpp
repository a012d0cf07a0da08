// Work split over two threads: both halves run, the result needs both, and a half that throws neither
// ends the program nor passes for a success.
#include "core/work_in_two.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace qr {
namespace {

TEST(WorkInTwo, SucceedsOnlyWhenBothHalvesDo) {
  const auto alone = [] { return true; };
  EXPECT_TRUE(WorkInTwo([] { return true; }, [] { return true; }, alone));
  EXPECT_FALSE(WorkInTwo([] { return true; }, [] { return false; }, alone));
  EXPECT_FALSE(WorkInTwo([] { return false; }, [] { return true; }, alone));
}

TEST(WorkInTwo, AHalfThatThrowsReachesTheCallerAfterBothHaveFinished) {
  std::atomic<bool> besideFinished = false;
  EXPECT_THROW(WorkInTwo([]() -> bool { throw std::runtime_error("here"); },
                         [&] {
                           besideFinished = true;
                           return true;
                         },
                         [] { return true; }),
               std::runtime_error);
  EXPECT_TRUE(besideFinished);

  EXPECT_THROW(WorkInTwo([] { return true; }, []() -> bool { throw std::length_error("beside"); },
                         [] { return true; }),
               std::length_error);
}

}  // namespace
}  // namespace qr
