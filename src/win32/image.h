#pragma once
// Pictures from files, decoded into a Surface: JPEG with libjpeg-turbo (win32/jpeg_image.h), everything
// else (bitmap, PNG, GIF, TIFF and whatever the system's codecs read) and the JPEG files libjpeg-turbo
// turns down with the Windows Imaging Component. A picture much larger than the place it is
// drawn to can be decoded at a reduced scale, or only the part that will be visible.
#include <windows.h>
// After <windows.h>:
#include <wincodec.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "win32/com.h"
#include "win32/surface.h"

namespace qr::win {

// The largest surface one decode produces (1 GB of pixels; a 32-bit process cannot hold more). It bounds
// memory, not pictures: a picture up to kMaxPicturePixels (win32/image_header.h) is decoded at a reduced
// scale or only in the part that shows, which is far smaller.
inline constexpr int64_t kMaxDecodedPixels = int64_t{256} << 20;

struct LoadedImage {
  Surface pixels;
  int32_t width = 0, height = 0;  // the picture's own size
  // The part of the picture (in its own pixels) that `pixels` holds, stretched to pixels' size when the
  // picture was decoded at a reduced scale. The whole picture unless a part was asked for.
  Rect region;
};

struct DecodeRequest {
  // Only this part of the picture, at full scale (clipped to the picture).
  std::optional<Rect> part;
  // The size at which the whole picture will be drawn. When the picture is larger in both directions,
  // it is decoded at a reduced scale but never smaller than this (unless the codec cannot scale
  // natively, then at exactly this size). Ignored when `part` is given.
  std::optional<Size> drawSize;
};

// An opened picture file: its size is known, its pixels are decoded on request. A file the system's
// codec reads is held open by it; a JPEG file is opened again for each decode. The pixels are those the
// picture shows: turned as its EXIF orientation says (its size too), whichever decoder reads it, a picture
// with transparency laid over the matte colour (the desktop colour unless set), a picture of several frames
// or pages by its first.
class ImageFile {
 public:
  // Nothing when the file is missing, unreadable, not a picture, has no pixels, or its header or its
  // decoder states more than kMaxPicturePixels (then `tooLarge`, when given, is set).
  static std::optional<ImageFile> Open(const std::string& path, bool* tooLarge = nullptr);

  Size size() const { return size_; }
  // The colour that shows through transparent pixels (0x00BBGGRR).
  void SetMatte(COLORREF colour) { matte_ = colour; }
  // Nothing when decoding fails, the request leaves nothing to decode, or the result would exceed
  // kMaxDecodedPixels or cannot be allocated.
  std::optional<LoadedImage> Decode(const DecodeRequest& request = {}) const;
  // The whole picture stretched to `place` on `target` without a decoded copy of its own (a JPEG that
  // libjpeg-turbo reads; see DrawJpegStretched). False for other pictures, and when decoding fails: the
  // place may then have been partly written.
  bool DrawStretchedInto(Surface& target, const Rect& place) const;

 private:
  ImageFile() = default;
  // The system's codec for this file, opened on first need; false when it cannot read the file.
  bool OpenWithSystemCodec() const;
  bool Forget() const;
  std::optional<Size> FrameSize() const;
  std::optional<LoadedImage> DecodePart(const Rect& part) const;
  std::optional<LoadedImage> DecodeScaled(Size drawSize) const;
  std::optional<LoadedImage> DecodeWithCodecScaling(Size drawSize) const;
  bool CopyAs32Bit(IWICBitmapSource* source, const WICRect* rect, Surface& target) const;
  // True unless the frame's pixel format is known to be without transparency and its palette (if any)
  // has no entry that is not opaque.
  bool MayBeTransparent() const;
  bool PaletteHasAlpha() const;
  std::optional<LoadedImage> DecodeOriented(const DecodeRequest& request) const;
  std::optional<LoadedImage> DecodeStoredScaled(Size drawSize) const;
  // The EXIF orientation of a picture the system's codec opened (JPEG, TIFF, HEIC): from the JPEG's own
  // header, else from the codec's metadata; 1 when neither states one.
  int SystemCodecOrientation() const;

  // The system's codec, opened lazily by const decodes (hence mutable), with COM joined only then: a
  // JPEG that libjpeg-turbo reads needs neither (and under Wine joining COM creates a window).
  mutable std::optional<ComApartment> com_;  // first member: released last
  mutable ComPtr<IWICImagingFactory> factory_;
  mutable ComPtr<IWICBitmapDecoder> decoder_;
  mutable ComPtr<IWICBitmapFrameDecode> frame_;
  Size size_;
  std::string path_;
  bool jpeg_ = false;    // decoded by libjpeg-turbo where it can, by the system's codec otherwise
  int orientation_ = 1;  // the EXIF orientation; size_ is the size shown
  Size storedSize_;      // the size as stored
  COLORREF matte_ = GetSysColor(COLOR_BACKGROUND);
};

// The whole picture; with `fitWithin`, possibly at a reduced scale (see DecodeRequest::drawSize).
std::optional<LoadedImage> LoadImageFile(const std::string& path,
                                         std::optional<SIZE> fitWithin = std::nullopt);

// Whether a background picture can be drawn, found by opening it and decoding it whole at a small scale
// (a truncated file, a 12-bit JPEG, a text file renamed ".png", a type without its codec, a picture over
// kMaxPicturePixels all fail here rather than giving a wallpaper of the desktop colour alone).
enum class PictureProblem { None, Missing, TooLarge, Undecodable };
PictureProblem CheckPicture(const std::string& path);
// The message for a problem other than None, naming the file.
std::string PictureProblemMessage(PictureProblem problem, const std::string& path);

// The extensions (lower case, no dot) of the pictures the program can decode: bitmaps and JPEG always,
// and every extension of the decoders the system has installed (PNG, GIF, TIFF; WebP, HEIC or AVIF where
// their codecs are installed). Asked of the system once.
const std::vector<std::string>& DecodablePictureExtensions();

// A JPEG file of the surface's pixels (quality 0..1), written in place. For generating pictures.
bool WriteJpegFile(const Surface& image, const std::string& path, float quality = 0.9f);

}  // namespace qr::win
