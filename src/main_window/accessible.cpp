#include "main_window/accessible.h"

#include <memory>

#include "platform/win32/trace.h"

namespace corvane::main_window {

namespace {

constexpr wchar_t kLinkAction[] = L"单击";

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT SetInteger(VARIANT* out, long value) {
  if (out == nullptr) return E_POINTER;
  out->vt = VT_I4;
  out->lVal = value;
  return S_OK;
}

HRESULT SetLocation(const RECT& bounds, long* left, long* top, long* width, long* height) {
  if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
  *left = bounds.left;
  *top = bounds.top;
  *width = bounds.right - bounds.left;
  *height = bounds.bottom - bounds.top;
  return S_OK;
}

}  // namespace

win32::ComPtr<IAccessible> AccessibilityApi::StandardClient(HWND window) {
  using Create = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  win32::ComPtr<IAccessible> standard;
  const auto create = oleacc_.Get<Create>("CreateStdAccessibleObject");
  if (create == nullptr) {
    win32::TraceLastError();
    return standard;
  }
  // __uuidof, not IID_IAccessible: a static MinGW build reads the import
  // thunk's bytes for the latter.
  win32::Failed(create(window, OBJID_CLIENT, __uuidof(IAccessible),
                       reinterpret_cast<void**>(standard.put())));
  return standard;
}

LRESULT AccessibilityApi::Answer(WPARAM wparam, IAccessible* object) {
  using FromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
  const auto answer = oleacc_.Get<FromObject>("LresultFromObject");
  if (answer == nullptr || object == nullptr) return 0;
  const LRESULT result = answer(__uuidof(IAccessible), wparam, object);
  if (result < 0) win32::Failed(static_cast<HRESULT>(result));
  return result < 0 ? 0 : result;
}

BSTR AccessibilityApi::String(std::wstring_view text) {
  using Allocate = BSTR(WINAPI*)(const OLECHAR*, UINT);
  const auto allocate = oleaut32_.Get<Allocate>("SysAllocStringLen");
  return allocate == nullptr ? nullptr : allocate(text.data(), static_cast<UINT>(text.size()));
}

STDMETHODIMP AccessibleBase::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
      IsEqualIID(riid, __uuidof(IAccessible))) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) AccessibleBase::AddRef() { return ++references_; }

STDMETHODIMP_(ULONG) AccessibleBase::Release() {
  const ULONG left = --references_;
  if (left == 0) std::unique_ptr<AccessibleBase> last(this);
  return left;
}

STDMETHODIMP AccessibleBase::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}
STDMETHODIMP AccessibleBase::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return E_NOTIMPL;
}
STDMETHODIMP AccessibleBase::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}
STDMETHODIMP AccessibleBase::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                    UINT*) {
  return E_NOTIMPL;
}

STDMETHODIMP AccessibleBase::get_accParent(IDispatch** parent) {
  if (parent != nullptr) *parent = nullptr;
  return Connected() ? S_FALSE : CO_E_OBJNOTCONNECTED;
}
STDMETHODIMP AccessibleBase::get_accChildCount(long* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return Connected() ? S_OK : CO_E_OBJNOTCONNECTED;
}
STDMETHODIMP AccessibleBase::get_accChild(VARIANT /*child*/, IDispatch** dispatch) {
  if (dispatch != nullptr) *dispatch = nullptr;
  return Connected() ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
}
STDMETHODIMP AccessibleBase::get_accName(VARIANT, BSTR*) { return NotSupported(); }
STDMETHODIMP AccessibleBase::get_accValue(VARIANT, BSTR*) { return NotSupported(); }
STDMETHODIMP AccessibleBase::get_accDescription(VARIANT, BSTR*) { return NotSupported(); }
STDMETHODIMP AccessibleBase::get_accRole(VARIANT, VARIANT*) { return NotSupported(); }
STDMETHODIMP AccessibleBase::get_accState(VARIANT, VARIANT*) { return NotSupported(); }
STDMETHODIMP AccessibleBase::get_accHelp(VARIANT, BSTR*) { return NotSupported(); }
STDMETHODIMP AccessibleBase::get_accHelpTopic(BSTR*, VARIANT, long*) { return NotSupported(); }
STDMETHODIMP AccessibleBase::get_accKeyboardShortcut(VARIANT, BSTR*) { return NotSupported(); }
STDMETHODIMP AccessibleBase::get_accFocus(VARIANT*) { return NotSupported(); }
STDMETHODIMP AccessibleBase::get_accSelection(VARIANT*) { return NotSupported(); }
STDMETHODIMP AccessibleBase::get_accDefaultAction(VARIANT, BSTR*) { return NotSupported(); }
STDMETHODIMP AccessibleBase::accSelect(long, VARIANT) { return NotSupported(); }
STDMETHODIMP AccessibleBase::accLocation(long*, long*, long*, long*, VARIANT) {
  return NotSupported();
}
STDMETHODIMP AccessibleBase::accNavigate(long, VARIANT, VARIANT*) { return NotSupported(); }
STDMETHODIMP AccessibleBase::accHitTest(long, long, VARIANT*) { return NotSupported(); }
STDMETHODIMP AccessibleBase::accDoDefaultAction(VARIANT) { return NotSupported(); }
// Both setters are deprecated; no object takes them.
STDMETHODIMP AccessibleBase::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }
STDMETHODIMP AccessibleBase::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

