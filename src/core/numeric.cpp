// Numeric rules: rounding, clamping and parsing as the program's stored values need.
#include "core/numeric.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace qr {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t SkipDigits(std::string_view text, size_t pos) {
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos;
}

// A decimal number text taken apart: [sign] digits [. digits] [e [sign] digits], at least one mantissa
// digit; nothing else (no "inf", "nan", hexadecimal).
struct DecimalText {
  bool negative = false;
  std::string digits;      // the mantissa's digits without the point and without leading zeros
  int64_t pointAfter = 0;  // the point's place after digits[pointAfter - 1], exponent applied
};

// The exponent's value, held within a bound far beyond any number a settings value can spell, so a long
// run of exponent digits cannot overflow.
int64_t ExponentValue(std::string_view digits, bool negative) {
  constexpr int64_t kBound = 1'000'000'000;
  int64_t value = 0;
  for (char c : digits) value = std::min(kBound, value * 10 + (c - '0'));
  return negative ? -value : value;
}

std::optional<DecimalText> ParseDecimalText(std::string_view text) {
  DecimalText number;
  size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) number.negative = text[pos++] == '-';
  const size_t intStart = pos;
  pos = SkipDigits(text, pos);
  const std::string_view intDigits = text.substr(intStart, pos - intStart);
  std::string_view fracDigits;
  if (pos < text.size() && text[pos] == '.') {
    const size_t fracStart = ++pos;
    pos = SkipDigits(text, pos);
    fracDigits = text.substr(fracStart, pos - fracStart);
  }
  if (intDigits.empty() && fracDigits.empty()) return std::nullopt;
  int64_t exponent = 0;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    bool negativeExponent = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negativeExponent = text[pos++] == '-';
    const size_t expStart = pos;
    pos = SkipDigits(text, pos);
    if (pos == expStart) return std::nullopt;
    exponent = ExponentValue(text.substr(expStart, pos - expStart), negativeExponent);
  }
  if (pos != text.size()) return std::nullopt;
  number.digits = std::string(intDigits) + std::string(fracDigits);
  const size_t leadingZeros = std::min(number.digits.find_first_not_of('0'), number.digits.size());
  number.digits.erase(0, leadingZeros);
  number.pointAfter = static_cast<int64_t>(intDigits.size()) - static_cast<int64_t>(leadingZeros) + exponent;
  return number;
}

// The integer part rounded toward minus infinity, or nothing beyond what 64 bits hold comfortably.
std::optional<int64_t> FloorOf(const DecimalText& number) {
  constexpr int64_t kMaxIntegerDigits = 18;
  const int64_t digitCount = static_cast<int64_t>(number.digits.size());
  if (number.pointAfter > kMaxIntegerDigits)
    return number.digits.empty() ? std::optional<int64_t>(0) : std::nullopt;
  int64_t whole = 0;
  for (int64_t i = 0; i < number.pointAfter; ++i)
    whole = whole * 10 + (i < digitCount ? number.digits[i] - '0' : 0);
  const int64_t fractionStart = std::max<int64_t>(number.pointAfter, 0);
  const bool hasFraction =
      fractionStart < digitCount &&
      number.digits.find_first_not_of('0', static_cast<size_t>(fractionStart)) != std::string::npos;
  if (!number.negative) return whole;
  return -whole - (hasFraction ? 1 : 0);
}

std::optional<int64_t> ParseSettingInteger(std::string_view text) {
  const std::optional<DecimalText> number = ParseDecimalText(TrimBlanks(text));
  if (!number) return std::nullopt;
  return FloorOf(*number);
}

template <typename Int>
std::optional<Int> Fitting(std::optional<int64_t> value) {
  if (!value || *value < std::numeric_limits<Int>::min() || *value > std::numeric_limits<Int>::max())
    return std::nullopt;
  return static_cast<Int>(*value);
}

// The shortest fixed-point text that reads back as `magnitude`.
std::string FormatMagnitude(double magnitude) {
  char buffer[400];  // the largest double has 309 integer digits, the smallest 324 fraction digits
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed);
  if (error != std::errc()) return "0";
  return std::string(buffer, end);
}

}  // namespace

int64_t RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLimit = 9.2e18;  // inside int64_t's range, beyond any value the program meets
  if (value >= kLimit) return std::numeric_limits<int64_t>::max();
  if (value <= -kLimit) return std::numeric_limits<int64_t>::min();
  // nearbyint follows the current rounding mode, which the program never changes from to-nearest-even.
  return static_cast<int64_t>(std::nearbyint(value));
}

std::optional<int16_t> ToInt16(int64_t value) {
  if (value < INT16_MIN || value > INT16_MAX) return std::nullopt;
  return static_cast<int16_t>(value);
}

int16_t SaturateInt16(int64_t value) {
  return static_cast<int16_t>(std::clamp<int64_t>(value, INT16_MIN, INT16_MAX));
}

std::string FormatSettingNumber(double value) {
  if (!std::isfinite(value)) value = 0;
  if (value == 0) return " 0";  // also for -0
  std::string text(1, value < 0 ? '-' : ' ');
  text += FormatMagnitude(std::fabs(value));
  return text;
}

std::optional<int16_t> ParseSettingNumber(std::string_view text) {
  return Fitting<int16_t>(ParseSettingInteger(text));
}

std::optional<int32_t> ParseSettingNumber32(std::string_view text) {
  return Fitting<int32_t>(ParseSettingInteger(text));
}

}  // namespace qr
