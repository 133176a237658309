#include "promotion/web_browser_host.h"

#include <oleauto.h>

#include <memory>

namespace corvane::promotion {

namespace {

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

}  // namespace

bool WebBrowserHost::Create(HWND parent, int control_id) {
  // An ActiveX control needs OLE on its thread.
  if (!ole_.Ensure()) return false;
  const auto init = atl_.Get<AtlAxWinInitFn>("AtlAxWinInit");
  const auto get_control = atl_.Get<AtlAxGetControlFn>("AtlAxGetControl");
  if (init == nullptr || get_control == nullptr) return false;
  // Some atl.dll builds refuse a second AtlAxWinInit once the class exists.
  WNDCLASSEXW registered{};
  registered.cbSize = sizeof(registered);
  if (!init() && !GetClassInfoExW(atl_.Module(), L"AtlAxWin", &registered)) return false;

  hwnd_ = CreateWindowExW(
      0, L"AtlAxWin", L"Shell.Explorer.2", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)), nullptr, nullptr);
  if (hwnd_ == nullptr) return false;
  win32::ComPtr<IUnknown> control;
  if (FAILED(get_control(hwnd_, control.put())) || !control ||
      FAILED(control->QueryInterface(IID_PPV_ARGS(browser_.put())))) {
    Destroy();
    return false;
  }
  return true;
}

void WebBrowserHost::Destroy() {
  browser_.reset();
  if (hwnd_ != nullptr && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

void WebBrowserHost::Navigate(std::wstring_view address) {
  using SysAllocStringLenFn = BSTR(WINAPI*)(const OLECHAR*, UINT);
  using SysFreeStringFn = void(WINAPI*)(BSTR);
  const auto allocate = oleaut32_.Get<SysAllocStringLenFn>("SysAllocStringLen");
  const auto free = oleaut32_.Get<SysFreeStringFn>("SysFreeString");
  if (!browser_ || allocate == nullptr || free == nullptr) return;
  const std::unique_ptr<OLECHAR, SysFreeStringFn> url(
      allocate(address.data(), static_cast<UINT>(address.size())), free);
  VARIANT none{};  // VT_EMPTY: no flags, frame, post data or headers
  browser_->Navigate(url.get(), &none, &none, &none, &none);
}

}  // namespace corvane::promotion
