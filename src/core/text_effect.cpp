// Text effects of transparent cells: outline, shadow and the translucent panel.
#include "core/text_effect.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qr {

namespace {

// A grid of 0..255 values over a window of the mask, with the glyphs' bounds.
struct Coverage {
  int x0 = 0, y0 = 0, w = 0, h = 0;  // the window, in mask pixels; empty when the mask holds nothing
  uint8_t* values = nullptr;         // the window's first value, rows `stride` apart
  int stride = 0;
  uint8_t* Row(int y) const { return values + static_cast<size_t>(y) * stride; }
  size_t Size() const { return static_cast<size_t>(w) * h; }
};

// A pixel's coverage as far as the halo goes: its green channel, the value of grey text and the middle
// one of coloured fringes, in one operation.
uint8_t CoverOf(uint32_t pixel) { return static_cast<uint8_t>(pixel >> 8); }

uint8_t Mix(unsigned under, unsigned over, unsigned alpha) {
  return static_cast<uint8_t>((under * (255u - alpha) + over * alpha + 127u) / 255u);
}

uint32_t MixPixel(uint32_t under, uint32_t over, unsigned alpha) {
  return (uint32_t{Mix((under >> 16) & 0xFFu, (over >> 16) & 0xFFu, alpha)} << 16) |
         (uint32_t{Mix((under >> 8) & 0xFFu, (over >> 8) & 0xFFu, alpha)} << 8) |
         Mix(under & 0xFFu, over & 0xFFu, alpha);
}

// The glyphs' coverage in a window around them wide enough for the halo (`reach` pixels each side),
// clipped to the mask; empty when the mask holds nothing. One pass over the mask's pixels.
Coverage CoverageOf(PixelRows mask, int reach, std::vector<uint8_t>& all) {
  all.resize(static_cast<size_t>(mask.width) * mask.height);
  int left = mask.width, top = mask.height, right = -1, bottom = -1;
  for (int y = 0; y < mask.height; ++y) {
    const uint32_t* row = mask.bits + static_cast<size_t>(y) * mask.stride;
    uint8_t* out = all.data() + static_cast<size_t>(y) * mask.width;
    uint32_t any = 0;
    for (int x = 0; x < mask.width; ++x) {
      any |= row[x];
      out[x] = CoverOf(row[x]);
    }
    if (!(any & 0xFFFFFFu)) continue;
    int first = 0, last = mask.width - 1;  // of any channel: the text is drawn within these bounds
    while (!(row[first] & 0xFFFFFFu)) ++first;
    while (!(row[last] & 0xFFFFFFu)) --last;
    left = std::min(left, first);
    right = std::max(right, last);
    top = std::min(top, y);
    bottom = y;
  }
  Coverage grid;
  if (right < 0) return grid;  // w = 0
  grid.x0 = std::max(0, left - reach);
  grid.y0 = std::max(0, top - reach);
  grid.w = std::min(mask.width, right + reach + 1) - grid.x0;
  grid.h = std::min(mask.height, bottom + reach + 1) - grid.y0;
  grid.stride = mask.width;
  grid.values = all.data() + static_cast<size_t>(grid.y0) * grid.stride + grid.x0;
  return grid;
}

// The largest value within `radius` of each, along a row. A radius of 1 (displays up to 143 dpi) takes
// one pass that keeps its three values at hand; larger ones a pass per step each way.
void WidenRow(const uint8_t* in, uint8_t* out, int width, int radius) {
  if (radius == 1) {
    uint8_t before = 0, here = in[0];
    for (int x = 0; x < width; ++x) {
      const uint8_t after = x + 1 < width ? in[x + 1] : uint8_t{0};
      out[x] = std::max(std::max(before, here), after);
      before = here;
      here = after;
    }
    return;
  }
  std::copy_n(in, width, out);
  for (int d = 1; d <= radius && d < width; ++d) {
    for (int x = 0; x + d < width; ++x) out[x] = std::max(out[x], in[x + d]);
    for (int x = d; x < width; ++x) out[x] = std::max(out[x], in[x - d]);
  }
}

// Each value becomes the largest within `radius` along x, then along y: the glyphs widened.
void Widen(const Coverage& grid, int radius, std::vector<uint8_t>& across) {
  across.resize(grid.Size());
  for (int y = 0; y < grid.h; ++y)
    WidenRow(grid.Row(y), across.data() + static_cast<size_t>(y) * grid.w, grid.w, radius);
  auto row = [&](int y) { return across.data() + static_cast<size_t>(y) * grid.w; };
  for (int y = 0; y < grid.h; ++y) {
    uint8_t* out = grid.Row(y);
    const int from = std::max(0, y - radius), to = std::min(grid.h - 1, y + radius);
    if (to - from == 2) {  // three rows in one pass
      const uint8_t *a = row(from), *b = row(from + 1), *c = row(to);
      for (int x = 0; x < grid.w; ++x) out[x] = std::max(std::max(a[x], b[x]), c[x]);
      continue;
    }
    std::copy_n(row(from), grid.w, out);
    for (int i = from + 1; i <= to; ++i) {
      const uint8_t* in = row(i);
      for (int x = 0; x < grid.w; ++x) out[x] = std::max(out[x], in[x]);
    }
  }
}

// Each value becomes the mean of the square of side 2 * radius + 1 around it, moved `radius` pixels
// down and right (what lies beyond the grid counts as empty).
void SoftenAndShift(const Coverage& grid, int radius, std::vector<unsigned>& across,
                    std::vector<unsigned>& sums) {
  const int side = 2 * radius + 1;
  const unsigned scale = 65536u / static_cast<unsigned>(side * side);  // a multiplication, not a division
  across.resize(grid.Size());  // sums along x of the squares moved right
  for (int y = 0; y < grid.h; ++y) {
    const uint8_t* in = grid.Row(y);
    unsigned* out = across.data() + static_cast<size_t>(y) * grid.w;
    unsigned sum = 0;
    for (int x = 0; x < grid.w; ++x) {
      sum += in[x];
      if (x >= side) sum -= in[x - side];
      out[x] = sum;
    }
  }
  sums.resize(static_cast<size_t>(grid.w));
  for (int y = 0; y < grid.h; ++y) {
    const unsigned* first = across.data() + static_cast<size_t>(std::max(0, y - 2 * radius)) * grid.w;
    std::copy_n(first, grid.w, sums.begin());
    for (const unsigned* in = first + grid.w; in <= across.data() + static_cast<size_t>(y) * grid.w;
         in += grid.w)
      for (int x = 0; x < grid.w; ++x) sums[static_cast<size_t>(x)] += in[x];
    uint8_t* out = grid.Row(y);
    for (int x = 0; x < grid.w; ++x)
      out[x] = static_cast<uint8_t>(std::min(255u, (sums[static_cast<size_t>(x)] * scale + 32768u) >> 16));
  }
}

}  // namespace

