#include "support/program_run.h"

#include <windows.h>

#include <vector>

#include "win32/files.h"
#include "win32/handles.h"
#include "win32/text.h"

namespace qr::test {

namespace {

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

struct WindowSearch {
  DWORD process;
  bool found;
};

bool ProcessHasVisibleWindow(DWORD process) {
  WindowSearch search{process, false};
  EnumWindows(
      [](HWND window, LPARAM data) CALLBACK -> BOOL {
        auto* s = reinterpret_cast<WindowSearch*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s->process && IsWindowVisible(window)) s->found = true;
        return !s->found;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string ReadAll(HANDLE pipe) {
  std::string out;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof(buffer), &got, nullptr) && got > 0) out.append(buffer, got);
  return out;
}

}  // namespace

std::string ProgramIn(const std::string& folder) {
  const std::string built = FolderOf(win::ExecutablePath()) + "\\Quelm_Rask.exe";
  const std::string copy = folder + "\\Quelm_Rask.exe";
  if (GetFileAttributesW(win::ApiPath(copy).c_str()) != INVALID_FILE_ATTRIBUTES) return copy;
  return CopyFileW(win::ApiPath(built).c_str(), win::ApiPath(copy).c_str(), TRUE) ? copy : std::string();
}

ProgramRun RunProgram(const std::string& program, const std::string& arguments, int timeoutMs) {
  ProgramRun run;
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
  win::File reader(readEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring command = L"\"" + win::Wide(program) + L"\" " + win::Wide(arguments);
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      win::Wide(FolderOf(program)).c_str(), &startup, &process);
  CloseHandle(writeEnd);
  if (!started) return run;
  win::File processHandle(process.hProcess);
  CloseHandle(process.hThread);
  const DWORD deadline = GetTickCount() + static_cast<DWORD>(timeoutMs);
  while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) {
    if (ProcessHasVisibleWindow(process.dwProcessId)) run.windowShown = true;
    if (static_cast<int>(deadline - GetTickCount()) < 0) {
      TerminateProcess(process.hProcess, 99);
      WaitForSingleObject(process.hProcess, 5000);
      return run;
    }
  }
  DWORD code = 0;
  if (GetExitCodeProcess(process.hProcess, &code)) run.exitCode = code;
  run.output = ReadAll(readEnd);
  return run;
}

}  // namespace qr::test
