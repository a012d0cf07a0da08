// The system's accessible object of a control window, under the name the program gives it (a list, a
// path field, a cell of the table).
#include <new>
#include <string>
#include <utility>

#include "forms/accessible.h"
#include "win32/accessibility.h"
#include "win32/com.h"
#include "win32/lazy_libraries.h"
#include "win32/text.h"

namespace qr::forms {

namespace {

long RoleOfClass(HWND wnd) {
  wchar_t name[32] = {};
  GetClassNameW(wnd, name, 32);
  const std::wstring cls = name;
  if (_wcsicmp(cls.c_str(), L"ListBox") == 0) return ROLE_SYSTEM_LIST;
  if (_wcsicmp(cls.c_str(), L"Edit") == 0) return ROLE_SYSTEM_TEXT;
  if (_wcsicmp(cls.c_str(), L"ScrollBar") == 0) return ROLE_SYSTEM_SCROLLBAR;
  if (_wcsicmp(cls.c_str(), L"Button") == 0) return ROLE_SYSTEM_PUSHBUTTON;
  return 0;
}

std::wstring WindowText(HWND wnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(wnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(wnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Everything goes to the system's object but the window's own name.
class NamedAccessible final : public IAccessible {
 public:
  NamedAccessible(HWND wnd, win::ComPtr<IAccessible> inner, std::wstring name)
      : wnd_(wnd), inner_(std::move(inner)), name_(std::move(name)), role_(RoleOfClass(wnd)) {}
  NamedAccessible(const NamedAccessible&) = delete;
  NamedAccessible& operator=(const NamedAccessible&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    return inner_->QueryInterface(riid, out);  // IEnumVARIANT and the like: the system's
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return inner_->GetTypeInfoCount(n); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override {
    return inner_->GetTypeInfo(i, l, t);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
    return inner_->GetIDsOfNames(r, n, c, l, d);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v,
                                   EXCEPINFO* e, UINT* a) override {
    return inner_->Invoke(d, r, l, f, p, v, e, a);
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    if (!win::IsSelf(child)) return inner_->get_accName(child, name);
    *name = win::lazy::SysAllocString(name_.c_str());
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return inner_->get_accParent(p); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override { return inner_->get_accChildCount(n); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** d) override {
    return inner_->get_accChild(c, d);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* v) override {
    const HRESULT hr = inner_->get_accValue(c, v);
    if (hr == S_OK || !v || !win::IsSelf(c) || role_ != ROLE_SYSTEM_TEXT) return hr;
    *v = win::lazy::SysAllocString(WindowText(wnd_).c_str());  // a text box's value is its text
    return *v ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override {
    return inner_->get_accDescription(c, d);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* r) override {
    const HRESULT hr = inner_->get_accRole(c, r);
    // Where the system's object knows no more than "client" (Wine's), the control's class tells.
    if (hr == S_OK && win::IsSelf(c) && r->vt == VT_I4 && r->lVal == ROLE_SYSTEM_CLIENT && role_)
      r->lVal = role_;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* s) override {
    return inner_->get_accState(c, s);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override { return inner_->get_accHelp(c, h); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, long* t) override {
    return inner_->get_accHelpTopic(f, c, t);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override {
    return inner_->get_accKeyboardShortcut(c, k);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* c) override { return inner_->get_accFocus(c); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* c) override { return inner_->get_accSelection(c); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* a) override {
    return inner_->get_accDefaultAction(c, a);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long f, VARIANT c) override { return inner_->accSelect(f, c); }
  HRESULT STDMETHODCALLTYPE accLocation(long* l, long* t, long* w, long* h, VARIANT c) override {
    return inner_->accLocation(l, t, w, h, c);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long d, VARIANT s, VARIANT* e) override {
    return inner_->accNavigate(d, s, e);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* c) override {
    return inner_->accHitTest(x, y, c);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override { return inner_->accDoDefaultAction(c); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override { return inner_->put_accName(c, n); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override { return inner_->put_accValue(c, v); }

 private:
  ~NamedAccessible() = default;

  LONG refs_ = 1;
  HWND wnd_;
  win::ComPtr<IAccessible> inner_;
  std::wstring name_;
  long role_;
};

}  // namespace

LRESULT AnswerNamedObject(HWND control, const std::string& name, WPARAM wp) {
  win::JoinComForAccessibility();
  win::ComPtr<IAccessible> inner;
  if (FAILED(win::lazy::CreateStdAccessibleObject(control, OBJID_CLIENT, IID_IAccessible,
                                                  reinterpret_cast<void**>(inner.GetAddressOf()))) ||
      !inner)
    return 0;
  NamedAccessible* named = new (std::nothrow) NamedAccessible(control, std::move(inner), win::Wide(name));
  if (!named) return 0;
  const LRESULT result = win::lazy::LresultFromObject(IID_IAccessible, wp, named);
  named->Release();
  return result;
}

}  // namespace qr::forms
