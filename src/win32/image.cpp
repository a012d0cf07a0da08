// Pictures decoded into surfaces (WIC, and JPEG through libjpeg-turbo).
#include "win32/image.h"

#include <algorithm>
#include <array>
#include <cwchar>
#include <string>
#include <vector>

#include "core/exif_orientation.h"
#include "core/image_header.h"
#include "core/picture_types.h"
#include "win32/files.h"
#include "win32/image_header.h"
#include "win32/jpeg_image.h"
#include "win32/lazy_libraries.h"
#include "win32/text.h"

namespace qr::win {

namespace {

// IWICBitmapSourceTransform, which the MinGW headers lack: the codec's own scaled decode (JPEG decodes
// at 1/2, 1/4 and 1/8 scale without touching every pixel). Declared here under a name of our own.
struct WicSourceTransform : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                               WICPixelFormatGUID* format, WICBitmapTransformOptions options,
                                               UINT stride, UINT bufferSize, BYTE* buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
  virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions options,
                                                         BOOL* supported) = 0;
};
constexpr IID kIidWicSourceTransform = {
    0x3B16811B, 0x6A43, 0x4EC9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

int64_t Area(int64_t w, int64_t h) { return w * h; }

// A surface for a decode of w x h pixels, or nothing when that is too large or cannot be allocated.
std::optional<Surface> DecodeTarget(int32_t w, int32_t h) {
  if (w <= 0 || h <= 0 || Area(w, h) > kMaxDecodedPixels) return std::nullopt;
  Surface surface(w, h);
  if (!surface.ok()) return std::nullopt;
  return surface;
}

UINT Stride32(const Surface& s) { return static_cast<UINT>(s.width()) * 4; }
UINT Bytes32(const Surface& s) { return Stride32(s) * static_cast<UINT>(s.height()); }
BYTE* Bytes(Surface& s) { return reinterpret_cast<BYTE*>(s.Bits()); }

bool IsBgr32(const WICPixelFormatGUID& format) {
  return IsEqualGUID(format, GUID_WICPixelFormat32bppBGR) ||
         IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA);
}

std::optional<UINT> BitsPerPixel(IWICImagingFactory* factory, const WICPixelFormatGUID& format) {
  ComPtr<IWICComponentInfo> info;
  ComPtr<IWICPixelFormatInfo> formatInfo;
  UINT bits = 0;
  if (FAILED(factory->CreateComponentInfo(format, info.GetAddressOf())) || FAILED(info.As(&formatInfo)) ||
      FAILED(formatInfo->GetBitsPerPixel(&bits)) || bits == 0)
    return std::nullopt;
  return bits;
}

int32_t CeilDiv(int32_t value, int32_t divisor) { return (value + divisor - 1) / divisor; }

// The part of a picture of `size` that `part` covers; nothing when it covers none.
std::optional<Rect> ClipToPicture(const Rect& part, Size size) {
  const int64_t left = std::max<int64_t>(part.x, 0);
  const int64_t top = std::max<int64_t>(part.y, 0);
  const int64_t right = std::min<int64_t>(int64_t{part.x} + part.w, size.w);
  const int64_t bottom = std::min<int64_t>(int64_t{part.y} + part.h, size.h);
  if (right <= left || bottom <= top) return std::nullopt;
  return Rect{static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right - left),
              static_cast<int32_t>(bottom - top)};
}

// The stored pixels turned as `orientation` says.
std::optional<Surface> Turn(const Surface& stored, int orientation) {
  const Size storedSize{stored.width(), stored.height()};
  const Size shown = OrientedSize(storedSize, orientation);
  auto target = DecodeTarget(shown.w, shown.h);
  if (!target) return std::nullopt;
  GdiFlush();
  const uint32_t* from = stored.Bits();
  uint32_t* to = target->Bits();
  for (int32_t y = 0; y < shown.h; ++y) {
    for (int32_t x = 0; x < shown.w; ++x) {
      const Point p = StoredPixelOf(orientation, x, y, storedSize);
      to[static_cast<size_t>(y) * shown.w + x] = from[static_cast<size_t>(p.y) * storedSize.w + p.x];
    }
  }
  return target;
}

