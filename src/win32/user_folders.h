#pragma once
// The user's own folders that the program keeps files in, as the session names them.
#include <string>

namespace qr::win {

enum class UserFolder {
  LocalAppData,    // %LOCALAPPDATA%: this computer's files of the user (created when missing)
  RoamingAppData,  // %APPDATA%: the files that follow the user
};

// The folder's path without a trailing separator, empty when the system has none.
std::string UserFolderPath(UserFolder folder);

}  // namespace qr::win
