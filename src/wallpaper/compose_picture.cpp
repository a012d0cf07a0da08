// Placing pictures on the composed surface: the background picture's three placements and the desktop
// wallpaper's styles. Only the part of a picture that can be seen is decoded, and a picture much
// larger than its place on the screen is decoded at a reduced scale.
#include <algorithm>
#include <cmath>
#include <optional>

#include "core/geometry.h"
#include "wallpaper/compose_internal.h"
#include "win32/handles.h"
#include "win32/image.h"
#include "win32/step_times.h"

namespace qr::compose {

namespace {

using win::ImageFile;
using win::LoadedImage;
using win::Surface;

// The part of a w x h picture at `origin` that falls on a screen of `screen`'s size; empty when none does.
Rect VisiblePart(Size screen, Point origin, Size picture) {
  const int64_t left = std::max<int64_t>(0, -int64_t{origin.x});
  const int64_t top = std::max<int64_t>(0, -int64_t{origin.y});
  const int64_t right = std::min<int64_t>(picture.w, int64_t{screen.w} - origin.x);
  const int64_t bottom = std::min<int64_t>(picture.h, int64_t{screen.h} - origin.y);
  if (right <= left || bottom <= top) return {};
  return {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right - left),
          static_cast<int32_t>(bottom - top)};
}

Size SizeOf(const Surface& target) { return {target.width(), target.height()}; }

std::optional<LoadedImage> Decode(const ImageFile& file, const win::DecodeRequest& request,
                                  ComposeTimings* timings) {
  StageTimer timer(Field(timings, &ComposeTimings::decodeMs));
  std::optional<LoadedImage> image = file.Decode(request);
  win::steps::Mark("decoded");
  return image;
}

void FillPlace(Surface& target, const Rect& place, COLORREF colour) {
  const RECT rect{place.x, place.y, place.x + place.w, place.y + place.h};
  win::Brush brush(CreateSolidBrush(colour));
  FillRect(target.dc(), &rect, brush.get());
}

// The picture unscaled with its top-left corner at `origin`.
void DrawUnscaled(Surface& target, const ImageFile& file, Point origin, ComposeTimings* timings) {
  const Rect part = VisiblePart(SizeOf(target), origin, file.size());
  if (part.w <= 0) return;
  const auto image = Decode(file, {.part = part}, timings);
  if (!image) return;
  StageTimer timer(Field(timings, &ComposeTimings::placeMs));
  BitBlt(target.dc(), origin.x + image->region.x, origin.y + image->region.y, image->pixels.width(),
         image->pixels.height(), image->pixels.dc(), 0, 0, SRCCOPY);
}

// The whole picture stretched to `place`, rows and columns dropped or repeated, not blended. A JPEG goes
// straight into the target; if its data turns out damaged, what it left is covered with `behind` again
// and the picture is decoded as any other (the system's codec may show what it can of it).
void DrawStretched(Surface& target, const ImageFile& file, const Rect& place, COLORREF behind,
                   ComposeTimings* timings) {
  if (place.w <= 0 || place.h <= 0) return;
  {
    StageTimer timer(Field(timings, &ComposeTimings::decodeMs));
    if (file.DrawStretchedInto(target, place)) return;
  }
  FillPlace(target, place, behind);
  const auto image = Decode(file, {.drawSize = Size{place.w, place.h}}, timings);
  if (!image) return;
  StageTimer timer(Field(timings, &ComposeTimings::placeMs));
  const Surface& pixels = image->pixels;
  if (pixels.width() == place.w && pixels.height() == place.h) {
    BitBlt(target.dc(), place.x, place.y, place.w, place.h, pixels.dc(), 0, 0, SRCCOPY);
    return;
  }
  win::SavedDcState saved(target.dc());
  SetStretchBltMode(target.dc(), COLORONCOLOR);
  StretchBlt(target.dc(), place.x, place.y, place.w, place.h, pixels.dc(), 0, 0, pixels.width(),
             pixels.height(), SRCCOPY);
}

// The first tile at the top-left corner, repeated across the target's width by copying the covered
// width over again (`rows` of it): a few block transfers even for a one-pixel tile.
void DrawTileRow(HDC dc, int64_t width, const Surface& tile, int64_t tileWidth, int rows) {
  BitBlt(dc, 0, 0, tile.width(), tile.height(), tile.dc(), 0, 0, SRCCOPY);
  for (int64_t filled = tileWidth; filled < width; filled *= 2) {
    const int64_t copy = std::min(filled, width - filled);
    BitBlt(dc, static_cast<int>(filled), 0, static_cast<int>(copy), rows, dc, 0, 0, SRCCOPY);
  }
}

// Tiles from the top-left corner, column by column: whatever the loop's order, every pixel of the
// target then shows the picture at (x mod w, y mod h). The first tile is drawn and the covered area
// doubled by copying until the target is full: a few block transfers even for a one-pixel picture.
void DrawTiled(Surface& target, const ImageFile& file, ComposeTimings* timings) {
  const Size tile = file.size();
  if (TileOriginCount(target.width(), target.height(), tile.w, tile.h) == 0) return;
  const Rect part = VisiblePart(SizeOf(target), {0, 0}, tile);
  const auto image = Decode(file, {.part = part}, timings);
  if (!image) return;
  StageTimer timer(Field(timings, &ComposeTimings::placeMs));
  HDC dc = target.dc();
  const int64_t width = target.width();
  const int64_t height = target.height();
  DrawTileRow(dc, width, image->pixels, tile.w, static_cast<int>(std::min<int64_t>(tile.h, height)));
  for (int64_t filled = tile.h; filled < height; filled *= 2) {
    const int64_t copy = std::min(filled, height - filled);
    BitBlt(dc, 0, static_cast<int>(filled), static_cast<int>(width), static_cast<int>(copy), dc, 0, 0,
           SRCCOPY);
  }
}

// The picture scaled by the same factor in both directions so that it fits inside the screen (or, with
// `cover`, covers it), centred.
Rect ScaledToScreen(double screenW, double screenH, Size picture, bool cover) {
  if (picture.w <= 0 || picture.h <= 0) return {};
  const double scaleW = screenW / picture.w;
  const double scaleH = screenH / picture.h;
  const double scale = cover ? std::max(scaleW, scaleH) : std::min(scaleW, scaleH);
  const double w = picture.w * scale;
  const double h = picture.h * scale;
  return {RoundToInt32((screenW - w) / 2), RoundToInt32((screenH - h) / 2), RoundToInt32(w), RoundToInt32(h)};
}

std::optional<ImageFile> OpenPicture(const std::string& path, ComposeTimings* timings) {
  StageTimer timer(Field(timings, &ComposeTimings::decodeMs));
  return ImageFile::Open(path);
}

}  // namespace

