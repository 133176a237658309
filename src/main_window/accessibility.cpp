#include "main_window/accessibility.h"

#include <oleacc.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/win32/com_object.h"
#include "platform/win32/ole_strings.h"
#include "platform/win32/system_library.h"
#include "platform/win32/trace.h"

namespace corvane::main_window {

namespace {

constexpr wchar_t kLinkAction[] = L"单击";

// Every answer sets its out-parameters, so a client never reads what it left there.
void Clear(BSTR* out) {
  if (out != nullptr) *out = nullptr;
}
void Clear(VARIANT* out) {
  if (out != nullptr) out->vt = VT_EMPTY;
}
void Clear(long* out) {
  if (out != nullptr) *out = 0;
}
void Clear(IDispatch** out) {
  if (out != nullptr) *out = nullptr;
}
// What is passed in is not cleared.
template <typename In>
void Clear(const In& /*in*/) {}

HRESULT SetInteger(VARIANT* out, long value) {
  if (out == nullptr) return E_POINTER;
  out->vt = VT_I4;
  out->lVal = value;
  return S_OK;
}

bool IsChild(const VARIANT& child, long id) { return child.vt == VT_I4 && child.lVal == id; }

}  // namespace

class Accessible;

// What the objects handed out share with the window, and outlive it with:
// once the window is gone they say so and touch nothing of it.
struct AccessibleSite : std::enable_shared_from_this<AccessibleSite> {
  AccessibleSite(const LinkLabel& link, const PickHint& shown_hint, UINT activate_link)
      : label(link), hint(shown_hint), activate_label(activate_link) {}

  win32::ComPtr<IAccessible> NewClient();
  // Hands `object` to whoever sent WM_GETOBJECT with `wparam`.
  LRESULT Answer(WPARAM wparam, IAccessible* object);

  const LinkLabel& label;
  const PickHint& hint;
  UINT activate_label;  // posted to the window
  HWND window = nullptr;
  bool gone = false;
  int hints = 0;                     // hints announced so far: an alert answers for its own only
  std::vector<Accessible*> objects;  // alive, to let go of the system's at the end
  // Loaded on the first question, so a start without assistive technology
  // pays nothing for them.
  win32::SystemLibrary oleacc{L"oleacc.dll"};
  win32::OleStrings strings;
};

// One of our own elements: the link in the client area, or the alert.
struct OwnElement {
  long id;  // its child id; CHILDID_SELF where the object is the element
  std::wstring name;
  long role;
  long state;
  RECT bounds;            // on the screen
  const wchar_t* action;  // its default action, if it has one
};

// Every IAccessible answer, written once: our own element is answered here,
// every other child passes to the system's object where there is one, and
// once the window is gone every call says so (CO_E_OBJNOTCONNECTED). The
// children enumerate (IEnumVARIANT, which AccessibleChildren asks first):
// the system's, then ours.
class Accessible : public win32::ComObject<IAccessible, IEnumVARIANT> {
 public:
  Accessible(const Accessible&) = delete;
  Accessible& operator=(const Accessible&) = delete;
  Accessible(Accessible&&) = delete;
  Accessible& operator=(Accessible&&) = delete;
  ~Accessible() override { std::erase(site_->objects, this); }

  // Clients reach IAccessible through its own methods, never by name.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count != nullptr) *count = 0;
    return count != nullptr ? S_OK : E_POINTER;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override {
    if (ids != nullptr) std::fill_n(ids, count, DISPID_UNKNOWN);
    return E_NOTIMPL;
  }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                      UINT*) override {
    Clear(result);
    return E_NOTIMPL;
  }

