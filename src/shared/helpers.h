#pragma once
// The shared routines every window uses: file existence, sending files to the recycle bin, and the zoom
// effect with which the editor and the font chooser open and close.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qr {

// True only when the path opens for reading as a file. One trailing "\" is dropped first, so a file
// typed with a trailing separator is tested itself. A folder, an empty path, a missing file and a file
// that cannot be read all give false. Never fails otherwise.
bool File_Exists(const std::string& path);

// Sends the files to the recycle bin through the shell, which asks its own confirmation, shows its own
// progress and reports its own errors. Relative names are made absolute first (the shell would delete
// them for good otherwise). Returns the shell's result (0 on success), made ERROR_CANCELLED whenever the
// user declined (see Recycle_Result).
int Recycle_Files(const std::vector<std::string>& paths);
// The result of a recycle request from the shell's answer: ERROR_CANCELLED when the user declined its
// question, whatever the result says (the aborted flag is set; some shells also return a non-zero
// result with it, or a cancel code of their own); otherwise the shell's result unchanged.
int Recycle_Result(int shellResult, bool anyOperationsAborted);

// Runs one step of a handler, so that every step runs even when the one before it failed: whatever it
// throws is dropped.
template <typename Step>
void RunStep(Step&& step) {
  try {
    step();
  } catch (...) {
  }
}

// Zoom effects between the empty rectangle at (x, y) (screen pixels, normally the cursor position when
// the window opened) and the window's rectangle.
void Open_Effect(HWND wnd, int16_t x, int16_t y);
void Close_Effect(HWND wnd, int16_t x, int16_t y);

}  // namespace qr
