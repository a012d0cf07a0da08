// JPEG decoding at reduced scale through libjpeg-turbo.
#include "win32/jpeg_image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "core/geometry.h"
#include "core/work_in_two.h"
#include "win32/files.h"
#include "win32/image_header.h"
#include "win32/jpeg_decoder.h"

namespace qr::win {

namespace {

// libjpeg's own working memory (a progressive picture keeps all its coefficients: 3 bytes a pixel for
// 4:2:0 colour) is bounded; beyond it the decode fails rather than exhausting a 32-bit address space.
constexpr size_t kMaxDecoderMemory = size_t{256} << 20;
constexpr unsigned kRowsPerRead = 16;
// Two decoders share a picture of at least this many rows: the second passes over the upper rows,
// which costs only their entropy decoding (a part of producing them), and produces the lower ones
// while the first produces the upper ones. The upper share is the larger, so both finish together.
constexpr unsigned kSplitFromRows = 256;
constexpr unsigned kUpperShareTenths = 6;

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
struct JpegCloser {
  void operator()(QrJpeg* j) const { qr_jpeg_close(j); }
};

class Decoder {
 public:
  explicit Decoder(const std::string& path) {
    file_.reset(_wfopen(ApiPath(path).c_str(), L"rb"));
    if (file_) jpeg_.reset(qr_jpeg_open(file_.get(), kMaxPicturePixels, kMaxDecoderMemory));
  }
  // Only a picture of the size the caller measured.
  Decoder(const std::string& path, Size picture) : Decoder(path) {
    if (jpeg_ && size() != picture) jpeg_.reset();
  }
  QrJpeg* get() const { return jpeg_.get(); }
  Size size() const {
    unsigned w = 0, h = 0;
    if (jpeg_) qr_jpeg_size(jpeg_.get(), &w, &h);
    return {static_cast<int32_t>(w), static_cast<int32_t>(h)};
  }

