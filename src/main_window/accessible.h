#pragma once

// What assistive technology (screen readers, through Microsoft Active
// Accessibility, and UI Automation, which maps it) sees of the main window
// beyond what the system knows by itself: the link label, drawn by the
// window, as a link; and the hint as an alert.

#include <windows.h>

#include <oleacc.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/win32/scoped.h"
#include "platform/win32/system_library.h"

namespace corvane::main_window {

// oleacc and oleaut32, loaded on the first question from assistive
// technology, so a start without one pays nothing for them.
class AccessibilityApi {
 public:
  win32::ComPtr<IAccessible> StandardClient(HWND window);
  // The answer to WM_GETOBJECT that hands `object` to whoever asked.
  LRESULT Answer(WPARAM wparam, IAccessible* object);
  // A BSTR for the caller to free, as the interface's out-parameters are.
  BSTR String(std::wstring_view text);

 private:
  win32::SystemLibrary oleacc_{L"oleacc.dll"};
  win32::SystemLibrary oleaut32_{L"oleaut32.dll"};
};

// IUnknown and IDispatch, and for every IAccessible property the answer
// "not supported" that servers give; the objects below add what they have.
// Once disconnected (its window is gone), every call says so.
// COM interfaces have no virtual destructor; this class adds one, and
// Release frees through it (so for the classes below too).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class AccessibleBase : public IAccessible {
 public:
  AccessibleBase() = default;
  AccessibleBase(const AccessibleBase&) = delete;
  AccessibleBase& operator=(const AccessibleBase&) = delete;
  virtual ~AccessibleBase() = default;

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // Clients reach IAccessible through its own methods, never by name.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                      UINT*) override;

  STDMETHODIMP get_accParent(IDispatch** parent) override;
  STDMETHODIMP get_accChildCount(long* count) override;
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** dispatch) override;
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  STDMETHODIMP get_accFocus(VARIANT* focus) override;
  STDMETHODIMP get_accSelection(VARIANT* selection) override;
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
  STDMETHODIMP accSelect(long flags, VARIANT child) override;
  STDMETHODIMP accLocation(long* left, long* top, long* width, long* height,
                           VARIANT child) override;
  STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
  STDMETHODIMP accHitTest(long left, long top, VARIANT* child) override;
  STDMETHODIMP accDoDefaultAction(VARIANT child) override;
  STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
  STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

  void Disconnect() { connected_ = false; }

 protected:
  bool Connected() const { return connected_; }
  // What an object without the property answers (IAccessible's
  // documentation), or that it is gone.
  HRESULT NotSupported() const { return connected_ ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED; }

 private:
  ULONG references_ = 1;
  bool connected_ = true;
};

// A COM object with its one first reference; Release frees it.
template <typename Object, typename... Arguments>
win32::ComPtr<Object> MakeAccessible(Arguments&&... arguments) {
  win32::ComPtr<Object> made;
  *made.put() = std::make_unique<Object>(std::forward<Arguments>(arguments)...).release();
  return made;
}

// The main window's client area: the system's own object for it, which
// knows the list, with the link label added as one more child: a link with
// a name, a place on the screen and a default action. Its children are
// also enumerated (IEnumVARIANT), as AccessibleChildren asks first: the
// system's, then the link.
class ClientAccessible final : public AccessibleBase, public IEnumVARIANT {
 public:
  struct Link {
    std::wstring name;
    std::function<RECT()> bounds_on_screen;
    std::function<void()> activate;
  };

  ClientAccessible(win32::ComPtr<IAccessible> standard, Link link, AccessibilityApi& api);

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override { return AccessibleBase::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return AccessibleBase::Release(); }

  STDMETHODIMP Next(ULONG wanted, VARIANT* children, ULONG* fetched) override;
  STDMETHODIMP Skip(ULONG count) override;
  STDMETHODIMP Reset() override;
  STDMETHODIMP Clone(IEnumVARIANT** copy) override;

  STDMETHODIMP get_accParent(IDispatch** parent) override;
  STDMETHODIMP get_accChildCount(long* count) override;
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** dispatch) override;
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  STDMETHODIMP get_accFocus(VARIANT* focus) override;
  STDMETHODIMP get_accSelection(VARIANT* selection) override;
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
  STDMETHODIMP accSelect(long flags, VARIANT child) override;
  STDMETHODIMP accLocation(long* left, long* top, long* width, long* height,
                           VARIANT child) override;
  STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
  STDMETHODIMP accHitTest(long left, long top, VARIANT* child) override;
  STDMETHODIMP accDoDefaultAction(VARIANT child) override;

 private:
  bool Gone() const { return !Connected() || !standard_; }
  // The link's child id: after the system's children.
  long LinkId();
  bool IsLink(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == LinkId(); }

  win32::ComPtr<IAccessible> standard_;
  Link link_;
  AccessibilityApi& api_;
  // The enumeration: the system's children, then the link.
  win32::ComPtr<IEnumVARIANT> system_children_;
  long next_child_ = 1;  // the child id the enumeration is at
};
#pragma GCC diagnostic pop

// The hint while it shows: an alert whose name is its text.
class AlertAccessible final : public AccessibleBase {
 public:
  AlertAccessible(std::wstring text, RECT bounds, AccessibilityApi& api)
      : text_(std::move(text)), bounds_(bounds), api_(api) {}

  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
  STDMETHODIMP accLocation(long* left, long* top, long* width, long* height,
                           VARIANT child) override;

 private:
  std::wstring text_;
  RECT bounds_;
  AccessibilityApi& api_;
};

}  // namespace corvane::main_window
