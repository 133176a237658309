#pragma once

// Corvane's design as the tests expect it: its texts and numbers, written
// here once and independently of src/, so no test takes its expected value
// from the code it checks.

#include <string>
#include <string_view>

namespace corvane::design {

inline constexpr std::u16string_view kRow1 = u"自动检测语言＞中文(简)";
inline constexpr std::u16string_view kRow2 = u"自动检测语言＞中文(繁)";
inline constexpr std::u16string_view kPrompt = u"请选择";
inline constexpr std::u16string_view kInitialText = u"快速网页翻译 - 请选择";
inline constexpr std::u16string_view kCaption = u"Corvane";
inline constexpr std::u16string_view kLabel1Caption = u"用Tavlo看YouTube视频";

// The requests, up to the percent-encoded address that follows.
inline constexpr std::string_view kRow1Prefix =
    "https://translate.google.com/translate?hl=zh-CN&sl=auto&tl=zh-CN&u=";
inline constexpr std::string_view kRow2Prefix =
    "https://translate.google.com/translate?hl=zh-TW&sl=auto&tl=zh-TW&u=";

// An address with everything that must survive the trip, and its encoding.
inline constexpr std::u16string_view kHostileAddress = u"http://例子.测试/a b?x=1&y=2%41#片段😀";
inline constexpr std::string_view kHostileAddressEncoded =
    "http%3A%2F%2F%E4%BE%8B%E5%AD%90.%E6%B5%8B%E8%AF%95%2Fa%20b%3Fx%3D1%26y%3D2%2541%23"
    "%E7%89%87%E6%AE%B5%F0%9F%98%80";

// What a pick that opened nothing says, for each cause.
inline constexpr std::u16string_view kHintNoBrowser =
    u"没有找到 Internet Explorer 窗口：请先在 IE 中打开要翻译的网页。";
inline constexpr std::u16string_view kHintNoAddress =
    u"没有从 Internet Explorer 的地址栏读到网址。";
inline constexpr std::u16string_view kHintNotAnswering =
    u"Internet Explorer 没有响应，请稍后再试。";
inline constexpr std::u16string_view kHintNotAWebPage =
    u"只能翻译网页（以 http:// 或 https:// 开头的地址）。";
inline constexpr std::u16string_view kHintLocal =
    u"这是本机或局域网上的网页，Google 的服务器无法访问，所以没有发送它的网址。";

// Geometry in twips: left, top, width, height.
struct TwipsRect {
  int left, top, width, height;
};
inline constexpr int kClientWidth = 3630;
inline constexpr int kClientHeight = 1095;
inline constexpr TwipsRect kCombo1{480, 240, 2655, 330};
// The label's design size; at run time it takes the size of its text.
inline constexpr TwipsRect kLabel1{1800, 840, 1710, 180};

inline constexpr std::u16string_view kPromotionCaption =
    u"Tavlo网络广告 - 通过软件加载的网络广告 - 广告投放:ads@tavlo.example";
inline constexpr std::u16string_view kPromotionPage = u"https://www.tavlo.example/ad/index1.htm";
// The promotion window's outer size after load, and its control's.
inline constexpr int kPromotionWidth = 9090;
inline constexpr int kPromotionHeight = 5710;

// Twips to pixels at `dpi`, rounded to nearest, worked out here rather than
// taken from the code under test.
constexpr int Pixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }
static_assert(Pixels(kClientWidth, 96) == 242 && Pixels(kClientHeight, 144) == 110);

// ASCII text as UTF-16, for comparing requests with what a fake shell got.
inline std::u16string Widen(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

}  // namespace corvane::design
