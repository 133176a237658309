#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane::platform {

// How Windows' own URL parser names an address's host.
enum class HostKind {
  kName,  // a DNS name, international names included
  kIPv4,
  kIPv6,
};

struct UrlHost {
  std::u16string host;  // as the parser gives it; an IPv6 address without brackets
  HostKind kind = HostKind::kName;
};

// The security zones Windows places addresses in, with its own numbers.
enum class UrlZone {
  kLocalMachine = 0,
  kIntranet = 1,
  kTrusted = 2,
  kInternet = 3,
  kRestricted = 4,
};

// Addresses as Internet Explorer itself reads them.
class Urls {
 public:
  Urls() = default;
  Urls(const Urls&) = delete;
  Urls& operator=(const Urls&) = delete;
  virtual ~Urls() = default;

  // The host of `address`; nullopt where Windows cannot parse the address or
  // it names no host.
  virtual std::optional<UrlHost> Host(std::u16string_view address) = 0;
  // The zone Windows places `address` in; nullopt where it gave no answer,
  // or none in the time a pick may wait.
  virtual std::optional<UrlZone> Zone(std::u16string_view address) = 0;
};

}  // namespace corvane::platform
