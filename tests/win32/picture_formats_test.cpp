// Today's picture formats as the program shows them: transparency laid over the desktop colour, a
// photograph turned as its camera said, and the types the system's codecs offer.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "support/test_data.h"
#include "win32/com.h"
#include "win32/files.h"
#include "win32/image.h"
#include "win32/image_test_pictures.h"

namespace qr::win {
namespace {

using test::Near;
using test::QuadrantPicture;
using test::TempFolder;

TEST(PictureTransparency, TransparentPixelsShowTheMatteAndHalfTransparentOnesBlend) {
  TempFolder folder;
  const std::string path = folder.File("alpha.png");
  // Opaque red, fully transparent green, blue at half cover (alpha 128).
  ASSERT_TRUE(test::WritePngPixels(3, 1, {0xFFFF0000u, 0x0000FF00u, 0x800000FFu}, path));
  auto file = ImageFile::Open(path);
  ASSERT_TRUE(file);
  file->SetMatte(RGB(10, 20, 200));
  const auto image = file->Decode();
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixels.Pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(image->pixels.Pixel(1, 0), RGB(10, 20, 200));
  EXPECT_TRUE(Near(image->pixels.Pixel(2, 0), RGB(5, 10, 228), 2)) << std::hex << image->pixels.Pixel(2, 0);
  // By default the matte is the desktop colour, where the composer shows no picture.
  const auto plain = LoadImageFile(path);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->pixels.Pixel(1, 0), GetSysColor(COLOR_BACKGROUND));
}

uint32_t Crc32(std::string_view bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (const char ch : bytes) {
    crc ^= static_cast<unsigned char>(ch);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string BigEndian32(uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
          static_cast<char>(value)};
}

std::string PngChunk(std::string_view type, const std::string& data) {
  const std::string typed = std::string(type) + data;
  return BigEndian32(static_cast<uint32_t>(data.size())) + typed + BigEndian32(Crc32(typed));
}

// An 8-bit palette PNG of one row, written by hand (the data in a stored deflate block) as image
// programs write a transparent palette: a tRNS chunk giving the alpha of the first palette entries.
std::string PalettePng(const std::string& rgbPalette, const std::string& alphas, const std::string& indexes) {
  using namespace std::string_literals;
  const auto width = static_cast<uint32_t>(indexes.size());
  const std::string ihdr = BigEndian32(width) + BigEndian32(1) + "\x08\x03\0\0\0"s;
  const std::string row = "\0"s + indexes;  // filter: none
  uint32_t a = 1, b = 0;
  for (const char ch : row) {
    a = (a + static_cast<unsigned char>(ch)) % 65521;
    b = (b + a) % 65521;
  }
  const auto length = static_cast<uint16_t>(row.size());
  const std::string zlib = "\x78\x01\x01"s + static_cast<char>(length & 0xFF) +
                           static_cast<char>(length >> 8) + static_cast<char>(~length & 0xFF) +
                           static_cast<char>((~length >> 8) & 0xFF) + row + BigEndian32((b << 16) | a);
  return "\x89PNG\r\n\x1A\n"s + PngChunk("IHDR", ihdr) + PngChunk("PLTE", rgbPalette) +
         PngChunk("tRNS", alphas) + PngChunk("IDAT", zlib) + PngChunk("IEND", "");
}

// The system's codec may call such a frame opaque: the palette's alpha decides.
TEST(PictureTransparency, TransparentPaletteEntriesShowTheMatte) {
  using namespace std::string_literals;
  TempFolder folder;
  const std::string path =
      folder.Write("palette.png", PalettePng("\xFF\0\0\0\xFF\0"s, "\xFF\0"s, "\0\x01\0\x01"s));
  auto file = ImageFile::Open(path);
  ASSERT_TRUE(file);
  ASSERT_EQ(file->size(), (Size{4, 1}));
  file->SetMatte(RGB(10, 20, 200));
  const auto image = file->Decode();
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixels.Pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(image->pixels.Pixel(1, 0), RGB(10, 20, 200)) << std::hex << image->pixels.Pixel(1, 0);
  EXPECT_EQ(image->pixels.Pixel(3, 0), RGB(10, 20, 200));
}

// `jpeg` with an EXIF segment stating `orientation` put right after its start marker.
std::string WithOrientation(const std::string& jpeg, uint8_t orientation) {
  using namespace std::string_literals;
  const std::string tiff = "II*\0\x08\0\0\0\x01\0"s + "\x12\x01\x03\0\x01\0\0\0"s +
                           static_cast<char>(orientation) + "\0\0\0"s + "\0\0\0\0"s;
  const std::string exif = "Exif\0\0"s + tiff;
  const auto length = static_cast<uint16_t>(exif.size() + 2);
  return jpeg.substr(0, 2) + "\xFF\xE1"s + static_cast<char>(length >> 8) + static_cast<char>(length & 0xFF) +
         exif + jpeg.substr(2);
}

// A 160 x 120 photograph (red, green / blue, yellow quadrants) stored sideways: the camera says to turn it
// a quarter clockwise, so it shows 120 x 160 with blue at the top left and red at the top right.
TEST(PictureOrientation, JpegIsTurnedAsItsExifOrientationSaysWholePartAndScaled) {
  TempFolder folder;
  const std::string stored = folder.File("stored.jpg");
  ASSERT_TRUE(WriteJpegFile(QuadrantPicture(160, 120), stored, 0.95f));
  const std::string path = folder.Write("turned.jpg", WithOrientation(ReadFileBytes(stored).value_or(""), 6));
  auto file = ImageFile::Open(path);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size(), (Size{120, 160}));

  const auto whole = file->Decode();
  ASSERT_TRUE(whole);
  ASSERT_EQ(whole->pixels.width(), 120);
  ASSERT_EQ(whole->pixels.height(), 160);
  EXPECT_TRUE(Near(whole->pixels.Pixel(10, 10), RGB(0, 0, 255), 24));     // top left: blue
  EXPECT_TRUE(Near(whole->pixels.Pixel(110, 10), RGB(255, 0, 0), 24));    // top right: red
  EXPECT_TRUE(Near(whole->pixels.Pixel(10, 150), RGB(255, 255, 0), 24));  // bottom left: yellow
  EXPECT_TRUE(Near(whole->pixels.Pixel(110, 150), RGB(0, 255, 0), 24));   // bottom right: green

  const auto part = file->Decode({.part = Rect{60, 80, 60, 80}});  // the bottom-right quarter shown
  ASSERT_TRUE(part);
  EXPECT_EQ(part->region, (Rect{60, 80, 60, 80}));
  EXPECT_EQ(part->pixels.width(), 60);
  EXPECT_TRUE(Near(part->pixels.Pixel(30, 40), RGB(0, 255, 0), 24));

  const auto scaled = file->Decode({.drawSize = Size{30, 40}});
  ASSERT_TRUE(scaled);
  EXPECT_LT(scaled->pixels.width(), 120);
  EXPECT_EQ(scaled->pixels.width() * 4, scaled->pixels.height() * 3) << "turned at the reduced scale too";
  EXPECT_TRUE(Near(scaled->pixels.Pixel(2, 2), RGB(0, 0, 255), 40));

  Surface target(120, 160, RGB(1, 1, 1));
  EXPECT_FALSE(file->DrawStretchedInto(target, {0, 0, 120, 160})) << "the stored rows cannot go straight in";
}

// Two stray bytes after the EXIF segment: libjpeg-turbo's tools warn and go on, the program's decoder
// turns the file down, and the system's codec decodes it. It is turned all the same.
TEST(PictureOrientation, AJpegTheSystemCodecDecodesIsTurnedToo) {
  TempFolder folder;
  const std::string stored = folder.File("stored.jpg");
  ASSERT_TRUE(WriteJpegFile(QuadrantPicture(160, 120), stored, 0.95f));
  std::string bytes = WithOrientation(ReadFileBytes(stored).value_or(""), 6);
  const size_t afterExif =
      4 + ((static_cast<unsigned char>(bytes[4]) << 8) | static_cast<unsigned char>(bytes[5]));
  bytes.insert(afterExif, std::string(2, '\0'));
  auto file = ImageFile::Open(folder.Write("padded.jpg", bytes));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size(), (Size{120, 160}));
  const auto whole = file->Decode();
  ASSERT_TRUE(whole);
  ASSERT_EQ(whole->pixels.width(), 120);
  EXPECT_TRUE(Near(whole->pixels.Pixel(10, 10), RGB(0, 0, 255), 24));   // top left: blue
  EXPECT_TRUE(Near(whole->pixels.Pixel(110, 10), RGB(255, 0, 0), 24));  // top right: red
  const auto part = file->Decode({.part = Rect{60, 80, 60, 80}});
  ASSERT_TRUE(part);
  EXPECT_TRUE(Near(part->pixels.Pixel(30, 40), RGB(0, 255, 0), 24));
}

