#include "win32/jpeg_image.h"

#include <gtest/gtest.h>
#include <wincodec.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "support/progressive_jpeg.h"
#include "support/temp_folder.h"
#include "win32/com.h"
#include "win32/files.h"
#include "win32/image.h"
#include "win32/image_header.h"
#include "win32/image_test_pictures.h"

namespace qr::win {
namespace {

using test::TempFolder;

// Waves of different periods in each channel and direction: a picture turned, mirrored or shifted by a
// pixel no longer matches itself, and it has no edges for the scaled decodes to ring at.
Surface Waves(int w, int h) {
  Surface s(w, h);
  GdiFlush();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double r = 128 + 100 * std::sin(x / 11.0 + y / 37.0);
      const double g = 128 + 100 * std::cos(y / 9.0);
      const double b = 128 + 90 * std::sin((x + 2.0 * y) / 23.0);
      s.Bits()[static_cast<size_t>(y) * w + x] =
          (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
    }
  return s;
}

// The file decoded by the system's codec alone, at full size: the reference.
std::vector<uint32_t> SystemDecode(const std::string& path, int w, int h) {
  ComApartment com;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(factory.GetAddressOf()))) ||
      FAILED(factory->CreateDecoderFromFilename(ApiPath(path).c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.GetAddressOf())) ||
      FAILED(decoder->GetFrame(0, frame.GetAddressOf())) ||
      FAILED(factory->CreateFormatConverter(converter.GetAddressOf())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                   0.0, WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->CopyPixels(nullptr, w * 4, w * h * 4, reinterpret_cast<BYTE*>(pixels.data()))))
    return {};
  return pixels;
}

int Channel(uint32_t word, int shift) { return static_cast<int>((word >> shift) & 0xFF); }

// The reference reduced to n eighths (sw x sh) by averaging the full-size pixels that fall on each
// reduced pixel: pixel x covers [8x / n, 8(x + 1) / n), as in the decoder's scaled blocks. Pixels at the
// edge may get none (the decoder's last block can reach beyond the picture); they are not compared.
std::vector<uint32_t> Reduced(const std::vector<uint32_t>& full, int w, int h, int n, int sw, int sh) {
  std::vector<std::array<int64_t, 4>> sums(static_cast<size_t>(sw) * sh);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      auto& sum = sums[static_cast<size_t>(std::min((2 * y + 1) * n / 16, sh - 1)) * sw +
                       std::min((2 * x + 1) * n / 16, sw - 1)];
      for (int c = 0; c < 3; ++c) sum[c] += Channel(full[static_cast<size_t>(y) * w + x], 8 * c);
      ++sum[3];
    }
  std::vector<uint32_t> reduced(sums.size());
  for (size_t i = 0; i < sums.size(); ++i)
    for (int c = 0; c < 3 && sums[i][3] > 0; ++c)
      reduced[i] |= static_cast<uint32_t>((sums[i][c] + sums[i][3] / 2) / sums[i][3]) << (8 * c);
  return reduced;
}

struct Difference {
  double mean = 0;  // per channel
  int largest = 0;
};

// `image` against the reference moved by (dx, dy), over the pixels not at the border.
Difference Compare(const Surface& image, const std::vector<uint32_t>& reference, int dx, int dy) {
  Difference d;
  int64_t total = 0, count = 0;
  const int w = image.width(), h = image.height();
  for (int y = 2; y < h - 2; ++y)
    for (int x = 2; x < w - 2; ++x)
      for (int c = 0; c < 3; ++c) {
        const int e = std::abs(Channel(image.Bits()[static_cast<size_t>(y) * w + x], 8 * c) -
                               Channel(reference[static_cast<size_t>(y + dy) * w + x + dx], 8 * c));
        total += e;
        ++count;
        d.largest = std::max(d.largest, e);
      }
  d.mean = static_cast<double>(total) / static_cast<double>(count);
  return d;
}

// Close to the reference everywhere, and closer where it lies than one pixel off in any direction. The
// system's codec fills in the colour planes (stored at half size) in a way of its own, so single
// channels differ by up to about a dozen levels even at full size; the mean stays near one.
constexpr int kLargestDifference = 16;
constexpr double kMeanDifference = 1.5;