long ClientAccessible::LinkId() {
  long count = 0;
  if (!standard_ || FAILED(standard_->get_accChildCount(&count))) count = 0;
  return count + 1;
}

// Everything but the link is the system's: its answers pass through.
ClientAccessible::ClientAccessible(win32::ComPtr<IAccessible> standard, Link link,
                                   AccessibilityApi& api)
    : standard_(std::move(standard)), link_(std::move(link)), api_(api) {
  // The system's object enumerates its children (Windows' and Wine's both
  // do); without, its children are given by id.
  if (standard_) {
    standard_->QueryInterface(__uuidof(IEnumVARIANT),
                              reinterpret_cast<void**>(system_children_.put()));
  }
}

STDMETHODIMP ClientAccessible::QueryInterface(REFIID riid, void** object) {
  if (object != nullptr && IsEqualIID(riid, __uuidof(IEnumVARIANT))) {
    *object = static_cast<IEnumVARIANT*>(this);
    AddRef();
    return S_OK;
  }
  return AccessibleBase::QueryInterface(riid, object);
}

STDMETHODIMP ClientAccessible::Next(ULONG wanted, VARIANT* children, ULONG* fetched) {
  if (fetched != nullptr) *fetched = 0;
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  if (children == nullptr) return E_POINTER;
  const long link = LinkId();
  ULONG given = 0;
  if (next_child_ < link) {
    if (system_children_) {
      // As the system hands them over: a child window as an object of its own.
      system_children_->Next(wanted, children, &given);
      next_child_ = given < wanted ? link : next_child_ + static_cast<long>(given);
    } else {
      for (; given < wanted && next_child_ < link; ++given)
        SetInteger(&children[given], next_child_++);
    }
  }
  if (given < wanted && next_child_ == link) {
    SetInteger(&children[given++], link);
    ++next_child_;
  }
  if (fetched != nullptr) *fetched = given;
  return given == wanted ? S_OK : S_FALSE;
}

STDMETHODIMP ClientAccessible::Skip(ULONG count) {
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

STDMETHODIMP ClientAccessible::Reset() {
  next_child_ = 1;
  if (system_children_) system_children_->Reset();
  return Gone() ? CO_E_OBJNOTCONNECTED : S_OK;
}

STDMETHODIMP ClientAccessible::Clone(IEnumVARIANT** copy) {
  if (copy != nullptr) *copy = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ClientAccessible::get_accParent(IDispatch** parent) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  return standard_->get_accParent(parent);
}

STDMETHODIMP ClientAccessible::get_accChildCount(long* count) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  if (count == nullptr) return E_POINTER;
  *count = LinkId();
  return S_OK;
}

STDMETHODIMP ClientAccessible::get_accChild(VARIANT child, IDispatch** dispatch) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  if (!IsLink(child)) return standard_->get_accChild(child, dispatch);
  // A simple element: it has no object of its own, its parent answers for it.
  if (dispatch == nullptr) return E_POINTER;
  *dispatch = nullptr;
  return S_FALSE;
}

STDMETHODIMP ClientAccessible::get_accName(VARIANT child, BSTR* name) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  if (!IsLink(child)) return standard_->get_accName(child, name);
  if (name == nullptr) return E_POINTER;
  *name = api_.String(link_.name);
  return *name == nullptr ? E_OUTOFMEMORY : S_OK;
}

STDMETHODIMP ClientAccessible::get_accValue(VARIANT child, BSTR* value) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  if (!IsLink(child)) return standard_->get_accValue(child, value);
  return AccessibleBase::get_accValue(child, value);
}

