#include "shared/skin.h"

namespace qr::skin {

forms::Picture Picture(int resourceId) { return forms::Picture::FromResource(resourceId); }

HCURSOR Pointer() {
  HCURSOR cursor = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_QR_POINTER));
  return cursor ? cursor : LoadCursorW(nullptr, IDC_HAND);
}

}  // namespace qr::skin
