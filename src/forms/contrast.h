#pragma once
// High contrast: while a high-contrast theme is on, the toolkit draws faces, captions and the focus in
// the system's colours instead of the skin's pictures and fixed colours (pictures that carry meaning,
// such as icons and the user's own colours, stay).
#include <optional>

namespace qr::forms {

// A high-contrast theme is on (or the override says so).
bool HighContrast();
// Replaces the system's setting (tests; systems without the setting); nothing: the system's again. The
// caller repaints what is shown.
void SetHighContrastOverride(std::optional<bool> on);

}  // namespace qr::forms