// Premultiplied BGRA rows laid over the matte: what is left of each pixel's cover shows the matte.
void LayOverMatte(BYTE* rows, size_t pixels, COLORREF matte) {
  const BYTE matteBgr[3] = {GetBValue(matte), GetGValue(matte), GetRValue(matte)};
  for (size_t i = 0; i < pixels; ++i, rows += 4) {
    const unsigned uncovered = 255u - rows[3];
    if (uncovered != 0) {
      for (int c = 0; c < 3; ++c)
        rows[c] = static_cast<BYTE>(std::min(255u, rows[c] + (matteBgr[c] * uncovered + 127u) / 255u));
    }
    rows[3] = 0;
  }
}

}  // namespace

std::optional<ImageFile> ImageFile::Open(const std::string& path, bool* tooLarge) {
  if (tooLarge) *tooLarge = false;
  if (path.empty()) return std::nullopt;
  if (const auto stated = PictureSizeFromHeader(path);
      stated && Area(stated->w, stated->h) > kMaxPicturePixels) {
    if (tooLarge) *tooLarge = true;
    return std::nullopt;
  }
  ImageFile file;
  file.path_ = path;
  // A JPEG that libjpeg-turbo reads is not shown to the system's codec at all: under Wine that codec
  // decodes the whole picture as soon as it is opened.
  if (const auto jpeg = JpegPictureSize(path)) {
    file.storedSize_ = *jpeg;
    file.orientation_ = JpegOrientationFromHeader(path);
    file.size_ = OrientedSize(*jpeg, file.orientation_);
    file.jpeg_ = true;
    return file;
  }
  if (!file.OpenWithSystemCodec()) return std::nullopt;
  file.storedSize_ = *file.FrameSize();
  // Formats whose header is not read here (TIFF, WebP, HEIC, …) are held to the same limit by the size
  // their decoder states, before any of their pixels is decoded.
  if (Area(file.storedSize_.w, file.storedSize_.h) > kMaxPicturePixels) {
    if (tooLarge) *tooLarge = true;
    return std::nullopt;
  }
  file.orientation_ = file.SystemCodecOrientation();
  file.size_ = OrientedSize(file.storedSize_, file.orientation_);
  return file;
}

bool ImageFile::OpenWithSystemCodec() const {
  if (frame_) return true;
  if (!com_ || !com_->ok()) com_.emplace();
  if (!com_->ok() ||
      FAILED(lazy::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(factory_.ReleaseAndGetAddressOf()))) ||
      FAILED(factory_->CreateDecoderFromFilename(ApiPath(path_).c_str(), nullptr, GENERIC_READ,
                                                 WICDecodeMetadataCacheOnDemand,
                                                 decoder_.ReleaseAndGetAddressOf())) ||
      FAILED(decoder_->GetFrame(0, frame_.ReleaseAndGetAddressOf())))
    return Forget();
  const auto size = FrameSize();
  // Opened late for a JPEG that libjpeg-turbo turned down, it must be the picture measured before.
  if (!size || (jpeg_ && *size != storedSize_)) return Forget();
  return true;
}

std::optional<Size> ImageFile::FrameSize() const {
  UINT w = 0, h = 0;
  if (!frame_ || FAILED(frame_->GetSize(&w, &h)) || w == 0 || h == 0 || w > INT32_MAX || h > INT32_MAX)
    return std::nullopt;
  return Size{static_cast<int32_t>(w), static_cast<int32_t>(h)};
}

bool ImageFile::Forget() const {
  frame_.Reset();
  decoder_.Reset();
  factory_.Reset();
  return false;
}

std::optional<LoadedImage> ImageFile::Decode(const DecodeRequest& request) const {
  if (orientation_ != 1) return DecodeOriented(request);
  if (request.part) return DecodePart(*request.part);
  if (request.drawSize && request.drawSize->w > 0 && request.drawSize->h > 0 &&
      request.drawSize->w < size_.w && request.drawSize->h < size_.h)
    return DecodeStoredScaled(*request.drawSize);
  return DecodePart({0, 0, size_.w, size_.h});
}

bool ImageFile::DrawStretchedInto(Surface& target, const Rect& place) const {
  return jpeg_ && orientation_ == 1 && DrawJpegStretched(path_, size_, place, target);
}

