#pragma once

// The browser control renders as Internet Explorer 7 unless the program is
// named under FEATURE_BROWSER_EMULATION; the value there chooses the
// installed engine's standards mode.

#include <cstdint>
#include <optional>
#include <string_view>

namespace corvane::promotion {

// The FEATURE_BROWSER_EMULATION value for the standards mode of the
// installed Internet Explorer, from its version as the registry gives it
// ("svcVersion" where present, which versions 10 and later have, else
// "Version"); nothing for a version we do not know.
std::optional<std::uint32_t> BrowserEmulationFor(std::u16string_view version);

}  // namespace corvane::promotion
