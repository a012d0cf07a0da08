// The skin: button faces, texture tile and pointer, loaded once.
#include "shared/skin.h"

#include "core/geometry.h"

namespace qr {

namespace skin {

forms::Picture Picture(int resourceId) { return forms::Picture::FromResource(resourceId); }

HCURSOR Pointer() {
  HCURSOR cursor = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_QR_POINTER));
  return cursor ? cursor : LoadCursorW(nullptr, IDC_HAND);
}

}  // namespace skin

Skin LoadSkin() {
  return Skin{skin::Picture(IDB_IMG_ON), skin::Picture(IDB_IMG_OFF), skin::Picture(IDB_PIC_MBL1),
              skin::Pointer()};
}

void TileTexture(forms::PictureBox& target, HDC tile, int tileW, int tileH) {
  target.SetContrastBackground(true);
  HDC dest = target.Dc();
  if (!tile || !dest) return;
  ForEachTileOrigin(target.ScaleWidth(), target.ScaleHeight(), tileW, tileH,
                    [&](Point p) { BitBlt(dest, p.x, p.y, tileW, tileH, tile, 0, 0, SRCCOPY); });
  target.Refresh();
}

}  // namespace qr