void PlacePicture(Surface& target, const std::string& path, Placement placement, double screenW,
                  double screenH, COLORREF behind, ComposeTimings* timings) {
  if (placement == Placement::None || !target.ok()) return;
  const auto file = OpenPicture(path, timings);
  if (!file) return;
  const Size picture = file->size();
  switch (placement) {
    case Placement::Centred: {
      const Rect place = PlaceCentred(screenW, screenH, picture.w, picture.h);
      DrawUnscaled(target, *file, {place.x, place.y}, timings);
      break;
    }
    case Placement::Tiled:
      DrawTiled(target, *file, timings);
      break;
    case Placement::FullScreen:
    case Placement::None:
      DrawStretched(target, *file, PlaceFullScreen(screenW, screenH, picture.w, picture.h), behind, timings);
      break;
  }
}

bool DrawWallpaper(Surface& target, const win::CurrentWallpaper& wallpaper, COLORREF behind,
                   ComposeTimings* timings) {
  using Style = win::CurrentWallpaper::Style;
  const auto file = OpenPicture(wallpaper.path, timings);
  if (!file || !target.ok()) return false;
  const Size picture = file->size();
  const double screenW = target.width();
  const double screenH = target.height();
  switch (wallpaper.style) {
    case Style::Tile:
      DrawTiled(target, *file, timings);
      break;
    case Style::Stretch:
      DrawStretched(target, *file, {0, 0, target.width(), target.height()}, behind, timings);
      break;
    case Style::Fit:
    case Style::Fill:
      DrawStretched(target, *file, ScaledToScreen(screenW, screenH, picture, wallpaper.style == Style::Fill),
                    behind, timings);
      break;
    case Style::Centre: {
      const Rect place = PlaceCentred(screenW, screenH, picture.w, picture.h);
      DrawUnscaled(target, *file, {place.x, place.y}, timings);
      break;
    }
  }
  return true;
}

}  // namespace qr::compose

