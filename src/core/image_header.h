#pragma once
// The size a picture file's header states, read without decoding: the first bytes of a PNG, GIF or BMP
// file, or the segments of a JPEG file up to its frame header.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "core/geometry.h"

namespace qr {

// Reads exactly `count` bytes from `offset` into `buffer`; false when the source does not hold them
// (bytes that were there may have been stored all the same).
using HeaderReader = std::function<bool(int64_t offset, uint8_t* buffer, size_t count)>;

// Width and height stated by the header of a JPEG, PNG, GIF or BMP file; nothing for other formats or a
// header cut short. A JPEG's frame header may lie after large metadata segments, so it is read by
// offset rather than from a fixed prefix.
std::optional<Size> PictureSizeFromHeader(const HeaderReader& read);

// The same for a file's bytes held in memory.
std::optional<Size> PictureSizeFromHeaderBytes(std::string_view bytes);

// True when a JPEG file's data runs to its end marker: an EOI (FF D9) follows the first scan header, which
// is found by walking the segments (so a thumbnail's EOI inside the metadata does not count). In the
// entropy-coded data FF is always followed by 00 or a restart marker, so a file cut short has none.
bool JpegReachesItsEnd(std::string_view bytes);

}  // namespace qr
