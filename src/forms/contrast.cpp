// The high-contrast setting as the toolkit reads it.
#include "forms/contrast.h"

#include "win32/accessibility.h"

namespace qr::forms {

namespace {
std::optional<bool> overridden;
}  // namespace

bool HighContrast() { return overridden ? *overridden : win::HighContrastOn(); }

void SetHighContrastOverride(std::optional<bool> on) { overridden = on; }

}  // namespace qr::forms