namespace qr {

BackgroundParts::BackgroundParts(const JobBackground& background, Size screen,
                                 const std::string& monitorWallpaper, ComposeTimings* timings)
    : screen_(screen), colour_(CreateSolidBrush(background.desktopColour)) {
  using Style = win::CurrentWallpaper::Style;
  switch (background.kind) {
    case BackgroundKind::CurrentWallpaper: {
      const auto wallpaper = compose::MonitorWallpaper(background, monitorWallpaper);
      if (wallpaper && wallpaper->style == Style::Centre)
        Centre(wallpaper->path, timings);
      else if (wallpaper && wallpaper->style == Style::Tile)
        Tile(wallpaper->path, timings);
      else
        ok_ = false;  // stretched, or the desktop as the system paints it
      break;
    }
    case BackgroundKind::ImageFile:
      if (background.placement == Placement::Centred)
        Centre(background.file, timings);
      else if (background.placement == Placement::Tiled)
        Tile(background.file, timings);
      else
        ok_ = background.placement == Placement::None;
      break;
    case BackgroundKind::DesktopColour:
      break;
  }
}

void BackgroundParts::Centre(const std::string& path, ComposeTimings* timings) {
  const auto file = compose::OpenPicture(path, timings);
  if (!file) return;
  const Rect place = PlaceCentred(screen_.w, screen_.h, file->size().w, file->size().h);
  const Rect part = compose::VisiblePart(screen_, {place.x, place.y}, file->size());
  if (part.w <= 0) return;
  auto image = compose::Decode(*file, {.part = part}, timings);
  if (!image) return;
  picture_ = std::move(image->pixels);
  pictureAt_ = {place.x + image->region.x, place.y + image->region.y};
}

void BackgroundParts::Tile(const std::string& path, ComposeTimings* timings) {
  const auto file = compose::OpenPicture(path, timings);
  if (!file) return;
  const Size tile = file->size();
  if (TileOriginCount(screen_.w, screen_.h, tile.w, tile.h) == 0) return;
  const auto image = compose::Decode(*file, {.part = compose::VisiblePart(screen_, {0, 0}, tile)}, timings);
  if (!image) return;
  compose::StageTimer timer(compose::Field(timings, &ComposeTimings::placeMs));
  const int rows = std::min(tile.h, screen_.h);
  // In the written file's own layout, so that laying it on a band copies rows.
  tileRow_.emplace(screen_.w, rows);
  if (!tileRow_->ok()) {
    ok_ = false;
    return;
  }
  compose::DrawTileRow(tileRow_->dc(), screen_.w, image->pixels, tile.w, rows);
  tileHeight_ = tile.h;
}

void BackgroundParts::Paint(HDC dc, Size size, Point corner) const {
  const RECT all{0, 0, size.w, size.h};
  FillRect(dc, &all, colour_.get());
  if (picture_.ok())
    BitBlt(dc, pictureAt_.x - corner.x, pictureAt_.y - corner.y, picture_.width(), picture_.height(),
           picture_.dc(), 0, 0, SRCCOPY);
  if (tileRow_ && tileHeight_ > 0) {
    const int64_t bottom = int64_t{corner.y} + size.h;
    for (int64_t y = corner.y - ((corner.y % tileHeight_) + tileHeight_) % tileHeight_; y < bottom;
         y += tileHeight_)
      BitBlt(dc, -corner.x, static_cast<int>(y - corner.y), tileRow_->width(), tileRow_->height(),
             tileRow_->dc(), 0, 0, SRCCOPY);
  }
}

}  // namespace qr