  STDMETHODIMP get_accParent(IDispatch** parent) override {
    Clear(parent);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    return parent == nullptr ? E_POINTER : Parent(parent);
  }
  STDMETHODIMP get_accChildCount(long* count) override {
    Clear(count);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    if (count == nullptr) return E_POINTER;
    *count = SystemChildren() + (Element().id != CHILDID_SELF ? 1 : 0) + (HasChildObject() ? 1 : 0);
    return S_OK;
  }
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** dispatch) override {
    Clear(dispatch);
    if (Connected() && dispatch != nullptr && IsChildObject(child)) {
      return GiveChildObject(dispatch);
    }
    // A simple element: it has no object of its own, its parent answers for it.
    return Answer(
        child, [&](const OwnElement&) { return dispatch == nullptr ? E_POINTER : S_FALSE; },
        &IAccessible::get_accChild, child, dispatch);
  }
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
    return Answer(
        child, [&](const OwnElement& own) { return SetString(name, own.name); },
        &IAccessible::get_accName, child, name);
  }
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override {
    return Answer(child, kNotSupported, &IAccessible::get_accValue, child, value);
  }
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override {
    return Answer(child, kNotSupported, &IAccessible::get_accDescription, child, description);
  }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
    return Answer(
        child, [&](const OwnElement& own) { return SetInteger(role, own.role); },
        &IAccessible::get_accRole, child, role);
  }
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override {
    return Answer(
        child, [&](const OwnElement& own) { return SetInteger(state, own.state); },
        &IAccessible::get_accState, child, state);
  }
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override {
    return Answer(child, kNotSupported, &IAccessible::get_accHelp, child, help);
  }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return Answer(child, kNotSupported, &IAccessible::get_accHelpTopic, file, child, topic);
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return Answer(child, kNotSupported, &IAccessible::get_accKeyboardShortcut, child, shortcut);
  }
  STDMETHODIMP get_accFocus(VARIANT* focus) override {
    Clear(focus);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    return system_ ? system_->get_accFocus(focus) : S_FALSE;
  }
  STDMETHODIMP get_accSelection(VARIANT* selection) override {
    Clear(selection);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    return system_ ? system_->get_accSelection(selection) : S_FALSE;
  }
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Answer(
        child,
        [&](const OwnElement& own) {
          return own.action != nullptr ? SetString(action, own.action) : DISP_E_MEMBERNOTFOUND;
        },
        &IAccessible::get_accDefaultAction, child, action);
  }
  STDMETHODIMP accSelect(long flags, VARIANT child) override {
    return Answer(child, kNotSupported, &IAccessible::accSelect, flags, child);
  }
  STDMETHODIMP accLocation(long* left, long* top, long* width, long* height,
                           VARIANT child) override {
    const auto own_location = [&](const OwnElement& own) {
      if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
        return E_POINTER;
      }
      *left = own.bounds.left;
      *top = own.bounds.top;
      *width = own.bounds.right - own.bounds.left;
      *height = own.bounds.bottom - own.bounds.top;
      return S_OK;
    };
    return Answer(child, own_location, &IAccessible::accLocation, left, top, width, height, child);
  }
  STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
  STDMETHODIMP accHitTest(long left, long top, VARIANT* child) override {
    Clear(child);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    const OwnElement element = Element();
    if (PtInRect(&element.bounds, {left, top}) != FALSE) return SetInteger(child, element.id);
    return system_ ? system_->accHitTest(left, top, child) : S_FALSE;
  }
  STDMETHODIMP accDoDefaultAction(VARIANT child) override {
    const auto own_action = [&](const OwnElement& own) {
      if (own.action == nullptr) return DISP_E_MEMBERNOTFOUND;
      Activate();
      return S_OK;
    };
    return Answer(child, own_action, &IAccessible::accDoDefaultAction, child);
  }
  // Both setters are deprecated; no object takes them.
  STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  STDMETHODIMP Next(ULONG wanted, VARIANT* children, ULONG* fetched) override;
  STDMETHODIMP Skip(ULONG count) override;
  STDMETHODIMP Reset() override {
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    enumerated_ = 0;
    if (system_children_) system_children_->Reset();
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumVARIANT** copy) override {
    if (copy != nullptr) *copy = nullptr;
    return E_NOTIMPL;
  }

  // The window is gone: lets go of the system's objects.
  void Drop() {
    system_children_.reset();
    system_.reset();
  }

 protected:
  Accessible(std::shared_ptr<AccessibleSite> site, win32::ComPtr<IAccessible> system)
      : site_(std::move(site)), system_(std::move(system)) {
    site_->objects.push_back(this);
    // The system's client object enumerates its children, a child window
    // as an object of its own (Windows' and Wine's both do).
    if (system_) system_->QueryInterface(IID_PPV_ARGS(system_children_.put()));
  }

  AccessibleSite& Site() const { return *site_; }
  long SystemChildren() const {
    long count = 0;
    if (!system_ || FAILED(system_->get_accChildCount(&count))) count = 0;
    return count;
  }

  virtual bool Connected() const { return !site_->gone; }
  virtual OwnElement Element() const = 0;
  virtual HRESULT Parent(IDispatch** parent) {
    return system_ ? system_->get_accParent(parent) : S_FALSE;
  }
  virtual void Activate() {}
  // An object of its own that follows our element among the children (the
  // hint's alert, while it shows), so a client finds it walking down.
  virtual bool HasChildObject() const { return false; }
  virtual win32::ComPtr<IAccessible> NewChildObject() { return {}; }

 private:
  // What a property answers where our element does not have it.
  static HRESULT kNotSupported(const OwnElement& /*own*/) { return DISP_E_MEMBERNOTFOUND; }

  // The guard of every answer about one child, once: the out-parameters
  // cleared, the window checked, then ours answered by `own` and any other
  // child by the system's object, through `method`.
  template <typename OwnAnswer, typename... Arguments>
  HRESULT Answer(const VARIANT& child, OwnAnswer own,
                 HRESULT (STDMETHODCALLTYPE IAccessible::*method)(Arguments...),
                 std::type_identity_t<Arguments>... arguments) {
    (Clear(arguments), ...);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    const OwnElement element = Element();
    if (IsChild(child, element.id)) return own(element);
    return system_ ? (system_.get()->*method)(arguments...) : E_INVALIDARG;
  }
  bool IsChildObject(const VARIANT& child) const {
    return HasChildObject() && IsChild(child, Element().id + 1);
  }
  HRESULT GiveChildObject(IDispatch** dispatch) {
    const win32::ComPtr<IAccessible> object = NewChildObject();
    return object ? object->QueryInterface(IID_PPV_ARGS(dispatch)) : E_FAIL;
  }
  HRESULT SetChildObject(VARIANT* out) {
    out->vt = VT_DISPATCH;
    const HRESULT given = GiveChildObject(&out->pdispVal);
    if (FAILED(given)) Clear(out);
    return given;
  }
  HRESULT SetString(BSTR* out, std::wstring_view text) {
    if (out == nullptr) return E_POINTER;
    *out = site_->strings.Allocate(text);
    return *out == nullptr ? E_OUTOFMEMORY : S_OK;
  }

  std::shared_ptr<AccessibleSite> site_;
  win32::ComPtr<IAccessible> system_;
  win32::ComPtr<IEnumVARIANT> system_children_;
  long enumerated_ = 0;  // children the enumeration has given so far
};

