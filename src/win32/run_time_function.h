#pragma once
// Functions looked up at run time: those that older systems lack (the program still starts without them)
// and those of libraries loaded only when first needed.
//
//   using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
//   static const auto getDpi =
//       RunTimeFunction<std::remove_pointer_t<GetDpiForWindowFn>>(L"user32.dll", "GetDpiForWindow");
//   if (getDpi) ...
#include <windows.h>

#include <type_traits>

namespace qr::win {

// Every library the process loads from now on, the system's own loads included, comes from the system
// folder: never one planted beside the program (a downloads folder, say). Called first thing at start.
void LoadLibrariesFromSystemFolderOnly();

// The address of `name` in `library` (a system library's file name), which is loaded from the system
// folder and kept loaded (as an import would be) unless it is in the process already; nothing when the
// library or the function is missing.
FARPROC RunTimeAddress(const wchar_t* library, const char* name);

// The same as a pointer to a function of type `Function` (e.g. `decltype(::InitCommonControlsEx)`).
template <typename Function>
Function* RunTimeFunction(const wchar_t* library, const char* name) {
  // Through a plain function pointer: the system hands every address out as the same type.
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(RunTimeAddress(library, name)));
}

}  // namespace qr::win
