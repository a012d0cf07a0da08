// The EXIF orientation of a JPEG's bytes: always 1..8, and never a read outside the bytes (the input
// is copied to a buffer of exactly its size, so AddressSanitizer sees any overrun).
#include <algorithm>
#include <memory>
#include <string_view>

#include "core/exif_orientation.h"
#include "fuzz_check.h"

using namespace qr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::unique_ptr<char[]> exact(new char[size > 0 ? size : 1]);
  std::copy(data, data + size, exact.get());
  const int orientation = JpegExifOrientation(std::string_view(exact.get(), size));
  FUZZ_CHECK(orientation >= 1 && orientation <= 8);
  return 0;
}
