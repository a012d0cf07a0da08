// Functions of system libraries looked up at run time.
#include "win32/run_time_function.h"

namespace qr::win {

FARPROC RunTimeAddress(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadLibraryW(library);
  return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace qr::win
