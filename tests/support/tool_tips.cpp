#include "support/tool_tips.h"

#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>

namespace qr::test {

bool ThreadHasToolTip(const std::wstring& text) {
  struct Search {
    const std::wstring* wanted;
    bool found;
  } search{&text, false};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM out) CALLBACK -> BOOL {
        auto* s = reinterpret_cast<Search*>(out);
        wchar_t cls[64] = {};
        GetClassNameW(wnd, cls, 64);
        if (lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0) return TRUE;
        const int count = static_cast<int>(SendMessageW(wnd, TTM_GETTOOLCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
          wchar_t tip[128] = {};
          TOOLINFOW info{};
          info.cbSize = sizeof(info);
          info.lpszText = tip;
          if (SendMessageW(wnd, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&info)) && *s->wanted == tip)
            s->found = true;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace qr::test
