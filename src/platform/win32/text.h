#pragma once

// wchar_t is UTF-16 on Windows, so the tool's text and the wide calls' text
// are the same code units.

#include <string>
#include <string_view>

namespace corvane::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline std::wstring ToWide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

inline std::u16string FromWide(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

}  // namespace corvane::win32
