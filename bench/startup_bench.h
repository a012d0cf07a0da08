#pragma once
// The program's start-up and table-file figures, for scripts/bench --compare.
#include <string>

namespace qr::bench {

// Starts `exe` (a copy of Quelm_Rask.exe in a folder of its own) `runs` times with no list file and
// `runs` times with a list of `entries` existing files, interleaved, and prints the median time from
// the process's creation until its main window waits for input, for both, and their ratio.
int RunStartup(const std::string& exe, int entries, int runs);

// Writes the benchmark's full 34 x 5 table as a ".qlm" file.
bool WriteBenchTable(const std::string& path);

// Times loading and saving that table file in this process; prints the medians.
int RunTableFile(const std::string& folder, int runs);

}  // namespace qr::bench
