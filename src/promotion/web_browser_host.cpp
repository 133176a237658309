#include "promotion/web_browser_host.h"

#include <oleauto.h>

#include <string>

#include "platform/win32/text.h"
#include "platform/win32/trace.h"
#include "promotion/browser_emulation.h"

namespace corvane::promotion {

namespace {

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

constexpr wchar_t kEmulationKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";

std::wstring ReadString(HKEY root, const wchar_t* key, const wchar_t* name) {
  wchar_t value[64] = {};
  DWORD size = sizeof(value);
  if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
    return {};
  }
  return value;
}

}  // namespace

void NameProgramForBrowserEmulation() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  const std::wstring_view full(path, length);
  const std::wstring program(full.substr(full.find_last_of(L"\\/") + 1));
  DWORD existing = 0;
  DWORD size = sizeof(existing);
  // The user's or an administrator's choice stays.
  if (RegGetValueW(HKEY_CURRENT_USER, kEmulationKey, program.c_str(), RRF_RT_ANY, nullptr,
                   &existing, &size) != ERROR_FILE_NOT_FOUND) {
    return;
  }
  constexpr wchar_t kExplorerKey[] = L"Software\\Microsoft\\Internet Explorer";
  std::wstring version = ReadString(HKEY_LOCAL_MACHINE, kExplorerKey, L"svcVersion");
  if (version.empty()) version = ReadString(HKEY_LOCAL_MACHINE, kExplorerKey, L"Version");
  const std::optional<std::uint32_t> mode = BrowserEmulationFor(win32::FromWide(version));
  if (!mode) return;
  const DWORD value = *mode;
  const LSTATUS written = RegSetKeyValueW(HKEY_CURRENT_USER, kEmulationKey, program.c_str(),
                                          REG_DWORD, &value, sizeof(value));
  if (written != ERROR_SUCCESS)
    win32::Trace("RegSetKeyValueW", static_cast<unsigned long>(written));
}

bool WebBrowserHost::Create(HWND parent, int control_id) {
  // An ActiveX control needs OLE on its thread.
  if (!ole_.Ensure()) return false;
  const auto init = atl_.Get<AtlAxWinInitFn>("AtlAxWinInit");
  const auto get_control = atl_.Get<AtlAxGetControlFn>("AtlAxGetControl");
  if (init == nullptr || get_control == nullptr) return win32::TraceLastError();
  // Some atl.dll builds refuse a second AtlAxWinInit once the class exists.
  WNDCLASSEXW registered{};
  registered.cbSize = sizeof(registered);
  if (!init() && !GetClassInfoExW(atl_.Module(), L"AtlAxWin", &registered))
    return win32::TraceLastError();

  hwnd_ = CreateWindowExW(
      0, L"AtlAxWin", L"Shell.Explorer.2", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)), nullptr, nullptr);
  if (hwnd_ == nullptr) return win32::TraceLastError();
  win32::ComPtr<IUnknown> control;
  if (win32::Failed(get_control(hwnd_, control.put())) || !control ||
      win32::Failed(control->QueryInterface(IID_PPV_ARGS(browser_.put())))) {
    Destroy();
    return false;
  }
  // A script error on the page is the page's business: no dialog about it.
  win32::Failed(browser_->put_Silent(VARIANT_TRUE));
  return true;
}

void WebBrowserHost::Destroy() {
  browser_.reset();
  if (hwnd_ != nullptr && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

void WebBrowserHost::Navigate(std::wstring_view address) {
  if (!browser_) return;
  const win32::OleStrings::Owned url = strings_.Make(address);
  if (!url) return;
  VARIANT none{};  // VT_EMPTY: no flags, frame, post data or headers
  browser_->Navigate(url.get(), &none, &none, &none, &none);
}

}  // namespace corvane::promotion
