#pragma once
// A JPEG photograph's EXIF orientation: cameras store the pixels as the sensor saw them and say in the
// metadata how to turn them for showing (TIFF tag 0x0112, values 1 to 8).
#include <string_view>

#include "core/geometry.h"

namespace qr {

// The orientation the first bytes of a JPEG file state in their EXIF segment (APP1 "Exif"), 1 (as
// stored) when there is none, it is unreadable or out of range. Only segments before the picture data
// are looked at.
int JpegExifOrientation(std::string_view bytes);

// Orientations 5 to 8 turn the picture a quarter: width and height swap.
Size OrientedSize(Size stored, int orientation);

// The stored pixel that shows at (x, y) of the picture turned by `orientation`; `stored` is the stored
// picture's size.
Point StoredPixelOf(int orientation, int32_t x, int32_t y, Size stored);

// The stored pixels that show in `shown` (a rectangle of the turned picture): a rectangle again.
Rect StoredRectOf(int orientation, const Rect& shown, Size stored);

}  // namespace qr
