#include "platform/win32/win32_urls.h"

#include <urlmon.h>

#include <string>

#include "platform/win32/scoped.h"
#include "platform/win32/text.h"
#include "platform/win32/trace.h"

namespace corvane::win32 {

namespace {

using platform::HostKind;

// The zone of `url` as the security manager gives it, URLZONE_INVALID where
// it gives none. Runs on a thread of its own, which may outlive whoever
// asked: it holds its own references to the DLLs it calls.
DWORD ZoneOf(const std::wstring& url) {
  using CoInitializeExFn = HRESULT(WINAPI*)(void*, DWORD);
  using CoUninitializeFn = void(WINAPI*)();
  using CreateManagerFn = HRESULT(WINAPI*)(IServiceProvider*, IInternetSecurityManager**, DWORD);
  SystemLibrary ole32(L"ole32.dll");
  SystemLibrary urlmon(L"urlmon.dll");
  const auto initialize = ole32.Get<CoInitializeExFn>("CoInitializeEx");
  const auto uninitialize = ole32.Get<CoUninitializeFn>("CoUninitialize");
  const auto create_manager = urlmon.Get<CreateManagerFn>("CoInternetCreateSecurityManager");
  if (initialize == nullptr || uninitialize == nullptr || create_manager == nullptr) {
    TraceLastError();
    return static_cast<DWORD>(URLZONE_INVALID);
  }
  if (Failed(initialize(nullptr, COINIT_MULTITHREADED))) return static_cast<DWORD>(URLZONE_INVALID);
  auto zone = static_cast<DWORD>(URLZONE_INVALID);
  {
    ComPtr<IInternetSecurityManager> manager;
    if (!Failed(create_manager(nullptr, manager.put(), 0)) &&
        Failed(manager->MapUrlToZone(url.c_str(), &zone, 0))) {
      zone = static_cast<DWORD>(URLZONE_INVALID);
    }
  }
  uninitialize();
  return zone;
}

}  // namespace

std::optional<platform::UrlHost> Win32Urls::Host(std::u16string_view address) {
  using CreateUriFn = HRESULT(WINAPI*)(LPCWSTR, DWORD, DWORD_PTR, IUri**);
  const auto create_uri = urlmon_.Get<CreateUriFn>("CreateUri");
  if (create_uri == nullptr) {
    TraceLastError();
    return std::nullopt;
  }
  ComPtr<IUri> uri;
  if (Failed(create_uri(ToWide(address).c_str(), Uri_CREATE_CANONICALIZE, 0, uri.put()))) {
    return std::nullopt;
  }
  DWORD type = Uri_HOST_UNKNOWN;
  BSTR raw = nullptr;
  // GetHost answers S_FALSE, and an empty string, where there is no host.
  const HRESULT got = uri->GetHost(&raw);
  const OleStrings::Owned host = strings_.Take(raw);
  if (got != S_OK || Failed(uri->GetHostType(&type)) || host == nullptr) return std::nullopt;
  platform::UrlHost parsed{FromWide(host.get()), HostKind::kName};
  switch (type) {
    case Uri_HOST_DNS:
    case Uri_HOST_IDN:
      break;
    case Uri_HOST_IPV4:
      parsed.kind = HostKind::kIPv4;
      break;
    case Uri_HOST_IPV6:
      parsed.kind = HostKind::kIPv6;
      break;
    default:
      return std::nullopt;
  }
  return parsed;
}

std::optional<platform::UrlZone> Win32Urls::Zone(std::u16string_view address) {
  // The security manager may consult the proxy's settings, even run its
  // script, to tell the intranet: it is asked on a thread of its own.
  const std::optional<DWORD> zone =
      CallWithin<DWORD>(zone_timeout_ms_, [url = ToWide(address)] { return ZoneOf(url); });
  if (!zone || *zone > static_cast<DWORD>(URLZONE_UNTRUSTED)) return std::nullopt;
  return static_cast<platform::UrlZone>(*zone);
}

}  // namespace corvane::win32
