// The screen reader's view of a window, for tests.
#include "support/screen_reader.h"

#include <algorithm>

#include "win32/text.h"

namespace qr::test {

namespace {

using Microsoft::WRL::ComPtr;

std::string Text(BSTR text) {
  std::string utf8 = text ? win::Utf8(std::wstring(text, SysStringLen(text))) : std::string();
  SysFreeString(text);
  return utf8;
}

AccessibleElement Describe(ComPtr<IAccessible> parent, long id) {
  AccessibleElement e;
  e.parent = parent;
  e.id = id;
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = id;
  BSTR text = nullptr;
  if (parent->get_accName(child, &text) == S_OK) e.name = Text(text);
  text = nullptr;
  if (parent->get_accValue(child, &text) == S_OK) e.value = Text(text);
  VARIANT value;
  VariantInit(&value);
  if (SUCCEEDED(parent->get_accRole(child, &value)) && value.vt == VT_I4) e.role = value.lVal;
  VariantInit(&value);
  if (SUCCEEDED(parent->get_accState(child, &value)) && value.vt == VT_I4) e.state = value.lVal;
  text = nullptr;
  if (parent->get_accDescription(child, &text) == S_OK) e.description = Text(text);
  text = nullptr;
  if (parent->get_accDefaultAction(child, &text) == S_OK) e.defaultAction = Text(text);
  long l = 0, t = 0, w = 0, h = 0;
  if (SUCCEEDED(parent->accLocation(&l, &t, &w, &h, child))) e.location = {l, t, l + w, t + h};
  return e;
}

void Walk(const ComPtr<IAccessible>& object, std::vector<AccessibleElement>& tree, int depth) {
  long count = 0;
  if (depth > 8 || FAILED(object->get_accChildCount(&count)) || count <= 0) return;
  std::vector<VARIANT> children(static_cast<size_t>(count));
  long got = 0;
  if (FAILED(AccessibleChildren(object.Get(), 0, count, children.data(), &got))) return;
  for (long i = 0; i < got; ++i) {
    VARIANT& child = children[static_cast<size_t>(i)];
    if (child.vt == VT_I4) {
      tree.push_back(Describe(object, child.lVal));
    } else if (child.vt == VT_DISPATCH && child.pdispVal) {
      ComPtr<IAccessible> inner;
      if (SUCCEEDED(child.pdispVal->QueryInterface(IID_PPV_ARGS(&inner)))) {
        tree.push_back(Describe(inner, CHILDID_SELF));
        Walk(inner, tree, depth + 1);
      }
    }
    VariantClear(&child);
  }
}

}  // namespace

std::vector<AccessibleElement> AccessibleTree(HWND window) {
  std::vector<AccessibleElement> tree;
  ComPtr<IAccessible> root;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_PPV_ARGS(&root))))
    return tree;
  Walk(root, tree, 0);
  return tree;
}

AccessibleElement WindowElement(HWND window) {
  ComPtr<IAccessible> object;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_PPV_ARGS(&object))))
    return {};
  return Describe(object, CHILDID_SELF);
}

AccessibleElement FindElement(const std::vector<AccessibleElement>& tree, const std::string& name,
                              long role) {
  for (const AccessibleElement& e : tree)
    if (e.name == name && e.role == role) return e;
  return {};
}

AccessibleElement Reread(const AccessibleElement& element) {
  return element.parent ? Describe(element.parent, element.id) : element;
}

HRESULT DoDefaultAction(const AccessibleElement& element) {
  if (!element.parent) return E_INVALIDARG;
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = element.id;
  return element.parent->accDoDefaultAction(child);
}

AccessibleEvents::AccessibleEvents(DWORD event) {
  listening_.push_back(this);
  hook_ = SetWinEventHook(event, event, nullptr, &AccessibleEvents::Hear, GetCurrentProcessId(), 0,
                          WINEVENT_OUTOFCONTEXT);
}

AccessibleEvents::~AccessibleEvents() {
  if (hook_) UnhookWinEvent(hook_);
  listening_.erase(std::find(listening_.begin(), listening_.end(), this));
}

void CALLBACK AccessibleEvents::Hear(HWINEVENTHOOK hook, DWORD, HWND window, LONG object, LONG child, DWORD,
                                     DWORD) {
  for (AccessibleEvents* events : listening_)
    if (events->hook_ == hook) events->heard_.push_back({window, object, child});
}

std::string AccessibleEvents::LastName() const {
  if (heard_.empty()) return {};
  const Event& last = heard_.back();
  ComPtr<IAccessible> object;
  VARIANT child;
  VariantInit(&child);
  if (FAILED(AccessibleObjectFromEvent(last.window, static_cast<DWORD>(last.object),
                                       static_cast<DWORD>(last.child), &object, &child)))
    return {};
  BSTR name = nullptr;
  const std::string result = object->get_accName(child, &name) == S_OK ? Text(name) : std::string();
  VariantClear(&child);
  return result;
}

}  // namespace qr::test
