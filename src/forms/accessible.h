#pragma once
// What a screen reader sees of the toolkit's windows (Microsoft Active Accessibility, which UI
// Automation reads through its proxy): a container answers WM_GETOBJECT with an object whose children
// are its windowless controls and child windows, in reading order; a windowed control with an
// accessible name answers with the system's own object under that name.
#include <windows.h>

#include <string>

namespace qr::forms {

// The answer to WM_GETOBJECT(wp, OBJID_CLIENT) for a container window.
LRESULT AnswerContainerObject(HWND container, WPARAM wp);

// The answer to WM_GETOBJECT(wp, OBJID_CLIENT) for a control window: the system's object, named `name`.
LRESULT AnswerNamedObject(HWND control, const std::string& name, WPARAM wp);

}  // namespace qr::forms
