// What the user is told of a pick that opened nothing: the program's hint
// texts, each an outcome of a pick.

#include "translation/combo1_click.h"

namespace corvane::translation {

std::u16string_view HintFor(PickOutcome outcome) {
  switch (outcome) {
    case PickOutcome::kNoBrowser:
      return u"没有找到 Internet Explorer 窗口：请先在 IE 中打开要翻译的网页。";
    case PickOutcome::kNoAddressField:
    case PickOutcome::kEmptyAddress:
      return u"没有从 Internet Explorer 的地址栏读到网址。";
    case PickOutcome::kBrowserNotAnswering:
      return u"Internet Explorer 没有响应，请稍后再试。";
    case PickOutcome::kNotAWebPage:
      return u"只能翻译网页（以 http:// 或 https:// 开头的地址）。";
    case PickOutcome::kLocalAddress:
      return u"这是本机或局域网上的网页，Google 的服务器无法访问，所以没有发送它的网址。";
    case PickOutcome::kOpened:
    case PickOutcome::kShellFailed:
      break;
  }
  return {};
}

}  // namespace corvane::translation