void ExpectMatches(const Surface& image, const std::vector<uint32_t>& reference) {
  GdiFlush();
  const Difference here = Compare(image, reference, 0, 0);
  EXPECT_LT(here.mean, kMeanDifference);
  EXPECT_LE(here.largest, kLargestDifference);
  for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
    EXPECT_GT(Compare(image, reference, dx, dy).mean, here.mean + 0.5) << "moved by " << dx << ", " << dy;
}

TEST(JpegImage, EveryScaleMatchesTheSystemCodecsPictureReducedToTheSameSize) {
  TempFolder folder;
  for (const Size picture : {Size{640, 480}, Size{645, 483}}) {
    const std::string path = folder.File("waves.jpg");
    ASSERT_TRUE(WriteJpegFile(Waves(picture.w, picture.h), path, 0.95f));
    const std::vector<uint32_t> full = SystemDecode(path, picture.w, picture.h);
    ASSERT_FALSE(full.empty());
    for (int n = 1; n <= 8; ++n) {
      SCOPED_TRACE(testing::Message() << picture.w << "x" << picture.h << " at " << n << "/8");
      // The smallest place for which n eighths are chosen.
      const Size place{static_cast<int32_t>((int64_t{picture.w} * n + 7) / 8),
                       static_cast<int32_t>((int64_t{picture.h} * n + 7) / 8)};
      ASSERT_EQ(JpegScaleEighths(picture, place), n);
      const auto image = DecodeJpegScaled(path, picture, place);
      ASSERT_TRUE(image);
      EXPECT_EQ(image->region, (Rect{0, 0, picture.w, picture.h}));
      ASSERT_EQ(image->pixels.width(), place.w);
      ASSERT_EQ(image->pixels.height(), place.h);
      ExpectMatches(image->pixels, Reduced(full, picture.w, picture.h, n, place.w, place.h));
    }
  }
}

TEST(JpegImage, APartIsTheSystemCodecsPixelsOfThatPart) {
  TempFolder folder;
  const std::string path = folder.File("waves.jpg");
  ASSERT_TRUE(WriteJpegFile(Waves(645, 483), path, 0.95f));
  const std::vector<uint32_t> full = SystemDecode(path, 645, 483);
  ASSERT_FALSE(full.empty());
  for (const Rect part : {Rect{0, 0, 645, 483}, Rect{37, 53, 300, 200}, Rect{0, 101, 645, 7},
                          Rect{600, 0, 45, 483}, Rect{644, 482, 1, 1}}) {
    SCOPED_TRACE(testing::Message() << part.x << "," << part.y << " " << part.w << "x" << part.h);
    const auto image = DecodeJpegPart(path, {645, 483}, part);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->region, part);
    ASSERT_EQ(image->pixels.width(), part.w);
    ASSERT_EQ(image->pixels.height(), part.h);
    std::vector<uint32_t> reference(static_cast<size_t>(part.w) * part.h);
    for (int y = 0; y < part.h; ++y)
      for (int x = 0; x < part.w; ++x)
        reference[static_cast<size_t>(y) * part.w + x] =
            full[static_cast<size_t>(part.y + y) * 645 + part.x + x];
    if (part.w > 8 && part.h > 8)
      ExpectMatches(image->pixels, reference);
    else
      EXPECT_LE(Compare(image->pixels, reference, 0, 0).largest, kLargestDifference);
  }
  EXPECT_FALSE(DecodeJpegPart(path, {645, 483}, {600, 0, 46, 10}));  // beyond the picture
}

// Two decoders sharing the rows give exactly the rows one decoder gives, at every scale, also for a
// picture whose rows do not fill their last block rows.
TEST(JpegImage, TwoDecodersGiveThePixelsOfOne) {
  TempFolder folder;
  const Size picture{1283, 1037};
  const std::string path = folder.File("waves.jpg");
  ASSERT_TRUE(WriteJpegFile(Waves(picture.w, picture.h), path, 0.9f));
  for (int n : {8, 5, 3}) {
    SCOPED_TRACE(testing::Message() << n << "/8");
    const Size place{(picture.w * n + 7) / 8, (picture.h * n + 7) / 8};
    const auto one = DecodeJpegScaled(path, picture, place, 1);
    const auto two = DecodeJpegScaled(path, picture, place, 2);
    ASSERT_TRUE(one && two);
    ASSERT_EQ(two->pixels.height(), one->pixels.height());
    const size_t count = static_cast<size_t>(one->pixels.width()) * one->pixels.height();
    EXPECT_TRUE(std::equal(one->pixels.Bits(), one->pixels.Bits() + count, two->pixels.Bits()));
  }
}

