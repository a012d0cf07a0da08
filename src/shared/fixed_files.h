#pragma once
// The bitmap the program writes under a fixed name: "Quelm_Rask.bmp", the composed wallpaper. (The opaque
// preview shows its picture from memory; "Quelm_Temp.bmp", the file it once wrote, is named only so that
// its temporaries are still cleared.) Its home is the root of drive C:, but a
// standard user may not create files there, so when that folder cannot be written the same name is
// used in the user's local application-data folder ("...\Quelm_Rask", created as needed). The choice is
// made once per process and then kept, so writing, installing and moving all agree.
#include <optional>
#include <string>

namespace qr {

inline constexpr const char* kWallpaperBitmapName = "Quelm_Rask.bmp";
inline constexpr const char* kTempBitmapName = "Quelm_Temp.bmp";
inline constexpr const char* kLastWallpaperName = "Quelm_Rask.last";

// The folder the fixed names are given in, without a trailing separator ("C:" for the root of C:).
std::string FixedFilesFolder();
std::string WallpaperBitmapPath();  // "C:\Quelm_Rask.bmp", or the same name in the fallback folder

// The remembered last wallpaper: in the user's own folder (the fallback folder, created as needed), never
// beside the table or the settings; empty when there is no such folder.
std::string LastWallpaperPath();

// Where the fixed files may go, in order of preference. Folders without a trailing separator.
struct FixedFileFolders {
  std::string preferred;  // tried first: used when a file can be created and deleted there
  std::string fallback;   // otherwise; created (with the folders above it) when missing
};
// The folders of a normal run: "C:" and the local application-data folder + "\Quelm_Rask".
FixedFileFolders DefaultFixedFileFolders();
// Replaces the folders (tests), or restores the default ones with nothing; forgets the choice made.
void OverrideFixedFileFolders(std::optional<FixedFileFolders> folders);

// True when a new file can be created (and is deleted again) in the folder.
bool FolderIsWritable(const std::string& folder);

}  // namespace qr
