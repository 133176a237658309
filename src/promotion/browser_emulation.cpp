#include "promotion/browser_emulation.h"

namespace corvane::promotion {

std::optional<std::uint32_t> BrowserEmulationFor(std::u16string_view version) {
  // The major version: the digits before the first dot.
  std::uint32_t major = 0;
  std::size_t digits = 0;
  for (;
       digits < version.size() && digits < 3 && version[digits] >= u'0' && version[digits] <= u'9';
       ++digits) {
    major = major * 10 + static_cast<std::uint32_t>(version[digits] - u'0');
  }
  if (digits == 0 || (digits < version.size() && version[digits] != u'.')) return std::nullopt;
  // The documented values that follow <!DOCTYPE> as that version would.
  switch (major) {
    case 7:
      return 7000;
    case 8:
      return 8000;
    case 9:
      return 9000;
    case 10:
      return 10000;
    case 11:
      return 11000;
    default:
      return std::nullopt;
  }
}

}  // namespace corvane::promotion
