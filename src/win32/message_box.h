#pragma once
// The program's one kind of message box: modal, titled "Quelm_Rask".
#include <windows.h>

#include <string_view>

namespace qr::win {

inline constexpr UINT kWarningStyle = MB_OK | MB_ICONEXCLAMATION;   // 48
inline constexpr UINT kQuestionStyle = MB_YESNO | MB_ICONQUESTION;  // 36

// Shows `text` (UTF-8) with the MessageBox style given and returns the button pressed (IDOK, IDYES...),
// or 0 when the box could not be shown.
int ShowMessage(HWND owner, std::string_view text, UINT style);

}  // namespace qr::win