std::optional<LoadedImage> ImageFile::DecodeStoredScaled(Size drawSize) const {
  if (jpeg_)
    if (auto image = DecodeJpegScaled(path_, storedSize_, drawSize)) return image;
  if (!OpenWithSystemCodec()) return std::nullopt;
  return DecodeScaled(drawSize);
}

// The stored pixels that show are decoded as for any picture (a part, or at a reduced scale), by
// whichever decoder reads them, then turned: no codec turns them itself.
std::optional<LoadedImage> ImageFile::DecodeOriented(const DecodeRequest& request) const {
  std::optional<LoadedImage> stored;
  Rect shownRegion{0, 0, size_.w, size_.h};
  if (request.part) {
    const std::optional<Rect> clipped = ClipToPicture(*request.part, size_);
    if (!clipped) return std::nullopt;
    shownRegion = *clipped;
    stored = DecodePart(StoredRectOf(orientation_, *clipped, storedSize_));
  } else if (request.drawSize && request.drawSize->w > 0 && request.drawSize->h > 0 &&
             request.drawSize->w < size_.w && request.drawSize->h < size_.h) {
    stored = DecodeStoredScaled(OrientedSize(*request.drawSize, orientation_));
  } else {
    stored = DecodePart({0, 0, storedSize_.w, storedSize_.h});
  }
  if (!stored) return std::nullopt;
  auto turned = Turn(stored->pixels, orientation_);
  if (!turned) return std::nullopt;
  return LoadedImage{std::move(*turned), size_.w, size_.h, shownRegion};
}

std::optional<LoadedImage> ImageFile::DecodePart(const Rect& part) const {
  const int64_t left = std::max<int64_t>(part.x, 0);
  const int64_t top = std::max<int64_t>(part.y, 0);
  const int64_t right = std::min<int64_t>(int64_t{part.x} + part.w, storedSize_.w);
  const int64_t bottom = std::min<int64_t>(int64_t{part.y} + part.h, storedSize_.h);
  if (right <= left || bottom <= top) return std::nullopt;
  const Rect clipped{static_cast<int32_t>(left), static_cast<int32_t>(top),
                     static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top)};
  if (jpeg_)
    if (auto image = DecodeJpegPart(path_, storedSize_, clipped)) return image;
  if (!OpenWithSystemCodec()) return std::nullopt;
  auto target = DecodeTarget(clipped.w, clipped.h);
  if (!target) return std::nullopt;
  const WICRect rect{clipped.x, clipped.y, clipped.w, clipped.h};
  if (!CopyAs32Bit(frame_.Get(), &rect, *target)) return std::nullopt;
  return LoadedImage{std::move(*target), storedSize_.w, storedSize_.h, clipped};
}

std::optional<LoadedImage> ImageFile::DecodeScaled(Size drawSize) const {
  if (auto image = DecodeWithCodecScaling(drawSize)) return image;
  // No scaled decode by the codec: a nearest-neighbour scaler still keeps the full-size pixels out of
  // our memory (the codec may hold them while it works).
  auto target = DecodeTarget(drawSize.w, drawSize.h);
  if (!target) return std::nullopt;
  ComPtr<IWICBitmapScaler> scaler;
  if (FAILED(factory_->CreateBitmapScaler(scaler.GetAddressOf())) ||
      FAILED(scaler->Initialize(frame_.Get(), static_cast<UINT>(drawSize.w), static_cast<UINT>(drawSize.h),
                                WICBitmapInterpolationModeNearestNeighbor)) ||
      !CopyAs32Bit(scaler.Get(), nullptr, *target))
    return std::nullopt;
  return LoadedImage{std::move(*target), storedSize_.w, storedSize_.h, {0, 0, storedSize_.w, storedSize_.h}};
}

