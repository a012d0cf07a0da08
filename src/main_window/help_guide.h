#pragma once
// The user's guide behind "ﾍﾙﾌﾟ": one self-contained HTML page, shipped beside the program and compiled
// into it. The copy beside the program is preferred (it may be newer or translated); without it the
// program's own copy is written out to a folder of the user's and opened from there.
#include <string>
#include <string_view>

namespace qr {

inline constexpr const char* kGuideFileName = "Quelm_Rask.html";
inline constexpr const char* kGuideNotOpened = "ﾍﾙﾌﾟを開けませんでした！";

// The page compiled into the program (resource IDR_USER_GUIDE); empty when it is missing.
std::string_view Embedded_User_Guide();

// The guide to open: "<programFolder>\Quelm_Rask.html" when that file exists; otherwise
// "<writeFolder>\Quelm_Rask.html", written from `embedded` (and the folder created) unless it already
// holds exactly those bytes. Empty when there is no guide to open: no shipped copy and nothing embedded,
// or the write-out failed.
std::string Locate_User_Guide(const std::string& programFolder, const std::string& writeFolder,
                              std::string_view embedded);

}  // namespace qr
