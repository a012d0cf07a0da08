#pragma once
// The common controls, common dialogs, theming, shell and COM libraries, loaded when first called instead of
// when the program starts. Under Wine the common controls and theming libraries connect to the display
// and load the theme as soon as they are attached, and the shell brings several libraries of its own:
// about a fifth of the time a command-line render takes, which uses none of them.
// Each function has the signature and meaning of the system function of the same name. When the library
// or the function cannot be found it fails as that function fails, with ERROR_PROC_NOT_FOUND.
#include <windows.h>
// After <windows.h>:
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <propidl.h>
#include <shlobj.h>

namespace qr::win::lazy {

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls);

BOOL ChooseColorW(CHOOSECOLORW* record);
BOOL GetOpenFileNameW(OPENFILENAMEW* record);
BOOL GetSaveFileNameW(OPENFILENAMEW* record);

HRESULT SetWindowTheme(HWND wnd, LPCWSTR application, LPCWSTR classes);

int SHFileOperationW(SHFILEOPSTRUCTW* operation);
HRESULT SHGetKnownFolderPath(REFKNOWNFOLDERID folder, DWORD flags, HANDLE token, PWSTR* path);
HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder, INT show);
void DragAcceptFiles(HWND wnd, BOOL accept);
UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR name, UINT size);
void DragFinish(HDROP drop);

// COM, for the pictures the system's codecs decode, the per-monitor wallpapers and the shell's folders:
// under Wine, ole32 brings its own libraries and a thread of the server's along, which a render of a
// JPEG or of the desktop colour never uses.
HRESULT CoInitializeEx(LPVOID reserved, DWORD model);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID type, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object);
void CoTaskMemFree(LPVOID memory);
HRESULT PropVariantClear(PROPVARIANT* value);
// The automation library, for the strings handed to screen readers.
BSTR SysAllocString(const OLECHAR* text);

}  // namespace qr::win::lazy
