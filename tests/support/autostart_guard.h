#pragma once
// Keeps the user's Run value "Quelm_Rask" as it was before a test: removed for the test, and put back
// (or removed again) when the guard goes. A value left behind would start the program at the next
// start of the test prefix.
#include <optional>
#include <string>

namespace qr::test {

class AutostartGuard {
 public:
  AutostartGuard();
  AutostartGuard(const AutostartGuard&) = delete;
  AutostartGuard& operator=(const AutostartGuard&) = delete;
  ~AutostartGuard();

  // The Run value's text read straight from the registry; nothing when it is missing.
  static std::optional<std::string> Read();

 private:
  std::optional<std::string> saved_;
};

}  // namespace qr::test
