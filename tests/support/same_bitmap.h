#pragma once
// Bitmap files compared byte for byte. A failure names the first byte that differs, as the pixel it
// belongs to, instead of printing both files (megabytes each, and a diff of them far more).
#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace qr::test {

// EXPECT_TRUE(SameBitmapBytes(win::ReadFileBytes(a), win::ReadFileBytes(b)));
::testing::AssertionResult SameBitmapBytes(const std::optional<std::string>& actual,
                                           const std::optional<std::string>& expected);

}  // namespace qr::test
