// The program's entry: runs a command-line request without any window, or creates the shared state and
// the main window and runs the message loop (the console companion starts the GUI program for that).
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/run_command_line.h"
#include "app/wiring.h"
#include "core/app_state.h"
#include "core/command_line.h"
#include "core/settings.h"
#include "forms/form.h"
#include "main_window/main_window.h"
#include "shared/data_folder.h"
#include "shared/stale_temporaries.h"
#include "win32/files.h"
#include "win32/run_time_function.h"
#include "win32/screen.h"
#include "win32/step_times.h"
#include "win32/text.h"

namespace {

// The arguments as the C runtime split them (the shell's splitter would load the shell at every start).
std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  if (!__wargv) return args;
  for (int i = 1; i < __argc; ++i) args.push_back(qr::win::Utf8(__wargv[i]));
  return args;
}

#ifndef QR_CONSOLE_COMPANION
// The windows, with the message loop until the main window closes.
int RunWindows(qr::AppState& state) {
  // The windows write the settings and the list; a command-line run never creates the folder.
  qr::EnsureDataFolder(state.Data_Folder);
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
#else
// The console companion without arguments: the GUI program beside it opens the windows, and the
// console gets its prompt back at once.
int StartWindowsProgram() {
  const std::string program = qr::GuiProgramPath(qr::win::ExecutablePath());
  std::wstring command = L"\"" + qr::win::Wide(program) + L"\"";
  // No standard handles: the windows must not hold the console's pipe open after this program ends.
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(qr::win::ApiPath(program).c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    qr::WriteToConsole("起動できません: " + program + "\r\n");
    return static_cast<int>(qr::RenderExit::InputMissing);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}
#endif

// The runs that write the program's own files first clear what a write cut short left (the console
// companion's start of the windows leaves that to them). A render to /out alone writes only where it is
// told.
bool WritesOwnFiles(const std::vector<std::string>& args) {
  using Kind = qr::CommandLine::Kind;
  const qr::CommandLine line = qr::ParseCommandLine(args);
#ifdef QR_CONSOLE_COMPANION
  if (line.kind == Kind::Windows) return false;
#endif
  if (line.kind == Kind::Render) return !line.render.out || line.render.set;
  return line.kind == Kind::Windows || line.kind == Kind::Refresh || line.kind == Kind::Watch;
}

int Run() {
  qr::win::steps::Mark("loader and runtime");
  qr::win::EnableDpiAwareness();  // where the manifest's per-monitor setting is not understood
  qr::AppState state;
  state.Program_Folder = qr::ProgramFolderOf(qr::win::ExecutablePath());
  state.Data_Folder = qr::ChooseDataFolder(state.Program_Folder);
  const std::vector<std::string> args = Arguments();
  if (WritesOwnFiles(args)) qr::RemoveStaleTemporariesAtStart(state.Data_Folder);
  if (const auto exitCode = qr::RunCommandLine(args, state.Data_Folder)) {
    qr::win::steps::Mark("freed");
    qr::win::steps::Finish();
    return *exitCode;
  }
#ifdef QR_CONSOLE_COMPANION
  return StartWindowsProgram();
#else
  return RunWindows(state);
#endif
}

}  // namespace

// The same sources make both programs: Quelm_Rask.exe (GUI subsystem) and its console companion
// Quelm_Rask.com (console subsystem, built with QR_CONSOLE_COMPANION), each with its subsystem's entry.
#ifdef QR_CONSOLE_COMPANION
int wmain(int, wchar_t**) {
  qr::win::LoadLibrariesFromSystemFolderOnly();
  return Run();
}
#else
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  qr::win::LoadLibrariesFromSystemFolderOnly();
  return Run();
}
#endif