STDMETHODIMP Accessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
  Clear(end);
  if (!Connected()) return CO_E_OBJNOTCONNECTED;
  if (end == nullptr) return E_POINTER;
  const long own = Element().id;
  if (own != CHILDID_SELF) {
    // Our child comes after the system's, and the child object after it.
    const long last_system = own - 1;
    const bool object = HasChildObject();
    if (IsChild(start, CHILDID_SELF) && direction == NAVDIR_LASTCHILD) {
      return object ? SetChildObject(end) : SetInteger(end, own);
    }
    if (last_system > 0 && IsChild(start, last_system) && direction == NAVDIR_NEXT) {
      return SetInteger(end, own);
    }
    if (IsChild(start, own)) {
      if (direction == NAVDIR_PREVIOUS && last_system > 0) return SetInteger(end, last_system);
      if (direction == NAVDIR_NEXT && object) return SetChildObject(end);
      return S_FALSE;
    }
    if (IsChildObject(start)) return direction == NAVDIR_PREVIOUS ? SetInteger(end, own) : S_FALSE;
  }
  return system_ ? system_->accNavigate(direction, start, end) : DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP Accessible::Next(ULONG wanted, VARIANT* children, ULONG* fetched) {
  if (fetched != nullptr) *fetched = 0;
  if (!Connected()) return CO_E_OBJNOTCONNECTED;
  if (children == nullptr) return E_POINTER;
  const long system_count = SystemChildren();
  const long own = Element().id;
  ULONG given = 0;
  if (enumerated_ < system_count) {
    if (system_children_) {
      // As the system hands them over: a child window as an object of its own.
      system_children_->Next(wanted, children, &given);
      enumerated_ = given < wanted ? system_count : enumerated_ + static_cast<long>(given);
    } else {
      for (; given < wanted && enumerated_ < system_count; ++given) {
        SetInteger(&children[given], ++enumerated_);
      }
    }
  }
  if (given < wanted && own != CHILDID_SELF && enumerated_ == system_count) {
    SetInteger(&children[given++], own);
    ++enumerated_;
  }
  if (given < wanted && own != CHILDID_SELF && enumerated_ == system_count + 1 &&
      HasChildObject() && SUCCEEDED(SetChildObject(&children[given]))) {
    ++given;
    ++enumerated_;
  }
  for (ULONG rest = given; rest < wanted; ++rest) Clear(&children[rest]);
  if (fetched != nullptr) *fetched = given;
  return given == wanted ? S_OK : S_FALSE;
}

