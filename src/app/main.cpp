// The program's entry: creates the shared state and the main window, then runs the message loop.
#include <windows.h>

#include "core/app_state.h"
#include "core/settings.h"
#include "forms/form.h"
#include "main_window/main_window.h"
#include "win32/files.h"
#include "win32/screen.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  qr::win::EnableDpiAwareness();  // where the manifest's per-monitor setting is not understood
  qr::AppState state;
  state.Program_Folder = qr::ProgramFolderOf(qr::win::ExecutablePath());

  qr::Quelm_Rask_M mainWindow(state, qr::RealMainWindowServices());
  mainWindow.Show();
  if (!mainWindow.Loaded()) return 1;

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (qr::forms::TranslateFormKey(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
