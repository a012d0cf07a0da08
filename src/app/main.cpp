// The program's entry: runs a command-line request without any window, or creates the shared state and
// the main window and runs the message loop.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/render_command.h"
#include "app/wiring.h"
#include "core/app_state.h"
#include "core/settings.h"
#include "forms/form.h"
#include "main_window/main_window.h"
#include "win32/files.h"
#include "win32/screen.h"
#include "win32/text.h"

namespace {

// The arguments as the C runtime split them (the shell's splitter would load the shell at every start).
std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  if (!__wargv) return args;
  for (int i = 1; i < __argc; ++i) args.push_back(qr::win::Utf8(__wargv[i]));
  return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  qr::win::EnableDpiAwareness();  // where the manifest's per-monitor setting is not understood
  qr::AppState state;
  state.Program_Folder = qr::ProgramFolderOf(qr::win::ExecutablePath());
  if (const auto exitCode = qr::RunCommandLine(Arguments(), state.Program_Folder)) return *exitCode;

  const qr::Skin skin = qr::LoadSkin();
  qr::Quelm_Rask_M mainWindow(state, qr::ProgramWiring(state, skin));
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