std::optional<LoadedImage> ImageFile::DecodeWithCodecScaling(Size drawSize) const {
  if (MayBeTransparent()) return std::nullopt;  // the codec's own copy would drop the transparency
  ComPtr<WicSourceTransform> transform;
  if (FAILED(
          frame_->QueryInterface(kIidWicSourceTransform, reinterpret_cast<void**>(transform.GetAddressOf()))))
    return std::nullopt;
  // The strongest reduction the codec offers that still leaves at least drawSize pixels.
  for (const int32_t divisor : {8, 4, 2}) {
    UINT w = static_cast<UINT>(CeilDiv(storedSize_.w, divisor));
    UINT h = static_cast<UINT>(CeilDiv(storedSize_.h, divisor));
    if (static_cast<int32_t>(w) < drawSize.w || static_cast<int32_t>(h) < drawSize.h) continue;
    if (FAILED(transform->GetClosestSize(&w, &h))) return std::nullopt;
    if (static_cast<int64_t>(w) < drawSize.w || static_cast<int64_t>(h) < drawSize.h ||
        static_cast<int64_t>(w) >= storedSize_.w || static_cast<int64_t>(h) >= storedSize_.h)
      continue;
    auto target = DecodeTarget(static_cast<int32_t>(w), static_cast<int32_t>(h));
    if (!target) return std::nullopt;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    if (FAILED(transform->GetClosestPixelFormat(&format))) return std::nullopt;
    if (IsBgr32(format)) {
      if (FAILED(transform->CopyPixels(nullptr, w, h, &format, WICBitmapTransformRotate0, Stride32(*target),
                                       Bytes32(*target), Bytes(*target))))
        return std::nullopt;
    } else {
      // The codec's own format (24-bit for JPEG), converted through a small in-memory bitmap.
      const auto bits = BitsPerPixel(factory_.Get(), format);
      if (!bits) return std::nullopt;
      const UINT stride = (w * *bits + 31) / 32 * 4;
      std::vector<BYTE> buffer(static_cast<size_t>(stride) * h);
      ComPtr<IWICBitmap> scaled;
      if (FAILED(transform->CopyPixels(nullptr, w, h, &format, WICBitmapTransformRotate0, stride,
                                       static_cast<UINT>(buffer.size()), buffer.data())) ||
          FAILED(factory_->CreateBitmapFromMemory(w, h, format, stride, static_cast<UINT>(buffer.size()),
                                                  buffer.data(), scaled.GetAddressOf())) ||
          !CopyAs32Bit(scaled.Get(), nullptr, *target))
        return std::nullopt;
    }
    return LoadedImage{
        std::move(*target), storedSize_.w, storedSize_.h, {0, 0, storedSize_.w, storedSize_.h}};
  }
  return std::nullopt;
}

// Copies `rect` of the source (all of it when null) into the target's pixels as 32-bit BGR. The copy
// goes in bands of rows: a scaler asked for everything at once would gather every source row it needs
// into one buffer, as large as the full-size picture.
bool ImageFile::CopyAs32Bit(IWICBitmapSource* source, const WICRect* rect, Surface& target) const {
  constexpr int kBandRows = 128;
  const bool transparent = MayBeTransparent();
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory_->CreateFormatConverter(converter.GetAddressOf())) ||
      FAILED(converter->Initialize(source,
                                   transparent ? GUID_WICPixelFormat32bppPBGRA : GUID_WICPixelFormat32bppBGR,
                                   WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeCustom)))
    return false;
  const WICRect whole = rect ? *rect : WICRect{0, 0, target.width(), target.height()};
  const UINT stride = Stride32(target);
  GdiFlush();
  for (int top = 0; top < whole.Height; top += kBandRows) {
    const int rows = std::min(kBandRows, whole.Height - top);
    const WICRect band{whole.X, whole.Y + top, whole.Width, rows};
    BYTE* bandBytes = Bytes(target) + static_cast<size_t>(top) * stride;
    if (FAILED(converter->CopyPixels(&band, stride, stride * static_cast<UINT>(rows), bandBytes)))
      return false;
    if (transparent) LayOverMatte(bandBytes, static_cast<size_t>(whole.Width) * rows, matte_);
  }
  return true;
}

