// Finding and removing the temporaries of the program's own names left by a write cut short.
#include "shared/stale_temporaries.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "core/list_file.h"
#include "core/settings.h"
#include "shared/fixed_files.h"
#include "win32/files.h"
#include "win32/text.h"

namespace qr {

namespace {

constexpr std::string_view kTemporarySuffix = ".tmp~";

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool TakePrefix(std::string_view& text, std::string_view prefix) {
  if (text.substr(0, prefix.size()) != prefix) return false;
  text.remove_prefix(prefix.size());
  return true;
}

// Removes leading digits; false when there were none.
bool TakeDigits(std::string_view& text) {
  size_t n = 0;
  while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
  text.remove_prefix(n);
  return n > 0;
}

bool IsNumberedWallpaper(std::string_view stem) {
  if (!TakePrefix(stem, "quelm_rask")) return false;
  TakeDigits(stem);
  return stem == ".bmp";
}

bool IsSettingsCopy(std::string_view stem) {
  return TakePrefix(stem, Lower(kSettingsFileName) + ".") && TakeDigits(stem) && TakePrefix(stem, "-") &&
         TakeDigits(stem) && stem.empty();
}

// A wallpaper's part for joining its monitors into one bitmap: "Quelm_Rask.bmp.part2~".
bool IsWallpaperPart(std::string_view stem) {
  const size_t part = stem.rfind(".part");
  if (part == std::string_view::npos || stem.empty() || stem.back() != '~') return false;
  std::string_view number = stem.substr(part + 5, stem.size() - part - 6);
  return TakeDigits(number) && number.empty() && IsNumberedWallpaper(stem.substr(0, part));
}

}  // namespace

bool IsOwnTemporaryName(std::string_view name) {
  const std::string lower = Lower(name);
  const bool temporary = lower.size() > kTemporarySuffix.size() &&
                         lower.substr(lower.size() - kTemporarySuffix.size()) == kTemporarySuffix;
  const std::string_view stem =
      std::string_view(lower).substr(0, lower.size() - (temporary ? kTemporarySuffix.size() : 0));
  if (IsWallpaperPart(stem)) return true;
  if (!temporary) return false;
  const std::string list = Lower(kListFileName);
  for (const std::string& fixed : {Lower(kTempBitmapName), Lower(kLastWallpaperName), list, list + ".new",
                                   std::string("quelm_rask.html")})
    if (stem == fixed) return true;
  return IsNumberedWallpaper(stem) || IsSettingsCopy(stem);
}

bool ClaimSoleInstance(const wchar_t* name) {
  HANDLE claim = CreateMutexW(nullptr, FALSE, name);
  if (!claim) return false;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(claim);
    return false;
  }
  return true;  // held, on purpose, until the process ends
}

namespace {

void RemoveNamed(const std::string& folder, bool (*matches)(std::string_view name)) {
  if (folder.empty()) return;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(win::ApiPath(folder + "\\*~").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = win::Utf8(found.cFileName);
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && matches(name))
      win::DeletePath(folder + "\\" + name);  // refused while a writer has it open
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace

void RemoveOwnTemporaries(const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) RemoveNamed(folder, IsOwnTemporaryName);
}

bool IsLayoutTemporaryName(std::string_view name) {
  std::string stem = Lower(name);
  if (stem.ends_with(kTemporarySuffix)) stem.resize(stem.size() - kTemporarySuffix.size());
  constexpr std::string_view kFresh = ".bmp.new~";
  if (!stem.ends_with(kFresh)) return false;
  stem.resize(stem.size() - kFresh.size());
  if (stem == "span") return true;
  constexpr std::string_view kMonitor = "monitor";
  return stem.size() > kMonitor.size() && stem.starts_with(kMonitor) &&
         std::all_of(stem.begin() + kMonitor.size(), stem.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void RemoveLayoutTemporaries(const std::string& folder) {
  std::string trimmed = folder;
  if (!trimmed.empty() && (trimmed.back() == '\\' || trimmed.back() == '/')) trimmed.pop_back();
  RemoveNamed(trimmed, IsLayoutTemporaryName);
}

void RemoveStaleTemporariesAtStart(const std::string& programFolder) {
  if (!ClaimSoleInstance(kInstanceClaimName)) return;
  const FixedFileFolders fixed = DefaultFixedFileFolders();
  std::vector<std::string> folders = {programFolder, fixed.preferred, fixed.fallback};
  for (std::string& folder : folders)
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  std::sort(folders.begin(), folders.end());
  folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
  RemoveOwnTemporaries(folders);
}

}  // namespace qr
