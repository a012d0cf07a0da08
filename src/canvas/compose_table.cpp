// The transparent table: each cell a framed, left-aligned, clipped line of text in the cell's own font
// and colour, over the background.
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "canvas/compose_internal.h"
#include "core/geometry.h"
#include "win32/handles.h"
#include "win32/text.h"

namespace qr {

namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Fonts made once per distinct cell font during one drawing.
class FontCache {
 public:
  explicit FontCache(int pixelsPerInch) : pixelsPerInch_(pixelsPerInch > 0 ? pixelsPerInch : 96) {}

  HFONT Get(const CellFont& font) {
    for (const auto& [key, handle] : fonts_)
      if (key == font) return handle.get();
    fonts_.emplace_back(font, Create(font));
    return fonts_.back().second.get();
  }

 private:
  win::Font Create(const CellFont& font) const {
    LOGFONTW log{};
    // Sizes are points and may be fractional (10.5); the height is the character height in pixels.
    const double pixels = std::max(1.0, std::round(font.size * pixelsPerInch_ / 72.0));
    log.lfHeight = -static_cast<LONG>(std::min(pixels, 10000.0));
    log.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    log.lfItalic = font.italic ? TRUE : FALSE;
    // A Japanese face name asks for the Japanese character set, so that the mapper picks that face (or
    // a Japanese substitute) whatever the system code page; other faces keep their own.
    log.lfCharSet = IsAscii(font.name) ? DEFAULT_CHARSET : SHIFTJIS_CHARSET;
    log.lfOutPrecision = OUT_DEFAULT_PRECIS;
    log.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    log.lfQuality = DEFAULT_QUALITY;
    log.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring face = win::Wide(font.name);
    face.copy(log.lfFaceName, LF_FACESIZE - 1);
    return win::Font(CreateFontIndirectW(&log));
  }

  int pixelsPerInch_;
  std::vector<std::pair<CellFont, win::Font>> fonts_;
};

RECT ToRect(const Rect& r) {
  return {r.x, r.y, static_cast<LONG>(std::min<int64_t>(int64_t{r.x} + r.w, INT32_MAX)),
          static_cast<LONG>(std::min<int64_t>(int64_t{r.y} + r.h, INT32_MAX))};
}

void DrawCell(HDC dc, const Cell& cell, const Rect& place, FontCache& fonts) {
  if (place.w <= 0 || place.h <= 0) return;
  RECT frame = ToRect(place);
  FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RECT inner{frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
  if (cell.text.empty() || inner.right <= inner.left || inner.bottom <= inner.top) return;
  win::Selection font(dc, fonts.Get(cell.font));
  SetTextColor(dc, compose::ResolveColour(cell.foreColor));
  std::wstring text = win::Wide(cell.text);
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &inner,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

// The cells at the display scale, as the editor's grid shows them: each edge's design offset from the
// first cell (which lies 8 pixels inside the grid box in both directions) is scaled from the grid box's
// corner, as the toolkit scales the cell text boxes, so the table keeps its first corner at
// (`Table_X`, `Table_Y`) and the other cells land on the editor's cells. Nothing changes at 96 dots per
// inch.
void ScaleCellPlacements(CanvasTableLayout& layout, int32_t tableX, int32_t tableY, int dpi) {
  constexpr int64_t kFirstCellInset = 8;
  if (dpi == 96 || dpi <= 0) return;
  auto scaled = [dpi](int64_t origin, int64_t edge) {
    const auto px = [dpi](int64_t v) { return (v * dpi + (v >= 0 ? 48 : -48)) / 96; };
    const int64_t v = origin + px(edge - origin + kFirstCellInset) - px(kFirstCellInset);
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
  };
  for (CellPlacement& cell : layout.cells) {
    const int64_t right = int64_t{cell.rect.x} + cell.rect.w, bottom = int64_t{cell.rect.y} + cell.rect.h;
    const int32_t x = scaled(tableX, cell.rect.x), y = scaled(tableY, cell.rect.y);
    cell.rect = {x, y, scaled(tableX, right) - x, scaled(tableY, bottom) - y};
  }
}

}  // namespace

int32_t DrawTransparentTable(win::Surface& target, const TableModel& table, int32_t tableX, int32_t tableY,
                             int16_t rows, int16_t cols, const std::array<int16_t, 6>& widths,
                             ComposeTimings* timings) {
  compose::StageTimer timer(compose::Field(timings, &ComposeTimings::tableMs));
  CanvasTableLayout layout = LayoutCanvasTable(tableX, tableY, rows, cols, widths);
  if (!target.ok()) return layout.endTableY;
  HDC dc = target.dc();
  ScaleCellPlacements(layout, tableX, tableY, GetDeviceCaps(dc, LOGPIXELSY));
  win::SavedDcState saved(dc);
  SetBkMode(dc, TRANSPARENT);
  FontCache fonts(GetDeviceCaps(dc, LOGPIXELSY));
  for (const CellPlacement& cell : layout.cells)
    if (TableModel::Valid(cell.row, cell.col)) DrawCell(dc, table.At(cell.row, cell.col), cell.rect, fonts);
  GdiFlush();
  return layout.endTableY;
}

}  // namespace qr
