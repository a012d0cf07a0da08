// The table on the wallpaper: transparent cells (a framed, left-aligned, clipped line of text in the
// cell's own font and colour over the background) or opaque cells drawn as the editor's text boxes
// draw themselves. Transparent cells may carry a text effect: an outline or a shadow around the glyphs,
// or a translucent panel under the cells.
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/geometry.h"
#include "core/text_effect.h"
#include "wallpaper/compose_internal.h"
#include "win32/fonts.h"
#include "win32/handles.h"
#include "win32/screen.h"
#include "win32/text.h"

namespace qr {

namespace {

// Fonts made once per distinct cell font during one drawing, by the program's one font maker.
class FontCache {
 public:
  explicit FontCache(int pixelsPerInch) : pixelsPerInch_(pixelsPerInch > 0 ? pixelsPerInch : 96) {}

  HFONT Get(const CellFont& font) {
    for (const auto& [key, handle] : fonts_)
      if (key == font) return handle.get();
    fonts_.emplace_back(
        font, win::MakeFont(win::CellFontSpec(font.name, font.size, font.bold, font.italic), pixelsPerInch_));
    return fonts_.back().second.get();
  }

 private:
  int pixelsPerInch_;
  std::vector<std::pair<CellFont, win::Font>> fonts_;
};

RECT ToRect(const Rect& r) {
  return {r.x, r.y, static_cast<LONG>(std::min<int64_t>(int64_t{r.x} + r.w, INT32_MAX)),
          static_cast<LONG>(std::min<int64_t>(int64_t{r.y} + r.h, INT32_MAX))};
}

constexpr UINT kCellTextFormat = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;

// The cell's frame; returns the area inside it where the text goes, empty when there is no text to draw.
RECT FrameTransparentCell(HDC dc, const Cell& cell, const Rect& place) {
  if (place.w <= 0 || place.h <= 0) return {};
  RECT frame = ToRect(place);
  FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RECT inner{frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
  if (cell.text.empty() || inner.right <= inner.left || inner.bottom <= inner.top) return {};
  return inner;
}

void DrawTransparentCell(HDC dc, const Cell& cell, const Rect& place, FontCache& fonts) {
  RECT inner = FrameTransparentCell(dc, cell, place);
  if (IsRectEmpty(&inner)) return;
  win::Selection font(dc, fonts.Get(cell.font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, win::ResolveColour(cell.foreColor));
  std::wstring text = win::Wide(cell.text);
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &inner, kCellTextFormat);
}

PixelRows RowsOf(win::Surface& surface) {
  return {surface.Bits(), surface.width(), surface.height(), surface.width()};
}

// Transparent cells whose text has an outline or a shadow. Each text is drawn once, white on black, into
// a mask as large as the cell's inside, and composed from it with its halo onto the target: the halo
// costs a few passes over the text's pixels, not a drawing of the text for every direction.
class HaloCells {
 public:
  HaloCells(win::Surface& target, const CanvasTableLayout& layout, TextEffect effect, int32_t dpi)
      : target_(target), halo_(effect, HaloRadius(dpi)) {
    int w = 0, h = 0;
    for (const CellPlacement& cell : layout.cells) {
      w = std::max(w, cell.rect.w - 2);
      h = std::max(h, cell.rect.h - 2);
    }
    if (w <= 0 || h <= 0) return;
    mask_ = win::Surface(w, h);
    if (!mask_.ok()) return;
    SetBkMode(mask_.dc(), TRANSPARENT);
    SetTextColor(mask_.dc(), RGB(255, 255, 255));
  }

  void Draw(HDC dc, const Cell& cell, const Rect& place, FontCache& fonts) {
    if (!mask_.ok()) {
      DrawTransparentCell(dc, cell, place, fonts);
      return;
    }
    const RECT inner = FrameTransparentCell(dc, cell, place);
    if (IsRectEmpty(&inner)) return;
    const int w = inner.right - inner.left, h = inner.bottom - inner.top;
    // The mask's last drawing was flushed before its pixels were read.
    for (int y = 0; y < h; ++y) std::memset(mask_.Bits() + static_cast<size_t>(y) * mask_.width(), 0, w * 4u);
    {
      win::Selection font(mask_.dc(), fonts.Get(cell.font));
      const std::wstring text = win::Wide(cell.text);
      RECT local{0, 0, w, h};
      DrawTextW(mask_.dc(), text.data(), static_cast<int>(text.size()), &local, kCellTextFormat);
    }
    GdiFlush();
    halo_.Compose(RowsOf(target_), {inner.left, inner.top}, PixelRows{mask_.Bits(), w, h, mask_.width()},
                  RgbOfColour(win::ResolveColour(cell.foreColor)));
  }

 private:
  win::Surface& target_;
  HaloText halo_;
  win::Surface mask_;
};

// Each cell's back colour mixed into the background under it; the cells abut, so together they make
// one panel the size of the table (in one colour unless the cells' colours differ).
void DrawPanel(win::Surface& target, const JobTable& table, const CanvasTableLayout& layout, int percent) {
  GdiFlush();
  for (const CellPlacement& cell : layout.cells)
    if (const Cell* content = table.At(cell.row, cell.col))
      BlendRect(RowsOf(target), cell.rect, RgbOfColour(win::ResolveColour(content->backColor)), percent);
}

constexpr int kClientEdge = 2;  // the classic sunken edge, each side

// One text box: its sunken edge over the whole cell, the client area in the back colour, and the text
// where a single-line text box puts it: one pixel inside the client area plus the fixed margin, one
// pixel down when the client area is at least a line and two pixels high, clipped to that line.
void DrawOpaqueCell(HDC dc, const Cell& cell, const Rect& place, FontCache& fonts) {
  if (place.w <= 0 || place.h <= 0) return;
  RECT outer = ToRect(place);
  win::SavedDcState saved(dc);
  IntersectClipRect(dc, outer.left, outer.top, outer.right, outer.bottom);
  DrawEdge(dc, &outer, EDGE_SUNKEN, BF_RECT);
  RECT client{outer.left + kClientEdge, outer.top + kClientEdge, outer.right - kClientEdge,
              outer.bottom - kClientEdge};
  if (client.right <= client.left || client.bottom <= client.top) return;
  const COLORREF back = win::ResolveColour(cell.backColor);
  win::Brush brush(CreateSolidBrush(back));
  FillRect(dc, &client, brush.get());
  if (cell.text.empty()) return;
  win::Selection font(dc, fonts.Get(cell.font));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const LONG clientHeight = client.bottom - client.top;
  RECT line{client.left + 1 + kCellTextMargin, client.top, client.right - 1 - kCellTextMargin, client.bottom};
  if (clientHeight >= metrics.tmHeight + 2) ++line.top;
  line.bottom = std::min<LONG>(line.top + metrics.tmHeight, client.bottom);
  IntersectClipRect(dc, line.left, line.top, line.right, line.bottom);
  SetTextColor(dc, win::ResolveColour(cell.foreColor));
  SetBkColor(dc, back);
  SetBkMode(dc, OPAQUE);
  const std::wstring text = win::Wide(cell.text);
  ExtTextOutW(dc, line.left, line.top, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

template <typename DrawCell>
void DrawCells(win::Surface& target, const JobTable& table, const CanvasTableLayout& layout, DrawCell draw) {
  HDC dc = target.dc();
  win::SavedDcState saved(dc);
  FontCache fonts(win::SystemDpi());  // point sizes at the session's resolution, as the cells show them
  for (const CellPlacement& cell : layout.cells)
    if (const Cell* content = table.At(cell.row, cell.col)) draw(dc, *content, cell.rect, fonts);
  GdiFlush();
}

}  // namespace

int32_t DrawTransparentTable(win::Surface& target, const JobTable& table, Point at, int32_t dpi,
                             ComposeTimings* timings, TableTextEffect effect) {
  compose::StageTimer timer(compose::Field(timings, &ComposeTimings::tableMs));
  const CanvasTableLayout layout = ScaledCanvasTable(at, table.rows, table.cols, table.widths, dpi);
  if (!target.ok()) return layout.endTableY;
  switch (effect.effect) {
    case TextEffect::Outline:
    case TextEffect::Shadow: {
      HaloCells cells(target, layout, effect.effect, dpi);
      DrawCells(target, table, layout,
                [&cells](HDC dc, const Cell& cell, const Rect& place, FontCache& fonts) {
                  cells.Draw(dc, cell, place, fonts);
                });
      break;
    }
    case TextEffect::Panel:
      DrawPanel(target, table, layout, PanelAlphaOf(effect.panelAlpha));
      DrawCells(target, table, layout, DrawTransparentCell);
      break;
    case TextEffect::None:
      DrawCells(target, table, layout, DrawTransparentCell);
      break;
  }
  return layout.endTableY;
}

void DrawOpaqueTable(win::Surface& target, const JobTable& table, Point at, int32_t dpi,
                     ComposeTimings* timings) {
  compose::StageTimer timer(compose::Field(timings, &ComposeTimings::tableMs));
  if (!target.ok()) return;
  DrawCells(target, table, ScaledCanvasTable(at, table.rows, table.cols, table.widths, dpi), DrawOpaqueCell);
}

}  // namespace qr
