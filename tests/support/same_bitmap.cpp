#include "support/same_bitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <sstream>

namespace qr::test {

namespace {

int32_t Int32At(const std::string& bytes, size_t at) {
  int32_t value = 0;
  if (bytes.size() >= at + 4) std::memcpy(&value, bytes.data() + at, 4);
  return value;
}

// Where byte `at` lies in a 24-bit bottom-up bitmap file: its pixel and colour, or that it is a header's.
std::string PlaceOf(const std::string& bitmap, size_t at) {
  const int32_t offset = Int32At(bitmap, 10), width = Int32At(bitmap, 18), height = Int32At(bitmap, 22);
  std::ostringstream place;
  if (at < static_cast<size_t>(std::max(offset, 0)) || width <= 0 || height <= 0) {
    place << "in the headers";
    return place.str();
  }
  const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  const size_t inPixels = at - static_cast<size_t>(offset);
  const size_t fileRow = inPixels / rowBytes, column = inPixels % rowBytes / 3;
  place << "pixel (" << column << ", " << (static_cast<size_t>(height) - 1 - fileRow) << ") of " << width
        << " x " << height << ", channel " << "BGR"[inPixels % rowBytes % 3];
  return place.str();
}

}  // namespace

::testing::AssertionResult SameBitmapBytes(const std::optional<std::string>& actual,
                                           const std::optional<std::string>& expected) {
  if (!actual || !expected)
    return ::testing::AssertionFailure() << (actual ? "" : "the actual file is missing ")
                                         << (expected ? "" : "the expected file is missing");
  const auto [a, e] = std::mismatch(actual->begin(), actual->end(), expected->begin(), expected->end());
  if (a == actual->end() && e == expected->end()) return ::testing::AssertionSuccess();
  const size_t at = static_cast<size_t>(a - actual->begin());
  ::testing::AssertionResult failure = ::testing::AssertionFailure();
  failure << "the files differ first at byte " << at << " (" << PlaceOf(*expected, at) << "): ";
  if (a == actual->end() || e == expected->end())
    return failure << actual->size() << " bytes against " << expected->size();
  return failure << int{static_cast<uint8_t>(*a)} << " against " << int{static_cast<uint8_t>(*e)};
}

}  // namespace qr::test
