#pragma once
// What keeps transparent cells' text readable over any picture: the contrast of two colours as WCAG
// defines it, the halo colour that contrasts with a text colour, and the pixel passes of the outline,
// the shadow and the translucent panel over plain rows of 0x00RRGGBB pixels (an off-screen surface's).
#include <cstdint>
#include <vector>

#include "core/geometry.h"
#include "core/wallpaper_job.h"

namespace qr {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

Rgb RgbOfColour(uint32_t colour);  // 0x00BBGGRR, as cells and GDI hold colours
Rgb RgbOfPixel(uint32_t pixel);    // 0x00RRGGBB, as a surface holds pixels
uint32_t PixelOf(Rgb colour);

// WCAG 2 relative luminance (0 black .. 1 white) and contrast ratio (1 .. 21).
double RelativeLuminance(Rgb colour);
double ContrastRatio(Rgb a, Rgb b);

// Black around light text, white around dark text: whichever contrasts more, at least 4.58 : 1.
Rgb HaloColourFor(Rgb text);

// The halo's width in pixels at a display scale: 1 at 96 dpi, rounding up from half a step beyond.
int HaloRadius(int32_t dpi);

// A whole image, or a part of one: `stride` pixels from one row to the next, top row first.
struct PixelRows {
  uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};

// Mixes `colour` into the rectangle (clipped to the image) at `percent` opacity, rounded to nearest.
void BlendRect(PixelRows image, const Rect& area, Rgb colour, int percent);

// Cells' text composed onto an image with its halo. Each text comes as a mask holding it drawn white on
// black (each channel the glyphs' coverage), whose top-left pixel goes to `at` of the image; what falls
// outside the image or the mask is left out. The outline is the glyphs widened by `radius` pixels; the
// shadow the same, softened over `radius` pixels and moved `radius` pixels down and right. The text goes
// over the halo in its colour. Other effects draw nothing. The working buffers stay from one text to the
// next.
class HaloText {
 public:
  HaloText(TextEffect effect, int radius);
  void Compose(PixelRows image, Point at, PixelRows mask, Rgb text);

 private:
  TextEffect effect_;
  int radius_;
  std::vector<uint8_t> cover_, across_;
  std::vector<unsigned> sums_, rowSums_;
};

}  // namespace qr