STDMETHODIMP Accessible::Skip(ULONG count) {
  for (ULONG i = 0; i < count; ++i) {
    VARIANT child{};
    ULONG got = 0;
    const HRESULT result = Next(1, &child, &got);
    if (FAILED(result)) return result;
    if (got == 0) return S_FALSE;
    if (child.vt == VT_DISPATCH && child.pdispVal != nullptr) child.pdispVal->Release();
  }
  return S_OK;
}

// The window's client area: the system's own object for it, which knows the
// list, with the link label as one more child: a link with a name, a place
// on the screen and a click as its default action.
class ClientAccessible final : public Accessible {
 public:
  ClientAccessible(std::shared_ptr<AccessibleSite> site, win32::ComPtr<IAccessible> standard)
      : Accessible(std::move(site), std::move(standard)) {}

 private:
  OwnElement Element() const override {
    RECT bounds = Site().label.Bounds();
    MapWindowPoints(Site().window, nullptr, reinterpret_cast<POINT*>(&bounds), 2);
    // Not focusable: a label never takes the focus; this object reaches it.
    return {
        SystemChildren() + 1, Site().label.Text(), ROLE_SYSTEM_LINK, STATE_SYSTEM_LINKED, bounds,
        kLinkAction};
  }
  // As a click does, once the assistive technology's call has returned.
  void Activate() override { PostMessageW(Site().window, Site().activate_label, 0, 0); }
  bool HasChildObject() const override { return Site().hint.Visible(); }
  win32::ComPtr<IAccessible> NewChildObject() override;
};

// The hint while it shows: an alert whose name is its text. It belongs to
// the window: its parent is the window's client object, which lists it
// among its children. Its state holds the alert level: MSAA's older page
// "Alerts" has the server raise the alert and set the level, which the
// client reads when the alert comes (none: an alert that was cleared), and
// NVDA's source does so; today's "Object State Constants" lists the levels
// as not used. High, as "Alerts" defines it, "important information to be
// immediately conveyed": the pick just made opened nothing, and the hint
// that says why is gone in seconds. Once it is gone the object is
// disconnected, so it answers no level at all.
class AlertAccessible final : public Accessible {
 public:
  explicit AlertAccessible(std::shared_ptr<AccessibleSite> site) : Accessible(std::move(site), {}) {
    hint_ = Site().hints;
  }