 private:
  std::unique_ptr<FILE, FileCloser> file_;  // outlives the decoder, which reads from it
  std::unique_ptr<QrJpeg, JpegCloser> jpeg_;
};

std::optional<Surface> Target(unsigned w, unsigned h) {
  if (w == 0 || h == 0 || int64_t{w} * h > kMaxDecodedPixels) return std::nullopt;
  Surface surface(static_cast<int>(w), static_cast<int>(h));
  if (!surface.ok()) return std::nullopt;
  GdiFlush();
  return surface;
}

unsigned char* Row(Surface& s, unsigned y) {
  return reinterpret_cast<unsigned char*>(s.Bits() + static_cast<size_t>(y) * s.width());
}

// The next rows of the picture, straight into the surface's rows [first, end).
bool ReadRows(QrJpeg* jpeg, Surface& target, unsigned first, unsigned end) {
  std::vector<unsigned char*> rows(kRowsPerRead);
  for (unsigned top = first; top < end; top += kRowsPerRead) {
    const unsigned count = std::min(kRowsPerRead, end - top);
    for (unsigned i = 0; i < count; ++i) rows[i] = Row(target, top + i);
    if (!qr_jpeg_read(jpeg, rows.data(), count)) return false;
  }
  return true;
}

bool ReadInto(QrJpeg* jpeg, Surface& target) {
  return ReadRows(jpeg, target, 0, static_cast<unsigned>(target.height()));
}

// Whether a picture of `rows` decoded rows goes to two decoders: a large single-scan one on two cores (a
// progressive one keeps all its coefficients in each decoder, so it stays with one).
bool CanShare(const Decoder& decoder, unsigned rows, int decoders) {
  return decoders >= 2 && rows >= kSplitFromRows && !qr_jpeg_multiple_scans(decoder.get()) &&
         std::thread::hardware_concurrency() >= 2;
}

// Starts a second decoder of a picture at `eighths`; false unless it gives the rows the first one gives.
bool StartLikeFirst(const Decoder& decoder, int eighths, unsigned width, unsigned height) {
  unsigned w = 0, h = 0;
  return decoder.get() && qr_jpeg_start(decoder.get(), eighths, &w, &h) && w == width && h == height;
}

// The rows from `first` down, by a decoder of its own.
bool ReadLowerRows(const std::string& path, Size picture, int eighths, unsigned first, Surface& target) {
  const Decoder decoder(path, picture);
  const auto height = static_cast<unsigned>(target.height());
  return StartLikeFirst(decoder, eighths, static_cast<unsigned>(target.width()), height) &&
         qr_jpeg_skip(decoder.get(), first) && ReadRows(decoder.get(), target, first, height);
}

// Every row of the started decoder's picture, shared between two decoders where it pays.
bool DecodeRows(const Decoder& decoder, const std::string& path, Size picture, int eighths, int decoders,
                Surface& target) {
  const auto height = static_cast<unsigned>(target.height());
  if (!CanShare(decoder, height, decoders)) return ReadInto(decoder.get(), target);
  const unsigned split = height * kUpperShareTenths / 10;
  return WorkInTwo([&] { return ReadRows(decoder.get(), target, 0, split); },
                [&] { return ReadLowerRows(path, picture, eighths, split, target); },
                [&] { return ReadInto(decoder.get(), target); });
}

// The next target.height() rows of `width` pixels, of which the target takes those from column `skip`.
bool ReadColumns(QrJpeg* jpeg, unsigned width, unsigned skip, Surface& target) {
  std::vector<unsigned char> row(static_cast<size_t>(width) * 4);
  unsigned char* rows[1] = {row.data()};
  const size_t bytes = static_cast<size_t>(target.width()) * 4;
  for (unsigned y = 0; y < static_cast<unsigned>(target.height()); ++y) {
    if (!qr_jpeg_read(jpeg, rows, 1)) return false;
    std::memcpy(Row(target, y), row.data() + static_cast<size_t>(skip) * 4, bytes);
  }
  return true;
}

// A picture decoded at width x height stretched to `place`: the place's rows and columns that lie on
// the target, and for each such column the decoded column it shows.
struct StretchPlan {
  Rect place;
  unsigned width = 0, height = 0;
  int32_t firstRow = 0, endRow = 0, firstColumn = 0;  // inside the place
  std::vector<uint32_t> columns;
};

StretchPlan PlanStretch(const Rect& place, unsigned width, unsigned height, const Surface& target) {
  StretchPlan plan{place, width, height};
  plan.firstRow = std::max(0, -place.y);
  plan.endRow = static_cast<int32_t>(std::clamp<int64_t>(int64_t{target.height()} - place.y, 0, place.h));
  plan.firstColumn = std::max(0, -place.x);
  const auto endColumn =
      static_cast<int32_t>(std::clamp<int64_t>(int64_t{target.width()} - place.x, 0, place.w));
  for (int32_t x = plan.firstColumn; x < endColumn; ++x)
    plan.columns.push_back(
        static_cast<uint32_t>(NearestSourcePixel(x, place.w, static_cast<int32_t>(width))));
  return plan;
}

unsigned DecodedRow(const StretchPlan& plan, int32_t row) {
  return static_cast<unsigned>(NearestSourcePixel(row, plan.place.h, static_cast<int32_t>(plan.height)));
}

// The place's rows [from, to), from a decoder at its first row: the decoded rows they show are decoded
// a few at a time (those above and between them passed over) and their pixels copied to the target.
bool StretchRows(QrJpeg* jpeg, const StretchPlan& plan, int32_t from, int32_t to, Surface& target) {
  if (from >= to || plan.columns.empty()) return true;
  std::vector<uint32_t> batch(static_cast<size_t>(plan.width) * kRowsPerRead);
  std::vector<unsigned char*> rows(kRowsPerRead);
  for (unsigned i = 0; i < kRowsPerRead; ++i)
    rows[i] = reinterpret_cast<unsigned char*>(batch.data() + static_cast<size_t>(i) * plan.width);
  unsigned batchTop = 0, batchEnd = 0;  // the decoded rows in `batch`
  for (int32_t y = from; y < to; ++y) {
    const unsigned wanted = DecodedRow(plan, y);
    if (wanted >= batchEnd) {
      if (wanted > batchEnd && !qr_jpeg_skip(jpeg, wanted - batchEnd)) return false;
      const unsigned count = std::min(kRowsPerRead, plan.height - wanted);
      if (!qr_jpeg_read(jpeg, rows.data(), count)) return false;
      batchTop = wanted;
      batchEnd = wanted + count;
    }
    const uint32_t* source = batch.data() + static_cast<size_t>(wanted - batchTop) * plan.width;
    uint32_t* out = target.Bits() + static_cast<size_t>(plan.place.y + y) * target.width() + plan.place.x +
                    plan.firstColumn;
    for (const uint32_t column : plan.columns) *out++ = source[column];
  }
  return true;
}

}  // namespace

std::optional<Size> JpegPictureSize(const std::string& path) {
  const Decoder decoder(path);
  if (!decoder.get()) return std::nullopt;
  return decoder.size();
}

std::optional<LoadedImage> DecodeJpegScaled(const std::string& path, Size picture, Size drawSize,
                                            int decoders) {
  Decoder decoder(path, picture);
  if (!decoder.get()) return std::nullopt;
  const int eighths = JpegScaleEighths(picture, drawSize);
  unsigned w = 0, h = 0;
  if (!qr_jpeg_start(decoder.get(), eighths, &w, &h)) return std::nullopt;
  auto target = Target(w, h);
  if (!target || !DecodeRows(decoder, path, picture, eighths, decoders, *target)) return std::nullopt;
  return LoadedImage{std::move(*target), picture.w, picture.h, {0, 0, picture.w, picture.h}};
}

std::optional<LoadedImage> DecodeJpegPart(const std::string& path, Size picture, const Rect& part) {
  if (part.x < 0 || part.y < 0 || part.w <= 0 || part.h <= 0 || int64_t{part.x} + part.w > picture.w ||
      int64_t{part.y} + part.h > picture.h)
    return std::nullopt;
  Decoder decoder(path, picture);
  if (!decoder.get()) return std::nullopt;
  unsigned w = 0, h = 0;
  if (!qr_jpeg_start(decoder.get(), 8, &w, &h)) return std::nullopt;
  auto target = Target(static_cast<unsigned>(part.w), static_cast<unsigned>(part.h));
  if (!target) return std::nullopt;
  unsigned left = static_cast<unsigned>(part.x), width = static_cast<unsigned>(part.w);
  const bool wholeRows = left == 0 && width == w;
  if (!wholeRows && !qr_jpeg_crop(decoder.get(), &left, &width)) return std::nullopt;
  if (part.y > 0 && !qr_jpeg_skip(decoder.get(), static_cast<unsigned>(part.y))) return std::nullopt;
  const bool read = wholeRows
                        ? ReadInto(decoder.get(), *target)
                        : ReadColumns(decoder.get(), width, static_cast<unsigned>(part.x) - left, *target);
  if (!read) return std::nullopt;
  return LoadedImage{std::move(*target), picture.w, picture.h, part};
}

bool DrawJpegStretched(const std::string& path, Size picture, const Rect& place, Surface& target,
                       int decoders) {
  if (place.w <= 0 || place.h <= 0 || !target.ok()) return false;
  Decoder decoder(path, picture);
  if (!decoder.get()) return false;
  const int eighths = JpegScaleEighths(picture, {place.w, place.h});
  unsigned w = 0, h = 0;
  if (!qr_jpeg_start(decoder.get(), eighths, &w, &h)) return false;
  const StretchPlan plan = PlanStretch(place, w, h, target);
  GdiFlush();
  const auto whole = [&] { return StretchRows(decoder.get(), plan, plan.firstRow, plan.endRow, target); };
  if (!CanShare(decoder, h, decoders)) return whole();
  // The upper share is the larger: the second decoder passes over the rows above its own.
  const int32_t split =
      plan.firstRow + (plan.endRow - plan.firstRow) * static_cast<int32_t>(kUpperShareTenths) / 10;
  return WorkInTwo([&] { return StretchRows(decoder.get(), plan, plan.firstRow, split, target); },
                [&] {
                  const Decoder lower(path, picture);
                  return StartLikeFirst(lower, eighths, w, h) &&
                         StretchRows(lower.get(), plan, split, plan.endRow, target);
                },
                whole);
}

}  // namespace qr::win
