// The accessible object of a container window: its windowless controls as simple children (child id =
// the control's place among the container's controls + 1, stable for the window's life) and its child
// windows as their own objects. The object holds only the window handle, so it outlives the window
// safely: once the window is gone every call answers that the object is gone.
#include <algorithm>
#include <new>
#include <tuple>
#include <utility>
#include <vector>

#include "forms/accessible.h"
#include "forms/container.h"
#include "forms/focus.h"
#include "forms/windowless.h"
#include "win32/accessibility.h"
#include "win32/com.h"
#include "win32/lazy_libraries.h"
#include "win32/text.h"

namespace qr::forms {

namespace {

HRESULT SetText(BSTR* out, const std::string& text) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = win::lazy::SysAllocString(win::Wide(text).c_str());
  return *out ? S_OK : E_OUTOFMEMORY;
}

long RoleCode(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::PushButton:
      return ROLE_SYSTEM_PUSHBUTTON;
    case AccessibleRole::RadioButton:
      return ROLE_SYSTEM_RADIOBUTTON;
    case AccessibleRole::CheckBox:
      return ROLE_SYSTEM_CHECKBUTTON;
    case AccessibleRole::Graphic:
      return ROLE_SYSTEM_GRAPHIC;
    case AccessibleRole::TitleBar:
      return ROLE_SYSTEM_TITLEBAR;
    default:
      return ROLE_SYSTEM_STATICTEXT;
  }
}

// The word a screen reader offers for the control's action: what a click does.
const char* DefaultActionOf(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::PushButton:
      return "押す";
    case AccessibleRole::RadioButton:
      return "選択";
    case AccessibleRole::CheckBox:
      return "切り替え";
    default:
      return "";
  }
}

// One child as the object lists it: a windowless control's id, or a child window.
struct Child {
  POINT at;
  long id = 0;
  HWND window = nullptr;
};

