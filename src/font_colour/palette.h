#pragma once
// The font chooser's palette of 72 text colours, eight to a row: 48 colours and the system's colours
// (which follow the user's colour scheme), and the names a screen reader gives them.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace qr {

inline constexpr int kPaletteColours = 72;

// The stored colour of palette swatch 1..72 (0x00BBGGRR, or 0x80000000 + n for system colour n);
// nothing for other indexes.
std::optional<uint32_t> Palette_Color(int index);

// The name of swatch 1..72 as a screen reader says it: the colour's common name ("赤"), the system
// colour's part of the screen ("システムの色 ボタンの表面"), or else its red, green and blue numbers.
std::string PaletteColourName(int index);

}  // namespace qr
