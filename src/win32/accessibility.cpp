// The accessibility library on first use, and the high-contrast setting.
#include "win32/accessibility.h"

#include "win32/com.h"
#include "win32/run_time_function.h"

namespace qr::win {

namespace lazy {

namespace {

template <typename Function>
Function* FindInOleacc(const char* name) {
  return RunTimeFunction<Function>(L"oleacc.dll", name);
}

}  // namespace

LRESULT LresultFromObject(REFIID riid, WPARAM wParam, IUnknown* object) {
  static const auto real = FindInOleacc<decltype(::LresultFromObject)>("LresultFromObject");
  return real ? real(riid, wParam, object) : 0;
}

HRESULT CreateStdAccessibleObject(HWND wnd, LONG objectId, REFIID riid, void** object) {
  static const auto real = FindInOleacc<decltype(::CreateStdAccessibleObject)>("CreateStdAccessibleObject");
  if (object) *object = nullptr;
  return real ? real(wnd, objectId, riid, object) : E_NOTIMPL;
}

HRESULT AccessibleObjectFromWindow(HWND wnd, DWORD objectId, REFIID riid, void** object) {
  static const auto real = FindInOleacc<decltype(::AccessibleObjectFromWindow)>("AccessibleObjectFromWindow");
  if (object) *object = nullptr;
  return real ? real(wnd, objectId, riid, object) : E_NOTIMPL;
}

}  // namespace lazy

void JoinComForAccessibility() { static thread_local const ComApartment apartment; }

bool HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace qr::win
