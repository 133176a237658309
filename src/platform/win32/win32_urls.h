#pragma once

#include <windows.h>

#include "platform/urls.h"
#include "platform/win32/bounded_call.h"
#include "platform/win32/ole_strings.h"
#include "platform/win32/system_library.h"

namespace corvane::win32 {

// Addresses through urlmon, as Internet Explorer 7 and later read them:
// CreateUri's parse, and the security manager's zone.
class Win32Urls final : public platform::Urls {
 public:
  explicit Win32Urls(DWORD zone_timeout_ms = kAnswerTimeoutMs)
      : zone_timeout_ms_(zone_timeout_ms) {}

  std::optional<platform::UrlHost> Host(std::u16string_view address) override;
  std::optional<platform::UrlZone> Zone(std::u16string_view address) override;

 private:
  DWORD zone_timeout_ms_;
  // Loaded on the first pick, not at start-up.
  SystemLibrary urlmon_{L"urlmon.dll"};
  OleStrings strings_;
};

}  // namespace corvane::win32