STDMETHODIMP ClientAccessible::get_accDescription(VARIANT child, BSTR* description) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  if (!IsLink(child)) return standard_->get_accDescription(child, description);
  return AccessibleBase::get_accDescription(child, description);
}

STDMETHODIMP ClientAccessible::get_accRole(VARIANT child, VARIANT* role) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  if (!IsLink(child)) return standard_->get_accRole(child, role);
  return SetInteger(role, ROLE_SYSTEM_LINK);
}

STDMETHODIMP ClientAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  if (!IsLink(child)) return standard_->get_accState(child, state);
  // Not focusable: a label never takes the focus; this object reaches it.
  return SetInteger(state, STATE_SYSTEM_LINKED);
}

STDMETHODIMP ClientAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  if (!IsLink(child)) return standard_->get_accKeyboardShortcut(child, shortcut);
  return AccessibleBase::get_accKeyboardShortcut(child, shortcut);
}

STDMETHODIMP ClientAccessible::get_accFocus(VARIANT* focus) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  return standard_->get_accFocus(focus);
}

STDMETHODIMP ClientAccessible::get_accSelection(VARIANT* selection) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  return standard_->get_accSelection(selection);
}

STDMETHODIMP ClientAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  if (!IsLink(child)) return standard_->get_accDefaultAction(child, action);
  if (action == nullptr) return E_POINTER;
  *action = api_.String(kLinkAction);
  return *action == nullptr ? E_OUTOFMEMORY : S_OK;
}

STDMETHODIMP ClientAccessible::accSelect(long flags, VARIANT child) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  if (!IsLink(child)) return standard_->accSelect(flags, child);
  return AccessibleBase::accSelect(flags, child);
}

STDMETHODIMP ClientAccessible::accLocation(long* left, long* top, long* width, long* height,
                                           VARIANT child) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  if (!IsLink(child)) return standard_->accLocation(left, top, width, height, child);
  return SetLocation(link_.bounds_on_screen(), left, top, width, height);
}

STDMETHODIMP ClientAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  if (end == nullptr) return E_POINTER;
  const long link = LinkId();
  // The link comes after the system's children.
  if (IsSelf(start) && direction == NAVDIR_LASTCHILD) return SetInteger(end, link);
  if (start.vt == VT_I4 && start.lVal == link - 1 && direction == NAVDIR_NEXT) {
    return SetInteger(end, link);
  }
  if (IsLink(start)) {
    if (direction == NAVDIR_PREVIOUS && link > 1) return SetInteger(end, link - 1);
    end->vt = VT_EMPTY;
    return S_FALSE;
  }
  return standard_->accNavigate(direction, start, end);
}

STDMETHODIMP ClientAccessible::accHitTest(long left, long top, VARIANT* child) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  const RECT bounds = link_.bounds_on_screen();
  if (PtInRect(&bounds, {left, top}) != FALSE) return SetInteger(child, LinkId());
  return standard_->accHitTest(left, top, child);
}

STDMETHODIMP ClientAccessible::accDoDefaultAction(VARIANT child) {
  if (Gone()) return CO_E_OBJNOTCONNECTED;
  if (!IsLink(child)) return standard_->accDoDefaultAction(child);
  link_.activate();
  return S_OK;
}

STDMETHODIMP AlertAccessible::get_accName(VARIANT child, BSTR* name) {
  if (!Connected()) return CO_E_OBJNOTCONNECTED;
  if (!IsSelf(child)) return E_INVALIDARG;
  if (name == nullptr) return E_POINTER;
  *name = api_.String(text_);
  return *name == nullptr ? E_OUTOFMEMORY : S_OK;
}

STDMETHODIMP AlertAccessible::get_accRole(VARIANT child, VARIANT* role) {
  if (!Connected()) return CO_E_OBJNOTCONNECTED;
  if (!IsSelf(child)) return E_INVALIDARG;
  return SetInteger(role, ROLE_SYSTEM_ALERT);
}

STDMETHODIMP AlertAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (!Connected()) return CO_E_OBJNOTCONNECTED;
  if (!IsSelf(child)) return E_INVALIDARG;
  return SetInteger(state, STATE_SYSTEM_READONLY);
}

STDMETHODIMP AlertAccessible::accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) {
  if (!Connected()) return CO_E_OBJNOTCONNECTED;
  if (!IsSelf(child)) return E_INVALIDARG;
  return SetLocation(bounds_, left, top, width, height);
}

}  // namespace corvane::main_window
