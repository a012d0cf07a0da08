// The clipboard's text.
#include "win32/clipboard.h"

#include <cstring>

#include "win32/lazy_libraries.h"
#include "win32/text.h"

namespace qr::win {

namespace {

// Open while it lives. Another program may hold the clipboard for a moment: a few tries are made.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) {
    for (int attempt = 0; attempt < 5 && !open_; ++attempt) {
      open_ = OpenClipboard(owner) != FALSE;
      if (!open_) Sleep(10);
    }
  }
  ~OpenClipboardScope() {
    if (open_) CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  bool ok() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace

std::optional<std::string> ClipboardText(HWND owner) {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::nullopt;
  OpenClipboardScope clipboard(owner);
  if (!clipboard.ok()) return std::nullopt;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
  if (!text) return std::nullopt;
  // The block may be larger than its text: the text ends at its NUL, never beyond the block.
  const size_t capacity = GlobalSize(data) / sizeof(wchar_t);
  size_t length = 0;
  while (length < capacity && text[length] != L'\0') ++length;
  std::string utf8 = Utf8(std::wstring_view(text, length));
  GlobalUnlock(data);
  return utf8;
}

bool SetClipboardText(HWND owner, const std::string& utf8) {
  const std::wstring wide = Wide(utf8);
  const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!block) return false;
  void* target = GlobalLock(block);
  if (!target) {
    GlobalFree(block);
    return false;
  }
  std::memcpy(target, wide.c_str(), bytes);
  GlobalUnlock(block);
  OpenClipboardScope clipboard(owner);
  if (!clipboard.ok() || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, block)) {
    GlobalFree(block);
    return false;
  }
  return true;  // the clipboard owns the block now
}

std::vector<std::string> ClipboardFiles(HWND owner) {
  std::vector<std::string> names;
  if (!IsClipboardFormatAvailable(CF_HDROP)) return names;
  OpenClipboardScope clipboard(owner);
  if (!clipboard.ok()) return names;
  auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
  if (!drop) return names;
  const UINT count = lazy::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = lazy::DragQueryFileW(drop, i, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    name.resize(lazy::DragQueryFileW(drop, i, name.data(), length + 1));
    names.push_back(Utf8(name));
  }
  return names;  // the clipboard keeps its block: no DragFinish
}

}  // namespace qr::win
