#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/urls.h"

namespace corvane::translation {

// Whether Google's servers, which fetch the page from the publisher
// themselves, can reach a page on `host`, as Windows' parser read it: not
// an address outside globally reachable space, not a name only a local
// network knows. A host that cannot be judged is not public.
bool IsPublicHost(const platform::UrlHost& host);

// Whether Windows itself puts an address in a zone of this computer or its
// intranet (what the administrator or the user listed there). No answer
// counts as neither.
bool IsLocalZone(std::optional<platform::UrlZone> zone);

// An IPv6 address in text (RFC 4291: eight groups, one "::" for a run of
// zero groups, the last two groups as dotted IPv4 if wanted), without
// brackets; nullopt where it is not one.
std::optional<std::array<std::uint8_t, 16>> ParseIPv6(std::u16string_view text);

}  // namespace corvane::translation
