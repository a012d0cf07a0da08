#include "core/numeric.h"

#include <charconv>
#include <cmath>
#include <cstdio>
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

// Accepts [sign] digits [. digits] [e [sign] digits] with at least one mantissa digit; nothing else
// (no "inf", "nan", hexadecimal). Returns the text without a leading '+', ready for from_chars.
std::optional<std::string_view> DecimalNumberText(std::string_view text) {
  size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  const size_t intStart = pos;
  pos = SkipDigits(text, pos);
  size_t mantissaDigits = pos - intStart;
  if (pos < text.size() && text[pos] == '.') {
    const size_t fracStart = ++pos;
    pos = SkipDigits(text, pos);
    mantissaDigits += pos - fracStart;
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    const size_t expStart = pos;
    pos = SkipDigits(text, pos);
    if (pos == expStart) return std::nullopt;
  }
  if (pos != text.size()) return std::nullopt;
  if (text.front() == '+') text.remove_prefix(1);
  return text;
}

std::string StripTrailingZeros(std::string text) {
  if (text.find('.') == std::string::npos) return text;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string FormatMagnitude(double magnitude) {
  char buffer[400];
  if (magnitude == std::floor(magnitude)) {
    std::snprintf(buffer, sizeof buffer, "%.0f", magnitude);
    return buffer;
  }
  std::snprintf(buffer, sizeof buffer, "%.15g", magnitude);
  std::string text = buffer;
  // Very small or large fractions would come out in exponent form; the settings file never uses it.
  if (text.find('e') != std::string::npos) {
    std::snprintf(buffer, sizeof buffer, "%.15f", magnitude);
    text = StripTrailingZeros(buffer);
  }
  return text;
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

std::string FormatSettingNumber(double value) {
  if (!std::isfinite(value)) value = 0;
  if (value == 0) return " 0";  // also for -0
  const std::string digits = FormatMagnitude(std::fabs(value));
  if (digits == "0") return " 0";  // a fraction too small to show
  return (value < 0 ? "-" : " ") + digits;
}

std::optional<int16_t> ParseSettingNumber(std::string_view text) {
  const std::optional<std::string_view> number = DecimalNumberText(TrimBlanks(text));
  if (!number) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(number->data(), number->data() + number->size(), value);
  if (error != std::errc() || end != number->data() + number->size()) return std::nullopt;
  const double floored = std::floor(value);
  if (floored < INT16_MIN || floored > INT16_MAX) return std::nullopt;
  return static_cast<int16_t>(floored);
}

}  // namespace qr