class ContainerAccessible final : public IAccessible, public IEnumVARIANT {
 public:
  explicit ContainerAccessible(HWND wnd) : wnd_(wnd) {}
  ContainerAccessible(const ContainerAccessible&) = delete;
  ContainerAccessible& operator=(const ContainerAccessible&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
    } else if (riid == IID_IEnumVARIANT) {
      *out = static_cast<IEnumVARIANT*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: not offered (screen readers call IAccessible directly).
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    if (n) *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible: the window itself (CHILDID_SELF) as the system describes it, the controls ours.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    IAccessible* self = System();
    return self ? self->get_accParent(parent) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    *count = static_cast<long>(Children().size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Control(child) ? S_FALSE : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (win::IsSelf(child)) {
      const Container* container = Container::FromWindow(wnd_);
      if (container && !container->AccessibleName().empty())
        return SetText(name, container->AccessibleName());
      return Delegate(&IAccessible::get_accName, child, name);
    }
    const Windowless* control = Control(child);
    return control ? SetText(name, control->AccessibleName()) : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (win::IsSelf(child)) return Delegate(&IAccessible::get_accValue, child, value);
    if (value) *value = nullptr;
    return Control(child) ? S_FALSE : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    if (win::IsSelf(child)) {
      const Container* container = Container::FromWindow(wnd_);
      if (container && !container->AccessibleDescription().empty())
        return SetText(text, container->AccessibleDescription());
      return Delegate(&IAccessible::get_accDescription, child, text);
    }
    const Windowless* control = Control(child);
    if (!control) return E_INVALIDARG;
    // The tool tip says more than the name (what the command does), except where it is the name.
    const std::string tip =
        control->ToolTip() == control->AccessibleName() ? std::string() : control->ToolTip();
    return SetText(text, tip);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (win::IsSelf(child)) return Delegate(&IAccessible::get_accRole, child, role);
    const Windowless* control = Control(child);
    if (!role) return E_POINTER;
    if (!control) return E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = RoleCode(control->Role());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (win::IsSelf(child)) return Delegate(&IAccessible::get_accState, child, state);
    const Windowless* control = Control(child);
    if (!state) return E_POINTER;
    if (!control) return E_INVALIDARG;
    state->vt = VT_I4;
    state->lVal = StateOf(*control);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
    if (help) *help = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    if (win::IsSelf(child)) return Delegate(&IAccessible::get_accKeyboardShortcut, child, keys);
    if (keys) *keys = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    focus->vt = VT_EMPTY;
    const Container* container = Container::FromWindow(wnd_);
    if (!container) return RPC_E_DISCONNECTED;
    if (GetFocus() != wnd_) return S_FALSE;
    focus->vt = VT_I4;
    focus->lVal = container->FocusedWindowless() ? container->AccessibleId(container->FocusedWindowless())
                                                 : CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (selection) selection->vt = VT_EMPTY;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (win::IsSelf(child)) return Delegate(&IAccessible::get_accDefaultAction, child, action);
    const Windowless* control = Control(child);
    return control ? SetText(action, DefaultActionOf(control->Role())) : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    if (win::IsSelf(child)) return Delegate(&IAccessible::accSelect, flags, child);
    Windowless* control = Control(child);
    if (!control) return E_INVALIDARG;
    if (!(flags & SELFLAG_TAKEFOCUS) || !control->TabStop()) return S_FALSE;
    MoveFocus({wnd_, control});
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    if (win::IsSelf(child)) {
      IAccessible* self = System();
      return self ? self->accLocation(left, top, width, height, child) : RPC_E_DISCONNECTED;
    }
    const Windowless* control = Control(child);
    if (!left || !top || !width || !height) return E_POINTER;
    if (!control) return E_INVALIDARG;
    RECT r = control->Bounds();
    MapWindowPoints(wnd_, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (win::IsSelf(start)) return Delegate(&IAccessible::accNavigate, direction, start, end);
    if (!end) return E_POINTER;
    end->vt = VT_EMPTY;
    const std::vector<Child> children = Children();
    const auto at = std::find_if(children.begin(), children.end(),
                                 [&](const Child& c) { return start.vt == VT_I4 && c.id == start.lVal; });
    if (at == children.end()) return E_INVALIDARG;
    if (direction == NAVDIR_NEXT && at + 1 != children.end()) return Put(*(at + 1), end);
    if (direction == NAVDIR_PREVIOUS && at != children.begin()) return Put(*(at - 1), end);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    const Container* container = Container::FromWindow(wnd_);
    if (!child) return E_POINTER;
    if (!container) return RPC_E_DISCONNECTED;
    POINT p{x, y};
    ScreenToClient(wnd_, &p);
    for (auto it = container->WindowlessControls().rbegin(); it != container->WindowlessControls().rend();
         ++it) {
      if (!Exposed(**it) || !(*it)->HitTest(p)) continue;
      child->vt = VT_I4;
      child->lVal = container->AccessibleId(*it);
      return S_OK;
    }
    IAccessible* self = System();
    return self ? self->accHitTest(x, y, child) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (win::IsSelf(child)) return Delegate(&IAccessible::accDoDefaultAction, child);
    Windowless* control = Control(child);
    if (!control) return E_INVALIDARG;
    if (*DefaultActionOf(control->Role()) == '\0') return DISP_E_MEMBERNOTFOUND;
    if (!control->Visible() || !control->Enabled()) return E_FAIL;
    // Posted, as the system's buttons do: a click that opens a modal window would otherwise hold the
    // screen reader until that window closed.
    control->Parent()->PostClick(control);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  // IEnumVARIANT: the children in reading order.
  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    if (!out) return E_POINTER;
    const std::vector<Child> children = Children();
    ULONG given = 0;
    for (; given < count && next_ < children.size(); ++given, ++next_) {
      out[given].vt = VT_EMPTY;
      Put(children[next_], &out[given]);
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    next_ += count;
    return next_ <= Children().size() ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
    if (!out) return E_POINTER;
    auto* copy = new (std::nothrow) ContainerAccessible(wnd_);
    if (!copy) return E_OUTOFMEMORY;
    copy->next_ = next_;
    *out = copy;
    return S_OK;
  }

 private:
  ~ContainerAccessible() = default;

  static bool Exposed(const Windowless& control) {
    return control.Visible() && control.Role() != AccessibleRole::None;
  }

  // The system's own object for the window itself, made on first use.
  IAccessible* System() {
    if (!system_ && IsWindow(wnd_))
      win::lazy::CreateStdAccessibleObject(wnd_, OBJID_CLIENT, IID_IAccessible,
                                           reinterpret_cast<void**>(system_.GetAddressOf()));
    return system_.Get();
  }
  template <typename Method, typename... Args>
  HRESULT Delegate(Method method, Args... args) {
    IAccessible* self = System();
    return self ? (self->*method)(args...) : RPC_E_DISCONNECTED;
  }

  // The control a child id names (hidden ones included: they answer as invisible), or nullptr.
  Windowless* Control(const VARIANT& child) const {
    const Container* container = Container::FromWindow(wnd_);
    if (!container || child.vt != VT_I4) return nullptr;
    Windowless* control = container->WindowlessById(child.lVal);
    return control && control->Role() != AccessibleRole::None ? control : nullptr;
  }

  long StateOf(const Windowless& control) const {
    const Container* container = control.Parent();
    long state = 0;
    if (!control.Visible() || !IsWindowVisible(wnd_)) state |= STATE_SYSTEM_INVISIBLE;
    if (!control.Enabled()) state |= STATE_SYSTEM_UNAVAILABLE;
    if (control.Checked()) state |= STATE_SYSTEM_CHECKED;
    if (control.TabStop()) state |= STATE_SYSTEM_FOCUSABLE;
    if (container && container->FocusedWindowless() == &control && GetFocus() == wnd_)
      state |= STATE_SYSTEM_FOCUSED;
    return state;
  }

  std::vector<Child> Children() const {
    std::vector<Child> children;
    const Container* container = Container::FromWindow(wnd_);
    if (!container) return children;
    for (const Windowless* control : container->WindowlessControls()) {
      if (Exposed(*control))
        children.push_back({{control->Left(), control->Top()}, container->AccessibleId(control), nullptr});
    }
    for (HWND window = GetWindow(wnd_, GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT)) {
      if (!IsWindowVisible(window)) continue;
      RECT r{};
      GetWindowRect(window, &r);
      MapWindowPoints(HWND_DESKTOP, wnd_, reinterpret_cast<POINT*>(&r), 2);
      const POINT design = container->Scale().Design(POINT{r.left, r.top});
      children.push_back({design, 0, window});
    }
    // Reading order, as the tab order runs: top to bottom, then left to right.
    std::stable_sort(children.begin(), children.end(), [](const Child& a, const Child& b) {
      return std::tie(a.at.y, a.at.x) < std::tie(b.at.y, b.at.x);
    });
    return children;
  }

  static HRESULT Put(const Child& child, VARIANT* out) {
    if (!child.window) {
      out->vt = VT_I4;
      out->lVal = child.id;
      return S_OK;
    }
    IDispatch* object = nullptr;
    if (FAILED(win::lazy::AccessibleObjectFromWindow(child.window, static_cast<DWORD>(OBJID_CLIENT),
                                                     IID_IDispatch, reinterpret_cast<void**>(&object))) ||
        !object)
      return E_FAIL;
    out->vt = VT_DISPATCH;
    out->pdispVal = object;
    return S_OK;
  }

  LONG refs_ = 1;
  HWND wnd_;
  win::ComPtr<IAccessible> system_;
  size_t next_ = 0;
};

}  // namespace

LRESULT AnswerContainerObject(HWND container, WPARAM wp) {
  win::JoinComForAccessibility();
  auto* object = new (std::nothrow) ContainerAccessible(container);
  if (!object) return 0;
  const LRESULT result = win::lazy::LresultFromObject(IID_IAccessible, wp, static_cast<IAccessible*>(object));
  object->Release();
  return result;
}

}  // namespace qr::forms
