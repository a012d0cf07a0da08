#pragma once
// The settings: keys, defaults, number forms, and the four reading and writing routines over a KeyStore.
#include <functional>
#include <string>
#include <string_view>

#include "core/app_state.h"
#include "core/key_store.h"

namespace qr {

inline constexpr std::string_view kSettingsSection = "Section";
inline constexpr std::string_view kSettingsFileName = "Quelm_Rask.ini";

// The folder of the executable: no trailing separator, except at a drive root ("C:\").
std::string ProgramFolderOf(std::string_view exePath);
// Program folder + "\" + name (a drive root therefore gives a doubled separator, which Windows accepts).
std::string FileInProgramFolder(std::string_view programFolder, std::string_view name);

using FileExistsFn = std::function<bool(const std::string&)>;

// Each reader reads its keys in their fixed order. A number that is malformed or does not fit 16 bits
// (32 bits for the editor's window position) stops the reader at that key: it and the keys after it
// keep the values they had, which at program start are the documented defaults.
void Load_Main_Settings(KeyStore& store, AppState& state, const FileExistsFn& fileExists);
void Save_Main_Settings(KeyStore& store, const AppState& state);
// Rows, columns and widths that a hand-edited file puts outside 1..34, 1..5 and 0..400 are brought back
// into those ranges, since the editor's grid cannot show anything else. "Text_Effect" and "Panel_Alpha"
// are read whatever stopped the reader before them; a missing, malformed or unknown value gives no
// effect and 50 percent.
void Load_Editor_Settings(KeyStore& store, AppState& state);
// The editor's window position is written as it stands (twips, possibly fractional, with enough digits
// to read back as the same position).
void Save_Editor_Settings(KeyStore& store, const AppState& state, double leftTwips, double topTwips);

}  // namespace qr