Rgb RgbOfColour(uint32_t colour) {
  return {static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8),
          static_cast<uint8_t>(colour >> 16)};
}

Rgb RgbOfPixel(uint32_t pixel) {
  return {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8), static_cast<uint8_t>(pixel)};
}

uint32_t PixelOf(Rgb colour) {
  return (uint32_t{colour.r} << 16) | (uint32_t{colour.g} << 8) | uint32_t{colour.b};
}

double RelativeLuminance(Rgb colour) {
  auto linear = [](uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.r) + 0.7152 * linear(colour.g) + 0.0722 * linear(colour.b);
}

double ContrastRatio(Rgb a, Rgb b) {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb HaloColourFor(Rgb text) {
  // Black contrasts (l + 0.05) / 0.05, white 1.05 / (l + 0.05): black wins from their crossing on.
  const double l = RelativeLuminance(text);
  return (l + 0.05) * (l + 0.05) >= 0.05 * 1.05 ? Rgb{} : Rgb{255, 255, 255};
}

int HaloRadius(int32_t dpi) { return std::max(1, (dpi + kDesignPixelsPerInch / 2) / kDesignPixelsPerInch); }

void BlendRect(PixelRows image, const Rect& area, Rgb colour, int percent) {
  const int64_t left = std::max<int64_t>(area.x, 0), top = std::max<int64_t>(area.y, 0);
  const int64_t right = std::min<int64_t>(int64_t{area.x} + area.w, image.width);
  const int64_t bottom = std::min<int64_t>(int64_t{area.y} + area.h, image.height);
  const unsigned opacity = static_cast<unsigned>(std::clamp(percent, 0, 100));
  auto mix = [opacity](uint8_t under, uint8_t over) {
    return static_cast<uint8_t>((under * (100u - opacity) + over * opacity + 50u) / 100u);
  };
  for (int64_t y = top; y < bottom; ++y) {
    uint32_t* row = image.bits + static_cast<size_t>(y) * image.stride;
    for (int64_t x = left; x < right; ++x) {
      const Rgb under = RgbOfPixel(row[x]);
      row[x] = PixelOf({mix(under.r, colour.r), mix(under.g, colour.g), mix(under.b, colour.b)});
    }
  }
}

namespace {

// The glyphs over their halo (the window's values, its opacity) on the image.
void ComposeOver(PixelRows image, Point at, PixelRows mask, const Coverage& window, Rgb text) {
  const uint32_t haloPixel = PixelOf(HaloColourFor(text)), textPixel = PixelOf(text);
  const int64_t left = int64_t{at.x} + window.x0, top = int64_t{at.y} + window.y0;
  const int xFrom = static_cast<int>(std::clamp<int64_t>(-left, 0, window.w));
  const int xTo = static_cast<int>(std::clamp<int64_t>(image.width - left, 0, window.w));
  for (int y = 0; y < window.h; ++y) {
    const int64_t iy = top + y;
    if (iy < 0 || iy >= image.height) continue;
    const uint32_t* glyphs = mask.bits + static_cast<size_t>(window.y0 + y) * mask.stride + window.x0;
    const uint8_t* alphas = window.Row(y);
    uint32_t* row = image.bits + static_cast<size_t>(iy) * image.stride + left;
    for (int x = xFrom; x < xTo; ++x) {
      const uint32_t cover = glyphs[x] & 0xFFFFFFu;
      if (cover == 0xFFFFFFu) {
        row[x] = textPixel;
        continue;
      }
      const unsigned alpha = alphas[x];
      if (cover == 0) {
        if (alpha == 255)
          row[x] = haloPixel;
        else if (alpha != 0)
          row[x] = MixPixel(row[x] & 0xFFFFFFu, haloPixel, alpha);
        continue;
      }
      // An edge of a glyph over its halo, each channel by its own coverage.
      const uint32_t under = alpha ? MixPixel(row[x] & 0xFFFFFFu, haloPixel, alpha) : row[x] & 0xFFFFFFu;
      row[x] = (uint32_t{Mix((under >> 16) & 0xFFu, text.r, (cover >> 16) & 0xFFu)} << 16) |
               (uint32_t{Mix((under >> 8) & 0xFFu, text.g, (cover >> 8) & 0xFFu)} << 8) |
               Mix(under & 0xFFu, text.b, cover & 0xFFu);
    }
  }
}

}  // namespace

HaloText::HaloText(TextEffect effect, int radius) : effect_(effect), radius_(std::max(radius, 1)) {}

void HaloText::Compose(PixelRows image, Point at, PixelRows mask, Rgb text) {
  if (effect_ != TextEffect::Outline && effect_ != TextEffect::Shadow) return;
  const Coverage halo = CoverageOf(mask, effect_ == TextEffect::Shadow ? 3 * radius_ : radius_, cover_);
  if (halo.w == 0) return;
  Widen(halo, radius_, across_);
  if (effect_ == TextEffect::Shadow) SoftenAndShift(halo, radius_, sums_, rowSums_);
  ComposeOver(image, at, mask, halo, text);
}

}  // namespace qr