int ImageFile::SystemCodecOrientation() const {
  // A JPEG that libjpeg-turbo turned down (CMYK, stray bytes between segments): the program's own reader.
  if (const int fromHeader = JpegOrientationFromHeader(path_); fromHeader != 1) return fromHeader;
  ComPtr<IWICMetadataQueryReader> reader;
  if (!frame_ || FAILED(frame_->GetMetadataQueryReader(reader.GetAddressOf()))) return 1;
  for (const wchar_t* name : {L"System.Photo.Orientation", L"/app1/ifd/{ushort=274}", L"/ifd/{ushort=274}"}) {
    PROPVARIANT value;
    PropVariantInit(&value);
    if (FAILED(reader->GetMetadataByName(name, &value))) continue;
    const int orientation = value.vt == VT_UI2 ? value.uiVal : 0;
    lazy::PropVariantClear(&value);
    if (orientation >= 1 && orientation <= 8) return orientation;
  }
  return 1;
}

bool ImageFile::MayBeTransparent() const {
  WICPixelFormatGUID format{};
  ComPtr<IWICComponentInfo> info;
  ComPtr<IWICPixelFormatInfo2> formatInfo;
  BOOL transparency = TRUE;
  if (!frame_ || FAILED(frame_->GetPixelFormat(&format)) ||
      FAILED(factory_->CreateComponentInfo(format, info.GetAddressOf())) || FAILED(info.As(&formatInfo)) ||
      FAILED(formatInfo->SupportsTransparency(&transparency)))
    return true;
  return transparency != FALSE || PaletteHasAlpha();
}

// A transparent GIF or a palette PNG with a transparent entry (tRNS) has a format that some codecs call
// opaque; its palette still tells.
bool ImageFile::PaletteHasAlpha() const {
  ComPtr<IWICPalette> palette;
  UINT count = 0;
  if (FAILED(factory_->CreatePalette(palette.GetAddressOf())) || FAILED(frame_->CopyPalette(palette.Get())) ||
      FAILED(palette->GetColorCount(&count)) || count == 0)
    return false;
  std::vector<WICColor> colours(count);
  UINT got = 0;
  if (FAILED(palette->GetColors(count, colours.data(), &got))) return false;
  // A palette whose alpha is zero throughout (as a bitmap's reserved byte) does not use it.
  const auto end = colours.begin() + std::min(got, count);
  return std::any_of(colours.begin(), end, [](WICColor colour) { return (colour >> 24) != 0xFF; }) &&
         std::any_of(colours.begin(), end, [](WICColor colour) { return (colour >> 24) != 0; });
}

std::optional<LoadedImage> LoadImageFile(const std::string& path, std::optional<SIZE> fitWithin) {
  auto file = ImageFile::Open(path);
  if (!file) return std::nullopt;
  DecodeRequest request;
  if (fitWithin) request.drawSize = Size{fitWithin->cx, fitWithin->cy};
  return file->Decode(request);
}

namespace {

// Writes the surface's rows as 24-bit BGR, a strip at a time, into a WIC frame.
bool WriteRows24(const Surface& image, IWICBitmapFrameEncode* frame) {
  constexpr int kStripRows = 64;
  const UINT stride = static_cast<UINT>(image.width()) * 3;
  std::vector<BYTE> strip(static_cast<size_t>(stride) * kStripRows);
  GdiFlush();
  for (int top = 0; top < image.height(); top += kStripRows) {
    const int rows = std::min(kStripRows, image.height() - top);
    for (int y = 0; y < rows; ++y) {
      const uint32_t* src = image.Bits() + static_cast<size_t>(top + y) * image.width();
      BYTE* dst = strip.data() + static_cast<size_t>(y) * stride;
      for (int x = 0; x < image.width(); ++x, dst += 3) {
        dst[0] = static_cast<BYTE>(src[x]);
        dst[1] = static_cast<BYTE>(src[x] >> 8);
        dst[2] = static_cast<BYTE>(src[x] >> 16);
      }
    }
    if (FAILED(frame->WritePixels(static_cast<UINT>(rows), stride, stride * rows, strip.data())))
      return false;
  }
  return true;
}

bool SetJpegQuality(IPropertyBag2* properties, float quality) {
  std::wstring name = L"ImageQuality";
  PROPBAG2 option{};
  option.pstrName = name.data();
  VARIANT value{};  // VT_EMPTY, as VariantInit leaves it (without loading oleaut32 for it)
  value.vt = VT_R4;
  value.fltVal = std::clamp(quality, 0.0f, 1.0f);
  return SUCCEEDED(properties->Write(1, &option, &value));
}

}  // namespace

