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

// The settings file's number-to-text form: a leading blank before zero and positive values, a minus
// sign before negative ones; a fractional value keeps its fraction (" 1", "-1", " 1234.5"). Never in
// exponent form; NaN and infinities are written as " 0".
std::string FormatSettingNumber(double value);

// Reads a settings number back: blanks around it accepted, the integer part rounded toward minus
// infinity. Nothing when the text is not a number or does not fit 16 bits.
std::optional<int16_t> ParseSettingNumber(std::string_view text);

}  // namespace qr
