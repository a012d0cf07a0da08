#pragma once
// Drawing a window and its child windows off the screen, each window painting itself through
// WM_PRINTCLIENT, so that what is hidden, covered or off the screen comes out as it would look.
#include <windows.h>

#include "win32/surface.h"

namespace qr {

// A surface the size of the window (its outer rectangle) with the window and its visible children
// drawn into it, the children clipped to their parent's client area. Sunken client edges are drawn as
// the system draws them without a visual style (windows with a themed frame would differ). Empty for a
// window without area or on failure.
win::Surface RenderWindowTree(HWND wnd);

}  // namespace qr
