// Message boxes.
#include "win32/message_box.h"

#include "win32/text.h"

namespace qr::win {

int ShowMessage(HWND owner, std::string_view text, UINT style) {
  const int answer = MessageBoxW(owner, Wide(text).c_str(), L"Quelm_Rask", style);
  return answer > 0 ? answer : 0;
}

}  // namespace qr::win
