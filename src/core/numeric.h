#pragma once
// Numeric rules used throughout: rounding halves to even, 16-bit values, and the number text forms
// of the settings file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qr {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
int64_t RoundHalfEven(double value);

// The value as a 16-bit signed integer, or nothing when it does not fit.
std::optional<int16_t> ToInt16(int64_t value);
// The value as a 16-bit signed integer, clamped to that range.
int16_t SaturateInt16(int64_t value);

// The settings file's number-to-text form: a leading blank before zero and positive values, a minus
// sign before negative ones; a fractional value keeps its fraction (" 1", "-1", " 1234.5") with the
// fewest digits that read back as the same double, so its integer part reads back exactly. Never in
// exponent form; NaN and infinities are written as " 0".
std::string FormatSettingNumber(double value);

// Reads a settings number back: blanks around it accepted, the integer part of the decimal text (taken
// exactly, so no digit is lost to a double) rounded toward minus infinity. Nothing when the text is not
// a number or its integer part does not fit the type.
std::optional<int16_t> ParseSettingNumber(std::string_view text);
std::optional<int32_t> ParseSettingNumber32(std::string_view text);

}  // namespace qr
