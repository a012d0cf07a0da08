/* The benchmark's floor: a Windows program that asks for the screen size and ends, with no C or C++
   runtime and nothing but kernel32 and user32 imported. Its whole-process time is what Wine (with its
   display driver) costs any program; everything a run of ours takes above it is ours.
   It asks from a thread of its own, as the program does: under Wine the display driver's start took
   24 to 26 ms there and 57 to 79 ms on the thread a process starts with (interleaved runs, the same
   machine), so asking on that thread would count Wine's slower way as everybody's floor.
   When QUELM_STEP_TIMES names a file it notes its steps there as the program does (the process's creation,
   its entry, the screen size known, its exit, as system time in 100 ns units), so that the benchmark can
   set its split beside ours; without the variable it asks for nothing else. */
#include <windows.h>

static ULONGLONG Value(FILETIME t) { return ((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime; }

static ULONGLONG Now(void) {
  FILETIME t;
  GetSystemTimePreciseAsFileTime(&t);
  return Value(t);
}

/* " <name>=<decimal t>" at `out`; returns the end. */
static char* Field(char* out, const char* name, ULONGLONG t) {
  char digits[24];
  int n = 0;
  *out++ = ' ';
  while (*name) *out++ = *name++;
  *out++ = '=';
  do {
    digits[n++] = (char)('0' + t % 10);
    t /= 10;
  } while (t);
  while (n) *out++ = digits[--n];
  return out;
}

static void Note(ULONGLONG entry, ULONGLONG screen) {
  WCHAR path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"QUELM_STEP_TIMES", path, MAX_PATH);
  FILETIME created, exited, kernel, user;
  char line[160];
  char* end;
  HANDLE file;
  DWORD written;
  if (length == 0 || length >= MAX_PATH) return;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  end = Field(line, "created", Value(created));
  end = Field(end, "loader and runtime", entry);
  end = Field(end, "display query", screen);
  end = Field(end, "exit", Now());
  *end++ = '\r';
  *end++ = '\n';
  file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return;
  WriteFile(file, line + 1, (DWORD)(end - line - 1), &written, NULL);
  CloseHandle(file);
}

static DWORD WINAPI AskScreenWidth(void* width) {
  *(int*)width = GetSystemMetrics(SM_CXSCREEN);
  return 0;
}

/* The process's entry, named to the linker: no runtime start-up runs before it. */
void FloorEntry(void) {
  const ULONGLONG entry = Now();
  int width = 0;
  HANDLE asking = CreateThread(NULL, 0, AskScreenWidth, &width, 0, NULL);
  if (asking) {
    WaitForSingleObject(asking, INFINITE);
    CloseHandle(asking);
  }
  Note(entry, Now());
  ExitProcess(width > 0 ? 0 : 1);
}
