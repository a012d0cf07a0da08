// The settings file's text over any bytes: reading never faults, and a value written into any file reads
// back as written, with every other section's values unchanged.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/profile_text.h"
#include "fuzz_check.h"

using namespace qr;

namespace {

// A name or value the program writes: ASCII letters and digits (a value also blanks inside, a backslash
// and a dot), never starting or ending with a blank.
std::string Token(FuzzedDataProvider& input, bool value) {
  static constexpr std::string_view kLetters = "abcXYZ019_";
  static constexpr std::string_view kValueLetters = "abcXYZ019_\\. ";
  const std::string_view letters = value ? kValueLetters : kLetters;
  std::string text;
  const size_t length = input.ConsumeIntegralInRange<size_t>(value ? 0 : 1, 12);
  for (size_t i = 0; i < length; ++i) text += letters[input.ConsumeIntegralInRange<size_t>(0, letters.size() - 1)];
  while (!text.empty() && text.back() == ' ') text.pop_back();
  while (!text.empty() && text.front() == ' ') text.erase(0, 1);
  return text.empty() && !value ? "k" : text;
}

std::string Lower(std::string text) {
  for (char& ch : text)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = Token(input, false);
  const std::string key = Token(input, false);
  const std::string value = Token(input, true);
  const std::string other = Token(input, false);
  const std::string file = input.ConsumeRemainingBytesAsString();
  const auto before = ProfileSection(file, other);
  const std::string written = WithProfileValue(file, section, key, value);
  const auto after = ProfileSection(written, section);
  const auto found = after.find(Lower(key));
  FUZZ_CHECK(found != after.end() && found->second == value);
  if (Lower(other) != Lower(section)) FUZZ_CHECK(ProfileSection(written, other) == before);
  return 0;
}
