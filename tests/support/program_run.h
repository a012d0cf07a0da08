#pragma once
// Runs the program itself (Quelm_Rask.exe, built beside the test programs) as its own process, copied
// into a folder of the test's so that it reads that folder's settings file.
#include <optional>
#include <string>

namespace qr::test {

struct ProgramRun {
  std::optional<unsigned long> exitCode;  // nothing: it did not start or did not end in time
  std::string bytes;                      // what it wrote to its standard output, as written
  std::string output;                     // the same in UTF-8, read in the console's output code page
  bool windowShown = false;               // it showed a visible window while it ran
};

// Copies the program into `folder` (once) and returns the copy's path; empty on failure.
std::string ProgramIn(const std::string& folder);
// The same for the console companion (Quelm_Rask.com), with the GUI program beside it.
std::string CompanionIn(const std::string& folder);

// The console's output code page (the system's OEM code page without a console), which the program's
// messages through a pipe are written in.
unsigned ConsoleCodePage();

// Runs `program` with the command line `arguments` (quoted as needed by the caller) and waits for it.
ProgramRun RunProgram(const std::string& program, const std::string& arguments, int timeoutMs = 60000);

}  // namespace qr::test
