// The picture header check over any bytes: it ends after a bounded number of reads, reads only inside
// the file, and a size it states is never negative. The EXIF orientation read from the same bytes is
// always one of the eight.
#include <cstring>

#include "core/exif_orientation.h"
#include "core/image_header.h"
#include "fuzz_check.h"

using namespace qr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int reads = 0;
  const std::optional<Size> stated =
      PictureSizeFromHeader([&](int64_t offset, uint8_t* buffer, size_t count) {
        FUZZ_CHECK(++reads <= 4096 + 3 && offset >= 0 && count <= 26);
        if (static_cast<uint64_t>(offset) + count > size) return false;
        std::memcpy(buffer, data + offset, count);
        return true;
      });
  if (stated) FUZZ_CHECK(stated->w >= 0 && stated->h >= 0);
  FUZZ_CHECK(PictureSizeFromHeaderBytes(fuzz::Bytes(data, size)) == stated);
  const int orientation = JpegExifOrientation(fuzz::Bytes(data, size));
  FUZZ_CHECK(orientation >= 1 && orientation <= 8);
  return 0;
}