 private:
  bool Connected() const override {
    return Accessible::Connected() && Site().hint.Visible() && Site().hints == hint_;
  }
  OwnElement Element() const override {
    RECT bounds{};
    GetWindowRect(Site().hint.Hwnd(), &bounds);
    return {CHILDID_SELF,
            Site().hint.Text(),
            ROLE_SYSTEM_ALERT,
            STATE_SYSTEM_READONLY | STATE_SYSTEM_ALERT_HIGH,
            bounds,
            nullptr};
  }
  HRESULT Parent(IDispatch** parent) override {
    const win32::ComPtr<IAccessible> client = Site().NewClient();
    return client ? client->QueryInterface(IID_PPV_ARGS(parent)) : E_FAIL;
  }

  int hint_ = 0;
};

win32::ComPtr<IAccessible> ClientAccessible::NewChildObject() {
  return win32::MakeComObject<AlertAccessible>(Site().shared_from_this());
}

win32::ComPtr<IAccessible> AccessibleSite::NewClient() {
  using Create = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  win32::ComPtr<IAccessible> standard;
  const auto create = oleacc.Get<Create>("CreateStdAccessibleObject");
  if (gone || create == nullptr) return standard;
  // __uuidof, not IID_IAccessible: a static MinGW build reads the import
  // thunk's bytes for the latter.
  if (win32::Failed(create(window, OBJID_CLIENT, __uuidof(IAccessible),
                           reinterpret_cast<void**>(standard.put())))) {
    return standard;
  }
  return win32::MakeComObject<ClientAccessible>(shared_from_this(), std::move(standard));
}

LRESULT AccessibleSite::Answer(WPARAM wparam, IAccessible* object) {
  using FromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
  const auto answer = oleacc.Get<FromObject>("LresultFromObject");
  if (answer == nullptr || object == nullptr) return 0;
  const LRESULT result = answer(__uuidof(IAccessible), wparam, object);
  if (result < 0) win32::Failed(static_cast<HRESULT>(result));
  return result < 0 ? 0 : result;
}

FormAccessibility::FormAccessibility(const LinkLabel& label, const PickHint& hint,
                                     win32::OleApartment& ole, UINT activate_label)
    : site_(std::make_shared<AccessibleSite>(label, hint, activate_label)), ole_(ole) {}

FormAccessibility::~FormAccessibility() { Disconnect(); }

LRESULT FormAccessibility::OnGetObject(HWND window, WPARAM wparam, LPARAM lparam) {
  // The id arrives as a 32-bit value, sign and all (WM_GETOBJECT).
  const auto id = static_cast<LONG>(static_cast<DWORD>(lparam));
  const bool ours = id == OBJID_CLIENT || (id == kHintObjectId && site_->hint.Visible());
  if (ours && !site_->gone && ole_.Ensure()) {
    site_->window = window;
    const win32::ComPtr<IAccessible> object =
        id == OBJID_CLIENT ? site_->NewClient() : win32::MakeComObject<AlertAccessible>(site_);
    if (object) return site_->Answer(wparam, object.get());
  }
  return DefWindowProcW(window, WM_GETOBJECT, wparam, lparam);
}

// An alert with the hint's text, on every Windows. Today's "Event
// Constants" page says of EVENT_SYSTEM_ALERT "Server applications should not
// send this event"; the older "Alerts" page describes exactly this, a server
// raising it for an object in the alert role. It is kept because it reaches
// every Windows from 7 on: NVDA reads it (its source), Narrator reads it
// from other programs too, and JAWS ignores UI Automation notification
// events. A UI Automation notification as well would have NVDA say the hint
// twice, and UiaHostProviderFromHwnd's object cannot raise events ("If you
// need to raise events ..., you must create a provider object").
void FormAccessibility::AnnounceHint(HWND window) {
  if (site_->gone) return;
  site_->window = window;
  ++site_->hints;
  NotifyWinEvent(EVENT_SYSTEM_ALERT, window, kHintObjectId, CHILDID_SELF);
}

void FormAccessibility::Disconnect() {
  site_->gone = true;
  for (Accessible* object : site_->objects) object->Drop();
}

}  // namespace corvane::main_window
