#pragma once
// What a screen reader finds in a window, read through Microsoft Active Accessibility as a screen
// reader reads it (AccessibleObjectFromWindow, AccessibleChildren, get_accName/Role/State), and the
// focus events it hears (SetWinEventHook).
#include <windows.h>
// After <windows.h>:
#include <oleacc.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace qr::test {

// One element of the tree: a simple child (`id` of `parent`) or an object of its own (`id` 0).
struct AccessibleElement {
  Microsoft::WRL::ComPtr<IAccessible> parent;
  long id = CHILDID_SELF;
  std::string name;  // UTF-8
  std::string value;
  std::string description;
  long role = 0;
  long state = 0;
  std::string defaultAction;
  RECT location{};  // screen pixels
};

// Every element below the client object of `window`, depth first in the order each object lists its
// children; the window itself is not included.
std::vector<AccessibleElement> AccessibleTree(HWND window);
// The client object of `window` itself, as a screen reader announces the window.
AccessibleElement WindowElement(HWND window);
// The first element of that name with that role; a default element (no parent) when none.
AccessibleElement FindElement(const std::vector<AccessibleElement>& tree, const std::string& name, long role);
// The element again, as it is now.
AccessibleElement Reread(const AccessibleElement& element);
// Runs the element's default action, as a screen reader's command does.
HRESULT DoDefaultAction(const AccessibleElement& element);

// Hears one kind of event (EVENT_OBJECT_FOCUS by default) from this process while it lives (the
// messages must be pumped).
class AccessibleEvents {
 public:
  explicit AccessibleEvents(DWORD event = EVENT_OBJECT_FOCUS);
  ~AccessibleEvents();
  AccessibleEvents(const AccessibleEvents&) = delete;
  AccessibleEvents& operator=(const AccessibleEvents&) = delete;

  struct Event {
    HWND window;
    long object;
    long child;
  };
  const std::vector<Event>& Heard() const { return heard_; }
  // The name of what the last event names, read back as a screen reader does (AccessibleObjectFromEvent).
  std::string LastName() const;

 private:
  static void CALLBACK Hear(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD);
  static inline std::vector<AccessibleEvents*> listening_;
  HWINEVENTHOOK hook_ = nullptr;
  std::vector<Event> heard_;
};

}  // namespace qr::test
