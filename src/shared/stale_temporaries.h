#pragma once
// Temporaries that a write cut short leaves behind. Every file the program replaces is written beside it
// under a temporary name and then moved over it; a process killed in between leaves that temporary,
// which nothing else would ever remove. At start, when no other instance of the program is running (and
// so none can be writing one), the temporaries of the program's own names are removed: only those, in
// the folders the program writes to.
#include <string>
#include <string_view>
#include <vector>

namespace qr {

// "Quelm_Rask.bmp.tmp~", "Quelm_Rask2.bmp.tmp~" ..., "Quelm_Temp.bmp.tmp~", "Quelm_Rask.last.tmp~",
// "Quelm_Rask.rdm.tmp~", "Quelm_Rask.rdm.new.tmp~", "Quelm_Rask.html.tmp~" and the settings file's
// "Quelm_Rask.ini.<process>-<count>.tmp~", and the parts a wallpaper of several monitors is joined from
// ("Quelm_Rask.bmp.part2~", and its own ".tmp~"), in any case; no other name.
bool IsOwnTemporaryName(std::string_view name);

// True when no other process holds the named claim; this process then holds it until it ends. A claim
// that cannot be made (another user's, refused) counts as another instance's.
bool ClaimSoleInstance(const wchar_t* name);
inline constexpr const wchar_t* kInstanceClaimName = L"Global\\Quelm_Rask_Instance";

// Removes the files of those names from each folder; a file another process still has open stays.
void RemoveOwnTemporaries(const std::vector<std::string>& folders);

// A "/layout" folder's own temporaries ("monitor2.bmp.new~", "span.bmp.new~", and their ".tmp~"), in any
// case: a run killed while writing leaves a screen's worth of bytes each, which a later run with fewer
// monitors would never replace. Removed from `folder` by the next run there.
bool IsLayoutTemporaryName(std::string_view name);
void RemoveLayoutTemporaries(const std::string& folder);

// The start of a run that writes files: claims the instance and, when it is the only one, removes the
// temporaries from the program's folder and both folders of the fixed files.
void RemoveStaleTemporariesAtStart(const std::string& programFolder);

}  // namespace qr
