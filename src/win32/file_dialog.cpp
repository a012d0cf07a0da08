// The system's open and save dialogs.
#include "win32/file_dialog.h"

#include <commdlg.h>

#include "win32/lazy_libraries.h"
#include "win32/text.h"

namespace qr::win {

namespace {

// Room for the longest paths the file system allows.
constexpr size_t kFileBufferChars = 32768;

// OPENFILENAMEW points into these; they live for the duration of one dialog.
struct DialogBuffers {
  std::wstring filter, file, fileTitle, folder, title, extension;

  explicit DialogBuffers(const FileDialogSpec& request)
      : filter(Wide(request.filterName) + L'\0' + Wide(request.filterPattern) + L'\0'),
        file(Wide(request.initialName)),
        fileTitle(MAX_PATH, L'\0'),
        folder(Wide(request.initialFolder)),
        title(Wide(request.title)),
        extension(Wide(request.defaultExtension)) {
    // An initial name too long for the buffer is dropped rather than cut into a wrong name.
    if (file.size() >= kFileBufferChars) file.clear();
    file.resize(kFileBufferChars, L'\0');
    for (const FileDialogSpec::Filter& entry : request.moreFilters)
      filter += Wide(entry.name) + L'\0' + Wide(entry.pattern) + L'\0';
  }
};

OPENFILENAMEW Describe(const FileDialogSpec& request, DialogBuffers& b) {
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = request.owner;
  ofn.hInstance = GetModuleHandleW(nullptr);
  ofn.lpstrFilter = b.filter.c_str();  // name NUL pattern NUL, and the string's own NUL ends the list
  ofn.lpstrFile = b.file.data();
  ofn.nMaxFile = static_cast<DWORD>(b.file.size());
  ofn.lpstrFileTitle = b.fileTitle.data();
  ofn.nMaxFileTitle = static_cast<DWORD>(b.fileTitle.size());
  ofn.lpstrInitialDir = b.folder.empty() ? nullptr : b.folder.c_str();
  ofn.lpstrTitle = b.title.empty() ? nullptr : b.title.c_str();
  ofn.Flags = request.flags;
  ofn.lpstrDefExt = b.extension.empty() ? nullptr : b.extension.c_str();
  return ofn;
}

std::optional<std::string> ChosenPath(BOOL shown, const DialogBuffers& b) {
  if (!shown) return std::nullopt;
  const size_t end = b.file.find(L'\0');
  return Utf8(std::wstring_view(b.file).substr(0, end));
}

}  // namespace

std::optional<std::string> ShowOpenDialog(const FileDialogSpec& request) {
  DialogBuffers buffers(request);
  OPENFILENAMEW ofn = Describe(request, buffers);
  return ChosenPath(lazy::GetOpenFileNameW(&ofn), buffers);
}

std::optional<std::string> ShowSaveDialog(const FileDialogSpec& request) {
  DialogBuffers buffers(request);
  OPENFILENAMEW ofn = Describe(request, buffers);
  return ChosenPath(lazy::GetSaveFileNameW(&ofn), buffers);
}

}  // namespace qr::win
