#pragma once
// Reads the tool-tip controls of the test's thread.
#include <string>

namespace qr::test {

// Whether a tool-tip control of this thread holds a tool with exactly this text.
bool ThreadHasToolTip(const std::wstring& text);

}  // namespace qr::test
