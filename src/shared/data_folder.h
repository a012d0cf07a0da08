#pragma once
// Where the settings file ("Quelm_Rask.ini") and the wallpaper list ("Quelm_Rask.rdm") live: beside the
// program whenever its folder can be written (a copied folder, a per-user install), so existing users'
// files stay where they are; otherwise (an install under Program Files) in the user's roaming
// application-data folder + "\Quelm_Rask", so each user keeps settings of their own. Chosen once at
// start-up; nothing else changes place.
#include <string>

namespace qr {

inline constexpr const char* kDataFolderName = "Quelm_Rask";

// The program folder when it is writable, else `roamingAppData` + "\Quelm_Rask". An empty roaming
// folder (none known) keeps the program folder, where saving fails as before rather than going nowhere.
std::string DataFolderFor(const std::string& programFolder, bool programFolderWritable,
                          const std::string& roamingAppData);
// The same with the system's answers: a probe file in the program folder and the user's roaming
// application-data folder (%APPDATA%).
std::string ChooseDataFolder(const std::string& programFolder);

// Creates the data folder when it is missing (its parent, %APPDATA%, exists); true when it is there.
bool EnsureDataFolder(const std::string& folder);

}  // namespace qr
