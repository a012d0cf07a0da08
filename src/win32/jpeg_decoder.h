#pragma once
/* A small C interface over libjpeg's decompressor. libjpeg reports errors by a long jump; every jump
   starts and ends inside jpeg_decoder.c, so no C++ frame (and no destructor) is ever skipped. Pixels
   come out as 32-bit B, G, R, X, the layout of a 32-bit DIB. Corrupt data is an error here, not a
   warning: a damaged picture fails instead of showing grey or stale rows. */
#include <stddef.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct QrJpeg QrJpeg;

/* Reads the header from `file` (which stays the caller's to close). NULL when the stream is not a JPEG
   this decoder can turn into BGRX, states more than max_pixels pixels, or cannot be read. The decoder
   never allocates more than max_memory bytes of its own working memory. */
QrJpeg* qr_jpeg_open(FILE* file, long long max_pixels, size_t max_memory);
void qr_jpeg_size(const QrJpeg* jpeg, unsigned* width, unsigned* height);
/* Whether the picture comes in several scans (progressive): its decoder then holds every coefficient. */
int qr_jpeg_multiple_scans(const QrJpeg* jpeg);

/* Starts decoding at eighths / 8 of the full size (1..8) and gives the size of the rows to come.
   Returns 0 on failure. */
int qr_jpeg_start(QrJpeg* jpeg, int eighths, unsigned* width, unsigned* height);
/* Narrows the rows to come to at least the columns [*x, *x + *width) of the scaled picture; the
   decoder widens the range to its block boundaries and reports the range it chose. After start only. */
int qr_jpeg_crop(QrJpeg* jpeg, unsigned* x, unsigned* width);
/* Passes over `count` rows without producing them. */
int qr_jpeg_skip(QrJpeg* jpeg, unsigned count);
/* Decodes the next `count` rows into rows[0..count), each 4 * width bytes. */
int qr_jpeg_read(QrJpeg* jpeg, unsigned char** rows, unsigned count);
void qr_jpeg_close(QrJpeg* jpeg);

#ifdef __cplusplus
}
#endif
