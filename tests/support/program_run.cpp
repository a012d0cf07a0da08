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

// Appends what the pipe holds now, without waiting for more: a program the child started may hold the
// pipe open after the child ended.
void ReadAvailable(HANDLE pipe, std::string& out) {
  DWORD available = 0;
  while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
    std::string chunk(available, '\0');
    DWORD got = 0;
    if (!ReadFile(pipe, chunk.data(), available, &got, nullptr) || got == 0) return;
    out.append(chunk.data(), got);
  }
}

std::string BuiltProgramIn(const std::string& folder, const char* name) {
  const std::string built = FolderOf(win::ExecutablePath()) + "\\" + name;
  const std::string copy = folder + "\\" + name;
  if (GetFileAttributesW(win::ApiPath(copy).c_str()) != INVALID_FILE_ATTRIBUTES) return copy;
  return CopyFileW(win::ApiPath(built).c_str(), win::ApiPath(copy).c_str(), TRUE) ? copy : std::string();
}

std::string FromCodePage(const std::string& bytes, unsigned codePage) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  std::wstring wide(static_cast<size_t>(MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0)), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), static_cast<int>(wide.size()));
  return win::Utf8(wide);
}

}  // namespace

std::string ProgramIn(const std::string& folder) { return BuiltProgramIn(folder, "Quelm_Rask.exe"); }

std::string CompanionIn(const std::string& folder) {
  if (ProgramIn(folder).empty()) return {};
  return BuiltProgramIn(folder, "Quelm_Rask.com");
}

unsigned ConsoleCodePage() {
  const UINT codePage = GetConsoleOutputCP();
  return codePage ? codePage : GetOEMCP();
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
    ReadAvailable(readEnd, run.bytes);  // a full pipe would hold the child up
    if (ProcessHasVisibleWindow(process.dwProcessId)) run.windowShown = true;
    if (static_cast<int>(deadline - GetTickCount()) < 0) {
      TerminateProcess(process.hProcess, 99);
      WaitForSingleObject(process.hProcess, 5000);
      return run;
    }
  }
  DWORD code = 0;
  if (GetExitCodeProcess(process.hProcess, &code)) run.exitCode = code;
  ReadAvailable(readEnd, run.bytes);
  run.output = FromCodePage(run.bytes, ConsoleCodePage());
  return run;
}

}  // namespace qr::test
