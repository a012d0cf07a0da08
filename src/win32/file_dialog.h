#pragma once
// The system's open and save dialogs, filled from one plain description.
#include <windows.h>
// commdlg.h needs windows.h before it.
#include <commdlg.h>

#include <optional>
#include <string>
#include <vector>

namespace qr::win {

// The save dialogs' flags: ask before replacing a file, hide the read-only box, accept another extension
// (0x406).
inline constexpr DWORD kSaveDialogFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXTENSIONDIFFERENT;

struct FileDialogSpec {
  HWND owner = nullptr;
  std::string filterName;     // one filter entry: its name ("壁紙ﾌｧｲﾙ (bmp jpg)")...
  std::string filterPattern;  // ...and its patterns ("*.bmp;*.jpg")
  struct Filter {
    std::string name, pattern;
  };
  std::vector<Filter> moreFilters;  // entries offered after the first one
  std::string initialName;    // the file-name box's first text ("*.bmp"), may be empty
  std::string title;
  DWORD flags = 0;               // OFN_* flags, passed as they are
  std::string defaultExtension;  // appended to a name typed without one (no dot); empty for none
  std::string initialFolder;
};

// The chosen path (UTF-8), or nothing when the dialog was cancelled or failed.
std::optional<std::string> ShowOpenDialog(const FileDialogSpec& request);
std::optional<std::string> ShowSaveDialog(const FileDialogSpec& request);

}  // namespace qr::win
