#include "core/text_effect.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qr {

namespace {

// A grid of 0..255 values over a window of the mask, with the glyphs' bounds.
struct Coverage {
  int x0 = 0, y0 = 0, w = 0, h = 0;  // the window, in mask pixels
  std::vector<uint8_t> values;       // w * h, row by row
  uint8_t& At(int x, int y) { return values[static_cast<size_t>(y) * w + x]; }
};

uint8_t Strongest(uint32_t pixel) {
  const Rgb c = RgbOfPixel(pixel);
  return std::max({c.r, c.g, c.b});
}

uint8_t Mix(uint8_t under, uint8_t over, unsigned alpha) {
  return static_cast<uint8_t>((under * (255u - alpha) + over * alpha + 127u) / 255u);
}

// The glyphs' coverage in a window around them wide enough for the halo (`reach` pixels each side),
// clipped to the mask; empty when the mask holds nothing.
Coverage CoverageOf(PixelRows mask, int reach) {
  int left = mask.width, top = mask.height, right = -1, bottom = -1;
  for (int y = 0; y < mask.height; ++y) {
    const uint32_t* row = mask.bits + static_cast<size_t>(y) * mask.stride;
    for (int x = 0; x < mask.width; ++x)
      if (row[x] & 0xFFFFFFu) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  }
  Coverage grid;
  if (right < 0) return grid;
  grid.x0 = std::max(0, left - reach);
  grid.y0 = std::max(0, top - reach);
  grid.w = std::min(mask.width, right + reach + 1) - grid.x0;
  grid.h = std::min(mask.height, bottom + reach + 1) - grid.y0;
  grid.values.resize(static_cast<size_t>(grid.w) * grid.h);
  for (int y = 0; y < grid.h; ++y) {
    const uint32_t* row = mask.bits + static_cast<size_t>(grid.y0 + y) * mask.stride + grid.x0;
    for (int x = 0; x < grid.w; ++x) grid.At(x, y) = Strongest(row[x]);
  }
  return grid;
}

// Each value becomes the largest within `radius` along x, then along y: the glyphs widened.
void Widen(Coverage& grid, int radius) {
  std::vector<uint8_t> pass(grid.values.size());
  for (int y = 0; y < grid.h; ++y)
    for (int x = 0; x < grid.w; ++x) {
      uint8_t most = 0;
      for (int i = std::max(0, x - radius); i <= std::min(grid.w - 1, x + radius); ++i)
        most = std::max(most, grid.At(i, y));
      pass[static_cast<size_t>(y) * grid.w + x] = most;
    }
  for (int y = 0; y < grid.h; ++y)
    for (int x = 0; x < grid.w; ++x) {
      uint8_t most = 0;
      for (int i = std::max(0, y - radius); i <= std::min(grid.h - 1, y + radius); ++i)
        most = std::max(most, pass[static_cast<size_t>(i) * grid.w + x]);
      grid.At(x, y) = most;
    }
}

// Each value becomes the mean of the square of side 2 * radius + 1 around it, moved `radius` pixels
// down and right (what lies beyond the grid counts as empty).
void SoftenAndShift(Coverage& grid, int radius) {
  const int side = 2 * radius + 1;
  std::vector<unsigned> sums(grid.values.size());
  for (int y = 0; y < grid.h; ++y)
    for (int x = 0; x < grid.w; ++x) {
      unsigned sum = 0;
      for (int i = std::max(0, x - radius); i <= std::min(grid.w - 1, x + radius); ++i) sum += grid.At(i, y);
      sums[static_cast<size_t>(y) * grid.w + x] = sum;
    }
  const unsigned area = static_cast<unsigned>(side * side);
  for (int y = grid.h - 1; y >= 0; --y)
    for (int x = grid.w - 1; x >= 0; --x) {
      const int cx = x - radius, cy = y - radius;  // the centre that lands here
      unsigned sum = 0;
      if (cx >= 0)
        for (int i = std::max(0, cy - radius); i <= std::min(grid.h - 1, cy + radius); ++i)
          sum += sums[static_cast<size_t>(i) * grid.w + cx];
      grid.At(x, y) = static_cast<uint8_t>((sum + area / 2) / area);
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
  const Rgb black{}, white{255, 255, 255};
  return ContrastRatio(text, black) >= ContrastRatio(text, white) ? black : white;
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

void ComposeHaloText(PixelRows image, Point at, PixelRows mask, Rgb text, TextEffect effect, int radius) {
  if (effect != TextEffect::Outline && effect != TextEffect::Shadow) return;
  radius = std::max(radius, 1);
  Coverage halo = CoverageOf(mask, effect == TextEffect::Shadow ? 3 * radius : radius);
  if (halo.values.empty()) return;
  Widen(halo, radius);
  if (effect == TextEffect::Shadow) SoftenAndShift(halo, radius);
  const Rgb haloColour = HaloColourFor(text);
  for (int y = 0; y < halo.h; ++y) {
    const int64_t iy = int64_t{at.y} + halo.y0 + y;
    if (iy < 0 || iy >= image.height) continue;
    const uint32_t* glyphs = mask.bits + static_cast<size_t>(halo.y0 + y) * mask.stride + halo.x0;
    uint32_t* row = image.bits + static_cast<size_t>(iy) * image.stride;
    for (int x = 0; x < halo.w; ++x) {
      const int64_t ix = int64_t{at.x} + halo.x0 + x;
      if (ix < 0 || ix >= image.width) continue;
      const unsigned alpha = halo.At(x, y);
      const Rgb cover = RgbOfPixel(glyphs[x]);
      if (alpha == 0 && cover == Rgb{}) continue;
      Rgb c = RgbOfPixel(row[ix]);
      c = {Mix(c.r, haloColour.r, alpha), Mix(c.g, haloColour.g, alpha), Mix(c.b, haloColour.b, alpha)};
      row[ix] = PixelOf({Mix(c.r, text.r, cover.r), Mix(c.g, text.g, cover.g), Mix(c.b, text.b, cover.b)});
    }
  }
}

}  // namespace qr
