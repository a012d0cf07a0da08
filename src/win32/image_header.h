#pragma once
// The size a picture file's header states, read without decoding. Some codecs trust that size when
// they allocate (a 40000 x 40000 JPEG overruns a buffer whose size overflowed in some WIC codecs), so
// absurd sizes are refused before a codec sees the file.
#include <cstdint>
#include <optional>
#include <string>

#include "core/geometry.h"

namespace qr::win {

// Pictures of more pixels than this are not handed to a codec (about 23000 x 23000).
inline constexpr int64_t kMaxPicturePixels = int64_t{512} << 20;

// Width and height from the header of a JPEG, PNG, GIF or BMP file; nothing for other formats, a
// missing file or a header cut short.
std::optional<Size> PictureSizeFromHeader(const std::string& path);

// The EXIF orientation (1..8, core/exif_orientation.h) of a JPEG file, from its first 128 KB (where
// cameras put the metadata); 1 when it states none or cannot be read.
int JpegOrientationFromHeader(const std::string& path);

}  // namespace qr::win