// The pixels of a 640 x 480 target, first showing kBehind, that differ from the picture stretched to
// `place`: the decode at the same scale, each place pixel taken from the decoded pixel under its centre.
constexpr COLORREF kBehind = RGB(1, 2, 3);
int StretchMismatches(const std::string& path, Size picture, const Rect& place, int decoders) {
  const auto scaled = DecodeJpegScaled(path, picture, {place.w, place.h}, 1);
  Surface target(640, 480, kBehind);
  if (!scaled || !DrawJpegStretched(path, picture, place, target, decoders)) return -1;
  const Surface& decoded = scaled->pixels;
  int wrong = 0;
  for (int y = 0; y < target.height(); ++y)
    for (int x = 0; x < target.width(); ++x) {
      const int px = x - place.x, py = y - place.y;
      const bool inside = px >= 0 && py >= 0 && px < place.w && py < place.h;
      const size_t nearest =
          static_cast<size_t>(NearestSourcePixel(py, place.h, decoded.height())) * decoded.width() +
          NearestSourcePixel(px, place.w, decoded.width());
      const uint32_t expected = inside ? decoded.Bits()[nearest] : 0x010203u;
      wrong += target.Bits()[static_cast<size_t>(y) * target.width() + x] != expected;
    }
  return wrong;
}

// Stretched straight onto a surface, each pixel of the place is the scaled decode's pixel under its
// centre, with one decoder or two, from a single-scan or a progressive file, wherever the place lies
// (cut off at the left and top, larger than the picture, inside the target); the rest of the target is
// left as it was.
TEST(JpegImage, StretchedOntoASurfaceEachPixelIsTheNearestDecodedOne) {
  TempFolder folder;
  const Size picture{1283, 1037};
  const std::string single = folder.File("waves.jpg");
  const std::string progressive = folder.File("waves-progressive.jpg");
  ASSERT_TRUE(WriteJpegFile(Waves(picture.w, picture.h), single, 0.9f));
  ASSERT_TRUE(test::WriteProgressiveJpeg(Waves(picture.w, picture.h), progressive));
  ASSERT_NE(ReadFileBytes(progressive).value_or("").find("\xFF\xC2"), std::string::npos);  // several scans
  for (const std::string& path : {single, progressive})
    for (const Rect place : {Rect{-20, -50, 700, 566}, Rect{100, 40, 1500, 1200}, Rect{30, 20, 400, 300}})
      for (int decoders : {1, 2}) {
        SCOPED_TRACE(testing::Message() << path << " at " << place.x << "," << place.y << " " << place.w
                                        << "x" << place.h << ", " << decoders << " decoder(s)");
        EXPECT_EQ(StretchMismatches(path, picture, place, decoders), 0);
      }
}

// The file cut after `keep` bytes, or with the bytes at `at` overwritten.
std::string Damaged(const TempFolder& folder, const std::string& name, const std::string& bytes, size_t keep,
                    size_t at = 0, std::string_view over = {}) {
  std::string damaged = bytes.substr(0, keep);
  if (!over.empty()) damaged.replace(at, over.size(), over);
  return folder.Write(name, damaged);
}

// A file cut in its lower rows fails the second decoder alone (the first never reads that far): the
// picture is no picture, however the work was shared.
TEST(JpegImage, TheSecondDecoderFailingAloneFailsTheWhole) {
  TempFolder folder;
  const Size picture{1283, 1037};
  const std::string good = folder.File("waves.jpg");
  ASSERT_TRUE(WriteJpegFile(Waves(picture.w, picture.h), good, 0.9f));
  const std::string bytes = ReadFileBytes(good).value_or("");
  const std::string cut = Damaged(folder, "cut-low.jpg", bytes, bytes.size() * 97 / 100);
  EXPECT_FALSE(DecodeJpegScaled(cut, picture, picture, 2));
  Surface target(640, 480);
  EXPECT_FALSE(DrawJpegStretched(cut, picture, {0, 0, 640, 480}, target, 2));
}

