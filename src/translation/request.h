#pragma once

#include <array>
#include <string>
#include <string_view>

namespace corvane::translation {

// One entry of the choice list and the translation it asks for.
struct TranslationTarget {
  std::u16string_view entry;           // compared exactly with the list's text
  std::u16string_view request_prefix;  // the page address follows it
};

// In the list's order; the list's entries carry exactly these texts. `tl` is
// the language the page is translated into (`hl` only that of the service's
// own interface); `u` comes last and takes the rest of the request.
inline constexpr std::array<TranslationTarget, 2> kTranslationTargets = {{
    {u"自动检测语言＞中文(简)",
     u"https://translate.google.com/translate?hl=zh-CN&sl=auto&tl=zh-CN&u="},
    {u"自动检测语言＞中文(繁)",
     u"https://translate.google.com/translate?hl=zh-TW&sl=auto&tl=zh-TW&u="},
}};

// What the list shows once the shell has taken a request.
inline constexpr std::u16string_view kPrompt = u"请选择";

// UTF-8 of `text`; an unpaired surrogate becomes U+FFFD.
std::string EncodeUtf8(std::u16string_view text);

// The UTF-8 bytes of `text`, each byte other than A-Z a-z 0-9 - . _ ~ as %XX
// with upper-case hex, so the service reads the whole address as the value
// of `u` and none of its & # % or spaces as its own syntax.
std::u16string PercentEncodeUtf8(std::u16string_view text);

// The request that asks for the page at `address` translated as `target` says.
std::u16string BuildRequest(const TranslationTarget& target, std::u16string_view address);

}  // namespace corvane::translation
