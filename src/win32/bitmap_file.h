#pragma once
// Windows bitmap files written from a Surface.
#include <string>

#include "win32/surface.h"

namespace qr::win {

// Writes the surface as a 24-bit uncompressed Windows bitmap (bottom-up rows, each padded to four
// bytes). The file is written beside the target under a temporary name and moved over the target only
// when complete, so on failure (false) an existing file of that name is left as it was.
bool WriteBitmapFile(const Surface& image, const std::string& path);

}  // namespace qr::win
