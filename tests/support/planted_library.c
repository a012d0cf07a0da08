/* A stand-in for a system library, planted beside the program under the system library's name: when
   anything loads it, it leaves a marker file beside itself (its own path with ".loaded" added). */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    wchar_t marker[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameW(self, marker, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
      lstrcatW(marker, L".loaded");
      HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
      if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
  }
  return TRUE;
}