// Files that would draw as the desktop colour alone are found before anything is made.
TEST(PictureCheck, UndecodableTooLargeAndMissingPicturesAreTold) {
  using namespace std::string_literals;
  TempFolder folder;
  const std::string good = folder.File("good.jpg");
  ASSERT_TRUE(WriteJpegFile(QuadrantPicture(160, 120), good, 0.9f));
  const std::string jpeg = ReadFileBytes(good).value_or("");
  EXPECT_EQ(CheckPicture(good), PictureProblem::None);
  EXPECT_EQ(CheckPicture(folder.Write("cut.jpg", jpeg.substr(0, jpeg.size() / 2))),
            PictureProblem::Undecodable);
  EXPECT_EQ(CheckPicture(folder.Write("text.png", "これは画像ではありません\r\n")),
            PictureProblem::Undecodable);
  const std::string huge =
      "\x89PNG\r\n\x1A\n"s + PngChunk("IHDR", BigEndian32(30000) + BigEndian32(30000) + "\x08\x02\0\0\0"s);
  EXPECT_EQ(CheckPicture(folder.Write("huge.png", huge)), PictureProblem::TooLarge);
  EXPECT_EQ(CheckPicture(folder.File("missing.jpg")), PictureProblem::Missing);
  // A TIFF, whose header only its decoder reads, is held to the same limit by the size the decoder states.
  const std::string tiff =
      folder.Write("stated.tif", test::ReadTestData("pictures/stated_30000x20000.tif"));
  bool tooLarge = false;
  EXPECT_FALSE(ImageFile::Open(tiff, &tooLarge));
  EXPECT_TRUE(tooLarge);
  EXPECT_EQ(CheckPicture(tiff), PictureProblem::TooLarge);
  EXPECT_FALSE(ImageFile::Open(good, &tooLarge) && tooLarge);
  EXPECT_NE(PictureProblemMessage(PictureProblem::Undecodable, "C:\\a.png").find("C:\\a.png"),
            std::string::npos);
}

