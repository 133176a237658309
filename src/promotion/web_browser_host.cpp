#include "promotion/web_browser_host.h"

#include <oleauto.h>

#include <string>

namespace corvane::promotion {

namespace {

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(  // NOLINT: GetProcAddress's type is erased
      reinterpret_cast<void*>(GetProcAddress(module, name)));  // NOLINT
}

// Owns a BSTR.
class Bstr {
 public:
  explicit Bstr(std::wstring_view text)
      : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(value_); }
  BSTR get() const { return value_; }

 private:
  BSTR value_;
};

}  // namespace

bool WebBrowserHost::Create(HWND parent, int control_id) {
  if (!atl_) {
    // Only from System32: never a DLL planted beside the executable.
    atl_.reset(LoadLibraryExW(L"atl.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!atl_) return false;
  }
  const auto init = Lookup<AtlAxWinInitFn>(atl_.get(), "AtlAxWinInit");
  const auto get_control = Lookup<AtlAxGetControlFn>(atl_.get(), "AtlAxGetControl");
  if (init == nullptr || get_control == nullptr) return false;
  // Some atl.dll builds refuse a second AtlAxWinInit once the class exists.
  WNDCLASSEXW registered{};
  registered.cbSize = sizeof(registered);
  if (!init() && !GetClassInfoExW(atl_.get(), L"AtlAxWin", &registered)) return false;

  hwnd_ = CreateWindowExW(0, L"AtlAxWin", L"Shell.Explorer.2", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                          0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)),  // NOLINT
                          nullptr, nullptr);
  if (hwnd_ == nullptr) return false;
  win32::ComPtr<IUnknown> control;
  if (FAILED(get_control(hwnd_, control.put())) || !control ||
      FAILED(control->QueryInterface(IID_IWebBrowser2, browser_.put_void()))) {
    Destroy();
    return false;
  }
  return true;
}

void WebBrowserHost::Destroy() {
  browser_.Release();
  if (hwnd_ != nullptr && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

void WebBrowserHost::Navigate(std::wstring_view address) const {
  if (!browser_) return;
  const Bstr url(address);
  VARIANT none;
  VariantInit(&none);
  browser_->Navigate(url.get(), &none, &none, &none, &none);
}

}  // namespace corvane::promotion
