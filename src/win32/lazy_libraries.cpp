// The dialog, shell and theming functions, from their libraries loaded on first use.
#include "win32/lazy_libraries.h"

#include <uxtheme.h>

#include "win32/run_time_function.h"

namespace qr::win::lazy {

namespace {

constexpr const wchar_t* kControls = L"comctl32.dll";  // version 6, as the program's manifest asks
constexpr const wchar_t* kDialogs = L"comdlg32.dll";
constexpr const wchar_t* kTheming = L"uxtheme.dll";
constexpr const wchar_t* kShell = L"shell32.dll";
constexpr const wchar_t* kCom = L"ole32.dll";
constexpr const wchar_t* kAutomation = L"oleaut32.dll";

// The function `name` of `library`, loaded for good (as an import would be); nothing when missing.
template <typename Function>
Function* Find(const wchar_t* library, const char* name) {
  return RunTimeFunction<Function>(library, name);
}

template <typename Result>
Result Missing(Result failure) {
  SetLastError(ERROR_PROC_NOT_FOUND);
  return failure;
}

}  // namespace

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) {
  static const auto real = Find<decltype(::InitCommonControlsEx)>(kControls, "InitCommonControlsEx");
  return real ? real(controls) : Missing(FALSE);
}

BOOL ChooseColorW(CHOOSECOLORW* record) {
  static const auto real = Find<decltype(::ChooseColorW)>(kDialogs, "ChooseColorW");
  return real ? real(record) : Missing(FALSE);
}

BOOL GetOpenFileNameW(OPENFILENAMEW* record) {
  static const auto real = Find<decltype(::GetOpenFileNameW)>(kDialogs, "GetOpenFileNameW");
  return real ? real(record) : Missing(FALSE);
}

BOOL GetSaveFileNameW(OPENFILENAMEW* record) {
  static const auto real = Find<decltype(::GetSaveFileNameW)>(kDialogs, "GetSaveFileNameW");
  return real ? real(record) : Missing(FALSE);
}

HRESULT SetWindowTheme(HWND wnd, LPCWSTR application, LPCWSTR classes) {
  static const auto real = Find<decltype(::SetWindowTheme)>(kTheming, "SetWindowTheme");
  return real ? real(wnd, application, classes) : Missing(HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
}

int SHFileOperationW(SHFILEOPSTRUCTW* operation) {
  static const auto real = Find<decltype(::SHFileOperationW)>(kShell, "SHFileOperationW");
  return real ? real(operation) : Missing(static_cast<int>(ERROR_PROC_NOT_FOUND));
}

HRESULT SHGetKnownFolderPath(REFKNOWNFOLDERID folder, DWORD flags, HANDLE token, PWSTR* path) {
  static const auto real = Find<decltype(::SHGetKnownFolderPath)>(kShell, "SHGetKnownFolderPath");
  if (real) return real(folder, flags, token, path);
  if (path) *path = nullptr;
  return Missing(HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
}

HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder,
                        INT show) {
  static const auto real = Find<decltype(::ShellExecuteW)>(kShell, "ShellExecuteW");
  // Results up to 32 are failures; 0 is "out of memory or resources".
  return real ? real(owner, verb, file, parameters, folder, show) : Missing(HINSTANCE{nullptr});
}

void DragAcceptFiles(HWND wnd, BOOL accept) {
  static const auto real = Find<decltype(::DragAcceptFiles)>(kShell, "DragAcceptFiles");
  if (real) real(wnd, accept);
}

UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR name, UINT size) {
  static const auto real = Find<decltype(::DragQueryFileW)>(kShell, "DragQueryFileW");
  return real ? real(drop, index, name, size) : Missing(0u);
}

void DragFinish(HDROP drop) {
  static const auto real = Find<decltype(::DragFinish)>(kShell, "DragFinish");
  if (real) real(drop);
}

HRESULT CoInitializeEx(LPVOID reserved, DWORD model) {
  static const auto real = Find<decltype(::CoInitializeEx)>(kCom, "CoInitializeEx");
  return real ? real(reserved, model) : Missing(HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
}

void CoUninitialize() {
  // Only called after CoInitializeEx succeeded, which loaded the library.
  static const auto real = Find<decltype(::CoUninitialize)>(kCom, "CoUninitialize");
  if (real) real();
}

HRESULT CoCreateInstance(REFCLSID type, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object) {
  static const auto real = Find<decltype(::CoCreateInstance)>(kCom, "CoCreateInstance");
  if (real) return real(type, outer, context, iid, object);
  if (object) *object = nullptr;
  return Missing(HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
}

void CoTaskMemFree(LPVOID memory) {
  if (!memory) return;  // nothing to free need not load the library
  static const auto real = Find<decltype(::CoTaskMemFree)>(kCom, "CoTaskMemFree");
  if (real) real(memory);
}

HRESULT PropVariantClear(PROPVARIANT* value) {
  // Only called on a value a COM object filled in, which loaded the library.
  static const auto real = Find<decltype(::PropVariantClear)>(kCom, "PropVariantClear");
  return real ? real(value) : Missing(HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
}

BSTR SysAllocString(const OLECHAR* text) {
  static const auto real = Find<decltype(::SysAllocString)>(kAutomation, "SysAllocString");
  return real ? real(text) : nullptr;
}

}  // namespace qr::win::lazy
