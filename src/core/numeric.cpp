#include "core/numeric.h"

#include <cmath>
#include <cstdio>

namespace qr {

int64_t RoundHalfEven(double value) { return static_cast<int64_t>(std::nearbyint(value)); }

std::optional<int16_t> ToInt16(int64_t value) {
  if (value < INT16_MIN || value > INT16_MAX) return std::nullopt;
  return static_cast<int16_t>(value);
}

std::string FormatSettingNumber(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.7g", value);
  std::string text = buffer;
  if (value >= 0) text.insert(text.begin(), ' ');
  return text;
}

std::optional<int16_t> ParseSettingNumber(std::string_view text) {
  (void)text;
  return std::nullopt;
}

}  // namespace qr
