#pragma once
// Progressive JPEG files for tests of pictures that come in several scans (the system's encoder writes
// single-scan files only).
#include <string>

#include "win32/surface.h"

namespace qr::test {

// The surface's pixels as a progressive JPEG of the given quality (1..100), written with libjpeg-turbo.
bool WriteProgressiveJpeg(const win::Surface& image, const std::string& path, int quality = 90);

}  // namespace qr::test