// A file of several pages (frames) of one colour each, written with the system's encoder.
bool WritePages(const GUID& container, const std::vector<COLORREF>& pages, const std::string& path) {
  ComApartment com;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  if (!com.ok() ||
      FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(factory.GetAddressOf()))) ||
      FAILED(factory->CreateStream(stream.GetAddressOf())) ||
      FAILED(stream->InitializeFromFilename(ApiPath(path).c_str(), GENERIC_WRITE)) ||
      FAILED(factory->CreateEncoder(container, nullptr, encoder.GetAddressOf())) ||
      FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)))
    return false;
  for (const COLORREF colour : pages) {
    ComPtr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    std::vector<BYTE> pixels(6);  // one row of two pixels
    for (size_t i = 0; i < pixels.size(); i += 3) {
      pixels[i] = GetBValue(colour);
      pixels[i + 1] = GetGValue(colour);
      pixels[i + 2] = GetRValue(colour);
    }
    if (FAILED(encoder->CreateNewFrame(frame.GetAddressOf(), nullptr)) ||
        FAILED(frame->Initialize(nullptr)) || FAILED(frame->SetSize(2, 2)) ||
        FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) ||
        FAILED(frame->WritePixels(1, 6, 6, pixels.data())) ||
        FAILED(frame->WritePixels(1, 6, 6, pixels.data())) || FAILED(frame->Commit()))
      return false;
  }
  return SUCCEEDED(encoder->Commit());
}

TEST(PicturePages, ATiffShowsItsFirstPage) {
  TempFolder folder;
  const std::string path = folder.File("pages.tif");
  ASSERT_TRUE(WritePages(GUID_ContainerFormatTiff, {RGB(200, 10, 10), RGB(10, 200, 10)}, path));
  const auto image = LoadImageFile(path);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixels.Pixel(1, 1), RGB(200, 10, 10));
}

TEST(PictureTypes, TheSystemsDecodersAddTheirTypes) {
  const std::vector<std::string>& types = DecodablePictureExtensions();
  for (const char* expected : {"bmp", "jpg", "jpeg", "png", "gif", "tif", "tiff"})
    EXPECT_NE(std::find(types.begin(), types.end(), expected), types.end()) << expected;
}

}  // namespace
}  // namespace qr::win
