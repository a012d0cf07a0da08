// The step log of one run (see step_times.h): a fixed table, so that noting a step allocates nothing.
#include "win32/step_times.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "win32/files.h"
#include "win32/run_time_function.h"

namespace qr::win::steps {

namespace {

constexpr const wchar_t* kVariable = L"QUELM_STEP_TIMES";
constexpr size_t kMaxSteps = 32;

struct Step {
  const char* name;
  uint64_t at;
};

struct Log {
  bool on = false;
  size_t count = 0;
  std::array<Step, kMaxSteps> steps{};
};

uint64_t Value(FILETIME t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

// The system time to the microsecond where the system has it (Windows 8 and later, Wine).
uint64_t Now() {
  static const auto precise =
      RunTimeFunction<void WINAPI(FILETIME*)>(L"kernel32.dll", "GetSystemTimePreciseAsFileTime");
  FILETIME t{};
  if (precise)
    precise(&t);
  else
    GetSystemTimeAsFileTime(&t);
  return Value(t);
}

Log& TheLog() {
  static Log log = [] {
    Log fresh;
    fresh.on = GetEnvironmentVariableW(kVariable, nullptr, 0) > 0;
    return fresh;
  }();
  return log;
}

std::string Line(const Log& log) {
  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  std::string line = "created=" + std::to_string(Value(created));
  for (size_t i = 0; i < log.count; ++i)
    line += std::string(" ") + log.steps[i].name + "=" + std::to_string(log.steps[i].at);
  return line + "\r\n";
}

}  // namespace

void Mark(const char* name) {
  Log& log = TheLog();
  if (!log.on || log.count == kMaxSteps) return;
  log.steps[log.count++] = {name, Now()};
}

void Finish() {
  Log& log = TheLog();
  if (!log.on) return;
  Mark("exit");
  const std::wstring path = EnvironmentVariable(kVariable);
  HANDLE file = path.empty() ? INVALID_HANDLE_VALUE
                             : CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string line = Line(log);
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  log.count = 0;
}

}  // namespace qr::win::steps