TEST(JpegImage, DamagedOrHostileFilesGiveNoPicture) {
  TempFolder folder;
  const std::string good = folder.File("good.jpg");
  ASSERT_TRUE(WriteJpegFile(Waves(400, 300), good));
  const std::string bytes = ReadFileBytes(good).value_or("");
  const size_t scan = bytes.find("\xFF\xDA");
  const size_t frame = bytes.find("\xFF\xC0");
  ASSERT_NE(scan, std::string::npos);
  ASSERT_NE(frame, std::string::npos);
  std::string huge = bytes;
  huge.replace(frame + 5, 4, "\xFF\xFF\xFF\xFF");  // 65535 x 65535
  const std::string files[] = {
      Damaged(folder, "cut.jpg", bytes, bytes.size() / 2),
      Damaged(folder, "cut-in-header.jpg", bytes, scan + 6),
      Damaged(folder, "no-scan.jpg", bytes, bytes.size(), scan, "\xFF\xEE"),
      Damaged(folder, "no-frame.jpg", bytes, bytes.size(), frame, "\xFF\xEE"),
      Damaged(folder, "stray-marker.jpg", bytes, bytes.size(), scan + 400, "\xFF\xD3"),
      folder.Write("huge.jpg", huge)};
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(DecodeJpegScaled(path, {400, 300}, {100, 75}));
    EXPECT_FALSE(DecodeJpegPart(path, {400, 300}, {0, 0, 400, 300}));
    Surface target(200, 150);
    EXPECT_FALSE(DrawJpegStretched(path, {400, 300}, {0, 0, 200, 150}, target));
  }
  // What libjpeg turns down goes to the system's codec, as every JPEG did before: it makes nothing of
  // cut files or absurd sizes, so the picture is left out as an unreadable one ...
  for (const std::string& path : {files[0], files[1], files[2], files[3], files[5]}) {
    SCOPED_TRACE(path);
    if (const auto file = ImageFile::Open(path)) {
      EXPECT_FALSE(file->Decode({.drawSize = Size{100, 75}}));
      EXPECT_FALSE(file->Decode());
    }
  }
  // ... and shows what it can of a stray marker in the data.
  const auto stray = LoadImageFile(files[4], SIZE{100, 75});
  ASSERT_TRUE(stray);
  EXPECT_EQ(stray->width, 400);
  // The size the header states is checked before any decoding memory is taken.
  EXPECT_FALSE(DecodeJpegScaled(files[5], {65535, 65535}, {1920, 1080}));
}

// One limit for every decoder: a picture of up to 512 megapixels is measured (and decoded at a reduced
// scale or in part); 16400 x 16400 lay over the old 256 of the decoded surface and came out blank.
TEST(JpegImage, PicturesUpToTheOnePictureLimitAreTakenAndLargerOnesNot) {
  TempFolder folder;
  const std::string good = folder.File("good.jpg");
  ASSERT_TRUE(WriteJpegFile(Waves(64, 48), good));
  const std::string bytes = ReadFileBytes(good).value_or("");
  const size_t frame = bytes.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  const auto withSize = [&](const char* name, uint16_t side) {
    std::string sized = bytes;
    const char big[4] = {static_cast<char>(side >> 8), static_cast<char>(side & 0xFF),
                         static_cast<char>(side >> 8), static_cast<char>(side & 0xFF)};
    sized.replace(frame + 5, 4, big, 4);
    return folder.Write(name, sized);
  };
  EXPECT_EQ(JpegPictureSize(withSize("16400.jpg", 16400)), (Size{16400, 16400}));
  const auto opened = ImageFile::Open(withSize("16400b.jpg", 16400));
  ASSERT_TRUE(opened);
  EXPECT_EQ(opened->size(), (Size{16400, 16400}));
  EXPECT_EQ(JpegPictureSize(withSize("23170.jpg", 23170)), (Size{23170, 23170}));
  EXPECT_FALSE(JpegPictureSize(withSize("23200.jpg", 23200)));  // 538 megapixels
  EXPECT_EQ(CheckPicture(folder.File("23200.jpg")), PictureProblem::TooLarge);
}

}  // namespace
}  // namespace qr::win
