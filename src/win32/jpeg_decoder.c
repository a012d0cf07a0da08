/* libjpeg's decompressor behind the interface of jpeg_decoder.h. Each entry point sets its own jump
   target before calling into libjpeg, and its frame owns nothing that a jump could leak. */
#include "win32/jpeg_decoder.h"

#include <jpeglib.h>
#include <setjmp.h>
#include <stdlib.h>

struct QrJpeg {
  struct jpeg_decompress_struct info;
  struct jpeg_error_mgr errors;
  jmp_buf failure;
  int started;
};

static void Fail(j_common_ptr info) {
  QrJpeg* jpeg = (QrJpeg*)info->client_data;
  longjmp(jpeg->failure, 1);
}

/* Level -1 is a warning about corrupt data; higher levels are trace messages. */
static void Message(j_common_ptr info, int level) {
  if (level < 0) Fail(info);
}

static void Silent(j_common_ptr info) { (void)info; }

static int ReadHeader(QrJpeg* jpeg, FILE* file, long long max_pixels, size_t max_memory) {
  if (setjmp(jpeg->failure)) return 0;
  jpeg_create_decompress(&jpeg->info);
  jpeg->info.mem->max_memory_to_use = (long)(max_memory > 0x7FFFFFFF ? 0x7FFFFFFF : max_memory);
  jpeg_stdio_src(&jpeg->info, file);
  return jpeg_read_header(&jpeg->info, TRUE) == JPEG_HEADER_OK && jpeg->info.image_width > 0 &&
         jpeg->info.image_height > 0 &&
         (long long)jpeg->info.image_width * jpeg->info.image_height <= max_pixels &&
         (jpeg->info.jpeg_color_space == JCS_GRAYSCALE || jpeg->info.jpeg_color_space == JCS_YCbCr ||
          jpeg->info.jpeg_color_space == JCS_RGB);
}

QrJpeg* qr_jpeg_open(FILE* file, long long max_pixels, size_t max_memory) {
  QrJpeg* jpeg = (QrJpeg*)calloc(1, sizeof(QrJpeg));
  if (!jpeg) return NULL;
  jpeg->info.err = jpeg_std_error(&jpeg->errors);
  jpeg->errors.error_exit = Fail;
  jpeg->errors.emit_message = Message;
  jpeg->errors.output_message = Silent;
  jpeg->info.client_data = jpeg;
  if (!ReadHeader(jpeg, file, max_pixels, max_memory)) {
    qr_jpeg_close(jpeg);
    return NULL;
  }
  return jpeg;
}

void qr_jpeg_size(const QrJpeg* jpeg, unsigned* width, unsigned* height) {
  *width = jpeg->info.image_width;
  *height = jpeg->info.image_height;
}

int qr_jpeg_multiple_scans(const QrJpeg* jpeg) { return jpeg->info.progressive_mode ? 1 : 0; }

int qr_jpeg_start(QrJpeg* jpeg, int eighths, unsigned* width, unsigned* height) {
  if (jpeg->started || eighths < 1 || eighths > 8) return 0;
  if (setjmp(jpeg->failure)) return 0;
  jpeg->info.out_color_space = JCS_EXT_BGRX;
  jpeg->info.scale_num = (unsigned)eighths;
  jpeg->info.scale_denom = 8;
  jpeg->info.dct_method = JDCT_ISLOW;
  jpeg_start_decompress(&jpeg->info);
  jpeg->started = 1;
  *width = jpeg->info.output_width;
  *height = jpeg->info.output_height;
  return 1;
}

int qr_jpeg_crop(QrJpeg* jpeg, unsigned* x, unsigned* width) {
  JDIMENSION offset = *x, count = *width;
  if (!jpeg->started || jpeg->info.output_scanline != 0) return 0;
  if (setjmp(jpeg->failure)) return 0;
  jpeg_crop_scanline(&jpeg->info, &offset, &count);
  *x = offset;
  *width = count;
  return 1;
}

int qr_jpeg_skip(QrJpeg* jpeg, unsigned count) {
  if (!jpeg->started) return 0;
  if (setjmp(jpeg->failure)) return 0;
  return jpeg_skip_scanlines(&jpeg->info, count) == count;
}

int qr_jpeg_read(QrJpeg* jpeg, unsigned char** rows, unsigned count) {
  volatile unsigned done = 0;
  if (!jpeg->started) return 0;
  if (setjmp(jpeg->failure)) return 0;
  while (done < count) {
    const JDIMENSION got = jpeg_read_scanlines(&jpeg->info, rows + done, count - done);
    if (got == 0) return 0;
    done += got;
  }
  return 1;
}

void qr_jpeg_close(QrJpeg* jpeg) {
  if (!jpeg) return;
  jpeg_destroy_decompress(&jpeg->info);
  free(jpeg);
}