PictureProblem CheckPicture(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(ApiPath(path).c_str());
  if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return PictureProblem::Missing;
  if (const auto stated = PictureSizeFromHeader(path);
      stated && Area(stated->w, stated->h) > kMaxPicturePixels)
    return PictureProblem::TooLarge;
  // A JPEG that libjpeg-turbo reads is whole when its data runs to its end marker: found without decoding
  // it a second time (a command-line render decodes it anyway).
  if (JpegPictureSize(path))
    if (const std::optional<std::string> bytes = ReadFileBytes(path))
      return JpegReachesItsEnd(*bytes) ? PictureProblem::None : PictureProblem::Undecodable;
  bool tooLarge = false;
  const std::optional<ImageFile> file = ImageFile::Open(path, &tooLarge);
  if (!file) return tooLarge ? PictureProblem::TooLarge : PictureProblem::Undecodable;
  // Every byte of the picture is read, but at the smallest scale the decoder offers.
  constexpr int32_t kProbeSide = 64;
  const Size probe{std::min(file->size().w, kProbeSide), std::min(file->size().h, kProbeSide)};
  return file->Decode({.drawSize = probe}) ? PictureProblem::None : PictureProblem::Undecodable;
}

std::string PictureProblemMessage(PictureProblem problem, const std::string& path) {
  switch (problem) {
    case PictureProblem::Missing:
      return "背景の画像ﾌｧｲﾙがありません！\n" + path;
    case PictureProblem::TooLarge:
      return "背景の画像が大きすぎます（" + std::to_string(kMaxPicturePixels >> 20) + " ﾒｶﾞﾋﾟｸｾﾙまで）！\n" +
             path;
    case PictureProblem::Undecodable:
      return "背景の画像を読み込めません（壊れているか、画像ではないﾌｧｲﾙです）！\n" + path;
    case PictureProblem::None:
      break;
  }
  return {};
}

const std::vector<std::string>& DecodablePictureExtensions() {
  static const std::vector<std::string> extensions = [] {
    std::vector<std::string> list{"bmp", "dib", "jpg", "jpeg", "jpe", "jfif"};
    ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IEnumUnknown> decoders;
    if (!com.ok() ||
        FAILED(lazy::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(factory.GetAddressOf()))) ||
        FAILED(factory->CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault,
                                                  decoders.GetAddressOf())))
      return list;
    ComPtr<IUnknown> item;
    ULONG fetched = 0;
    while (decoders->Next(1, item.ReleaseAndGetAddressOf(), &fetched) == S_OK && fetched == 1) {
      ComPtr<IWICBitmapCodecInfo> codec;
      UINT length = 0;
      if (FAILED(item.As(&codec)) || FAILED(codec->GetFileExtensions(0, nullptr, &length)) || length == 0)
        continue;
      std::wstring text(length, L'\0');
      if (FAILED(codec->GetFileExtensions(length, text.data(), &length))) continue;
      text.resize(std::wcslen(text.c_str()));
      MergeExtensions(list, ParseCodecExtensions(Utf8(text)));
    }
    return list;
  }();
  return extensions;
}

bool WriteJpegFile(const Surface& image, const std::string& path, float quality) {
  if (!image.ok() || image.width() <= 0 || image.height() <= 0) return false;
  ComApartment com;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> properties;
  if (!com.ok() ||
      FAILED(lazy::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(factory.GetAddressOf()))) ||
      FAILED(factory->CreateStream(stream.GetAddressOf())) ||
      FAILED(stream->InitializeFromFilename(ApiPath(path).c_str(), GENERIC_WRITE)) ||
      FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.GetAddressOf())) ||
      FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.GetAddressOf(), properties.GetAddressOf())))
    return false;
  SetJpegQuality(properties.Get(), quality);  // a codec without the option keeps its default quality
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  return SUCCEEDED(frame->Initialize(properties.Get())) &&
         SUCCEEDED(frame->SetSize(static_cast<UINT>(image.width()), static_cast<UINT>(image.height()))) &&
         SUCCEEDED(frame->SetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) &&
         WriteRows24(image, frame.Get()) && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace qr::win
