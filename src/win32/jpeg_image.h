#pragma once
// JPEG pictures decoded with libjpeg-turbo: a picture drawn smaller than its own size is decoded at the
// smallest of the codec's eighth scales that still covers the drawn size (the DCT does the reduction,
// so most of the work for the full size is never done), and a part is decoded without the rows above
// it and with only the blocks that hold its columns. A picture stretched onto a surface goes there row by
// row, without a copy of its own.
#include <optional>
#include <string>

#include "core/geometry.h"
#include "win32/image.h"

namespace qr::win {

// The size of a JPEG file that libjpeg-turbo can decode, from its header (nothing decoded yet); nothing
// for other files, unsupported colour spaces, and pictures of more than kMaxPicturePixels.
std::optional<Size> JpegPictureSize(const std::string& path);

// The whole w x h picture for a place of drawSize (at a reduced scale when it is smaller), or the part
// `part` (inside the picture) at full scale. Nothing when the file cannot be decoded this way (not a
// JPEG, a colour space other than grey, YCbCr or RGB, damaged data) or the pixels would not fit within
// kMaxDecodedPixels; the caller may then try another decoder.
// A large single-scan picture is decoded by `decoders` decoders at once (1 or 2, on as many cores).
std::optional<LoadedImage> DecodeJpegScaled(const std::string& path, Size picture, Size drawSize,
                                            int decoders = 2);
std::optional<LoadedImage> DecodeJpegPart(const std::string& path, Size picture, const Rect& part);

// The whole picture stretched to `place` on `target`, decoded straight into the target's rows: the
// picture is decoded at the smallest eighth scale that covers the place, a few rows at a time, and each
// pixel of the place that lies on the target takes the nearest decoded pixel (rows and columns dropped
// or repeated, not blended). The decoded picture is never held whole. False when the file cannot be
// decoded this way; the place may then have been partly written.
bool DrawJpegStretched(const std::string& path, Size picture, const Rect& place, Surface& target,
                       int decoders = 2);

}  // namespace qr::win
