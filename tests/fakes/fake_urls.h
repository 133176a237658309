#pragma once

#include "platform/urls.h"

namespace corvane::testing {

// Every address on one host in one zone: a public name on the Internet
// unless a test says otherwise.
class FakeUrls final : public platform::Urls {
 public:
  std::optional<platform::UrlHost> Host(std::u16string_view /*address*/) override { return host; }
  std::optional<platform::UrlZone> Zone(std::u16string_view /*address*/) override { return zone; }

  std::optional<platform::UrlHost> host =
      platform::UrlHost{u"a.example", platform::HostKind::kName};
  std::optional<platform::UrlZone> zone = platform::UrlZone::kInternet;
};

}  // namespace corvane::testing
