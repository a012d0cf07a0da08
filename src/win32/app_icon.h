#pragma once
// The program's icon (src/app/Quelm_Rask.ico, drawn by scripts/make-icon) for windows: the size the
// system shows at a given dpi, chosen from the icon's images rather than scaled from one.
#include <windows.h>

namespace qr::win {

// The icon at the title bar's (small) or Alt+Tab's (large) size for `dpi`; nothing when the module has
// no icon. Loaded once per size and kept for the run.
HICON AppIcon(bool large, int dpi);

// Gives the window the icon at its dpi (WM_SETICON, large and small): the taskbar, Alt+Tab and the
// title bar then show crisp images after a scaling change too.
void SetWindowIcons(HWND window, int dpi);

}  // namespace qr::win
