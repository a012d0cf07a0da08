#pragma once
// Microsoft Active Accessibility (oleacc) loaded when a screen reader first asks, so that a command-line
// render starts without it, and the system's high-contrast setting.
#include <windows.h>
// After <windows.h>:
#include <oleacc.h>

namespace qr::win {

namespace lazy {

// The oleacc functions of the same names; they fail with E_NOTIMPL (or 0) when oleacc is missing.
LRESULT LresultFromObject(REFIID riid, WPARAM wParam, IUnknown* object);
HRESULT CreateStdAccessibleObject(HWND wnd, LONG objectId, REFIID riid, void** object);
HRESULT AccessibleObjectFromWindow(HWND wnd, DWORD objectId, REFIID riid, void** object);

}  // namespace lazy

// Joins the calling thread (a window's) to COM for the rest of its life, once: the accessible objects
// handed to screen readers are marshalled through COM.
void JoinComForAccessibility();

// The child an accessible object's caller names is the object itself (CHILDID_SELF).
inline bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// A high-contrast theme is on (SPI_GETHIGHCONTRAST).
bool HighContrastOn();

}  // namespace qr::win
