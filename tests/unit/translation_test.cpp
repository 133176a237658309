#include <gtest/gtest.h>

#include <string>

#include <functional>

#include "fakes/fake_shell.h"
#include "fakes/fake_urls.h"
#include "fakes/fake_window_system.h"
#include "support/design.h"
#include "translation/combo1_click.h"
#include "translation/request.h"

namespace corvane::translation {
namespace {

TEST(PercentEncodeUtf8, KeepsOnlyUnreservedAsciiAndEncodesEveryOtherByte) {
  EXPECT_EQ(PercentEncodeUtf8(u"AZaz09-._~"), u"AZaz09-._~");
  EXPECT_EQ(PercentEncodeUtf8(u"a b&c=d#e%f?g/h:i+"), u"a%20b%26c%3Dd%23e%25f%3Fg%2Fh%3Ai%2B");
  EXPECT_EQ(PercentEncodeUtf8(u"é例😀"), u"%C3%A9%E4%BE%8B%F0%9F%98%80");
  // U+1F3FF: its low surrogate is the last one there is, 0xDFFF.
  EXPECT_EQ(PercentEncodeUtf8(u"\U0001F3FF"), u"%F0%9F%8F%BF");
  EXPECT_EQ(PercentEncodeUtf8(std::u16string(1, u'\0')), u"%00");
}

TEST(PercentEncodeUtf8, UnpairedSurrogatesBecomeTheReplacementCharacter) {
  const std::u16string lone_high(1, static_cast<char16_t>(0xD83D));
  const std::u16string lone_low(1, static_cast<char16_t>(0xDE00));
  EXPECT_EQ(PercentEncodeUtf8(lone_high), u"%EF%BF%BD");
  EXPECT_EQ(PercentEncodeUtf8(lone_low), u"%EF%BF%BD");
  EXPECT_EQ(PercentEncodeUtf8(lone_high + u"a"), u"%EF%BF%BDa");
  EXPECT_EQ(PercentEncodeUtf8(lone_low + lone_high), u"%EF%BF%BD%EF%BF%BD");
  // A high surrogate before a pair: the first is lone, the pair is kept.
  EXPECT_EQ(PercentEncodeUtf8(lone_high + u"😀"), u"%EF%BF%BD%F0%9F%98%80");
}

using design::Widen;
using testing::FakeShell;
using testing::FakeUrls;
using testing::FakeWindowSystem;

constexpr platform::WindowHandle kOwner = 0x1234;

TEST(Combo1Click, EachRowOpensItsRequestWithTheAddressEncoded) {
  const std::string_view prefixes[] = {design::kRow1Prefix, design::kRow2Prefix};
  for (std::size_t row = 0; row < 2; ++row) {
    FakeWindowSystem windows;
    windows.AddBrowser(std::u16string(design::kHostileAddress));
    FakeUrls urls;
    FakeShell shell;
    EXPECT_EQ(Combo1_Click(kTranslationTargets[row], windows, urls, shell, kOwner),
              PickOutcome::kOpened);
    ASSERT_EQ(shell.opened.size(), 1U);
    EXPECT_EQ(shell.opened[0].address,
              Widen(prefixes[row]) + Widen(design::kHostileAddressEncoded));
    EXPECT_EQ(shell.opened[0].owner, kOwner);
  }
}

TEST(Combo1Click, APickThatOpensNothingSaysWhy) {
  const auto browser_showing = [](const std::u16string& address) {
    return [address](FakeWindowSystem& windows) { windows.AddBrowser(address); };
  };
  const struct {
    const char* what;
    std::function<void(FakeWindowSystem&)> arrange;
    PickOutcome outcome;
    std::u16string_view hint;
    // The zone and the host as Windows reads the address.
    std::optional<platform::UrlZone> zone = platform::UrlZone::kInternet;
    std::optional<platform::UrlHost> host =
        platform::UrlHost{u"a.example", platform::HostKind::kName};
  } rows[] = {
      {"no browser", [](FakeWindowSystem& w) { w.AddTopLevel(u"Notepad"); },
       PickOutcome::kNoBrowser, design::kHintNoBrowser},
      {"no address field",
       [](FakeWindowSystem& w) { w.AddPath(w.AddTopLevel(u"IEFrame"), {u"WorkerW"}); },
       PickOutcome::kNoAddressField, design::kHintNoAddress},
      {"empty field", browser_showing(u""), PickOutcome::kEmptyAddress, design::kHintNoAddress},
      {"field does not answer",
       [](FakeWindowSystem& w) { w.At(w.AddBrowser(u"http://a.example/")).hung = true; },
       PickOutcome::kBrowserNotAnswering, design::kHintNotAnswering},
      {"local file", browser_showing(u"file:///C:/Users/a/secret.htm"), PickOutcome::kNotAWebPage,
       design::kHintNotAWebPage},
      {"blank page", browser_showing(u"about:blank"), PickOutcome::kNotAWebPage,
       design::kHintNotAWebPage},
      {"error page", browser_showing(u"res://ieframe.dll/dnserrordiagoff.htm#http://a.example/"),
       PickOutcome::kNotAWebPage, design::kHintNotAWebPage},
      {"script", browser_showing(u"javascript:alert(1)"), PickOutcome::kNotAWebPage,
       design::kHintNotAWebPage},
      {"mail", browser_showing(u"mailto:a@a.example"), PickOutcome::kNotAWebPage,
       design::kHintNotAWebPage},
      {"a scheme that only begins like http", browser_showing(u"httpx://a.example/"),
       PickOutcome::kNotAWebPage, design::kHintNotAWebPage},
      {"not an address to Windows", browser_showing(u"http://[1:2]/"), PickOutcome::kNotAWebPage,
       design::kHintNotAWebPage, platform::UrlZone::kInternet, std::nullopt},
      {"private address", browser_showing(u"http://192.168.1.1/?session=4f2a"),
       PickOutcome::kLocalAddress, design::kHintLocal, platform::UrlZone::kInternet,
       platform::UrlHost{u"192.168.1.1", platform::HostKind::kIPv4}},
      {"intranet zone", browser_showing(u"https://portal.contoso-hq.com/"),
       PickOutcome::kLocalAddress, design::kHintLocal, platform::UrlZone::kIntranet},
      {"this computer's zone", browser_showing(u"http://a.example/"), PickOutcome::kLocalAddress,
       design::kHintLocal, platform::UrlZone::kLocalMachine},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    FakeWindowSystem windows;
    row.arrange(windows);
    FakeUrls urls;
    urls.host = row.host;
    urls.zone = row.zone;
    FakeShell shell;
    const PickOutcome outcome = Combo1_Click(kTranslationTargets[0], windows, urls, shell, kOwner);
    EXPECT_EQ(outcome, row.outcome);
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(HintFor(outcome), row.hint);
  }
}

TEST(Combo1Click, SchemesAreCaseInsensitiveAndTheShellsFailureIsNoSuccess) {
  FakeWindowSystem windows;
  windows.AddBrowser(u"HTTPS://A.EXAMPLE/");
  FakeUrls urls;
  urls.zone = std::nullopt;  // no zone in time: not intranet
  FakeShell shell;
  EXPECT_EQ(Combo1_Click(kTranslationTargets[1], windows, urls, shell, kOwner),
            PickOutcome::kOpened);
  shell.succeeds = false;
  EXPECT_EQ(Combo1_Click(kTranslationTargets[1], windows, urls, shell, kOwner),
            PickOutcome::kShellFailed);
  EXPECT_EQ(shell.opened.size(), 2U);
  EXPECT_TRUE(HintFor(PickOutcome::kShellFailed).empty()) << "the shell speaks for itself";
  EXPECT_TRUE(HintFor(PickOutcome::kOpened).empty());
}

}  // namespace
}  // namespace corvane::translation
