#include "support/progressive_jpeg.h"

#include <csetjmp>
#include <cstdio>
// After <cstdio>:
#include <jpeglib.h>

#include "win32/files.h"

namespace qr::test {

namespace {

struct Errors {
  jpeg_error_mgr manager;
  std::jmp_buf failure;
};

// Jumps back into WriteProgressiveJpeg, whose frame owns nothing with a destructor.
void Fail(j_common_ptr info) { std::longjmp(reinterpret_cast<Errors*>(info->err)->failure, 1); }

}  // namespace

bool WriteProgressiveJpeg(const win::Surface& image, const std::string& path, int quality) {
  if (!image.ok() || image.width() <= 0 || image.height() <= 0) return false;
  FILE* file = _wfopen(win::ApiPath(path).c_str(), L"wb");
  if (!file) return false;
  jpeg_compress_struct info{};
  Errors errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = Fail;
  if (setjmp(errors.failure)) {
    jpeg_destroy_compress(&info);
    std::fclose(file);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(image.width());
  info.image_height = static_cast<JDIMENSION>(image.height());
  info.input_components = 4;
  info.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  GdiFlush();
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(
        const_cast<uint32_t*>(image.Bits() + static_cast<size_t>(info.next_scanline) * image.width()));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(file) == 0;
}

}  // namespace qr::test
