#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_shell.h"
#include "translation/combo1_click.h"
#include "translation/request.h"

namespace corvane::translation {
namespace {

constexpr std::u16string_view kRow1 = u"自动检测语言＞中文(简)";
constexpr std::u16string_view kRow2 = u"自动检测语言＞中文(繁)";

TEST(PercentEncodeUtf8, KeepsOnlyUnreservedAsciiAndEncodesEveryOtherByte) {
  EXPECT_EQ(PercentEncodeUtf8(u"AZaz09-._~"), u"AZaz09-._~");
  EXPECT_EQ(PercentEncodeUtf8(u"a b&c=d#e%f?g/h:i+"), u"a%20b%26c%3Dd%23e%25f%3Fg%2Fh%3Ai%2B");
  EXPECT_EQ(PercentEncodeUtf8(u"é例😀"), u"%C3%A9%E4%BE%8B%F0%9F%98%80");
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

class FakeHost final : public ChoiceListHost {
 public:
  std::u16string ListText() override { return text; }
  void SetListText(std::u16string_view new_text) override { text = new_text; }
  platform::WindowHandle OwnerWindow() override { return owner; }
  std::u16string GetURL() override {
    ++address_reads;
    return address;
  }

  std::u16string text;
  std::u16string address;
  platform::WindowHandle owner = 0x1234;
  int address_reads = 0;
};

TEST(Combo1Click, EachRowOpensItsRequestWithTheAddressEncodedAndResetsTheList) {
  const std::u16string hostile = u"http://例子.测试/a b?x=1&y=2%41#frag😀";
  const std::u16string encoded =
      u"http%3A%2F%2F%E4%BE%8B%E5%AD%90.%E6%B5%8B%E8%AF%95%2Fa%20b%3Fx%3D1%26y%3D2%2541%23frag"
      u"%F0%9F%98%80";
  const struct {
    std::u16string_view entry;
    std::u16string_view prefix;
  } rows[] = {{kRow1, u"https://translate.google.com/translate?hl=zh-CN&sl=auto&tl=zh-CN&u="},
              {kRow2, u"https://translate.google.com/translate?hl=zh-TW&sl=auto&tl=zh-TW&u="}};
  for (const auto& row : rows) {
    FakeHost host;
    testing::FakeShell shell;
    host.text = row.entry;
    host.address = hostile;
    Combo1_Click(host, shell);
    ASSERT_EQ(shell.opened.size(), 1U);
    EXPECT_EQ(shell.opened[0].address, std::u16string(row.prefix) + encoded);
    EXPECT_EQ(shell.opened[0].owner, host.owner);
    EXPECT_EQ(host.text, u"请选择");
    EXPECT_EQ(host.address_reads, 1) << "the address is read once per click";
  }
}

TEST(Combo1Click, WithoutAnAddressOrWhenTheShellFailsTheListKeepsThePick) {
  FakeHost host;
  testing::FakeShell shell;
  host.text = kRow2;
  Combo1_Click(host, shell);
  EXPECT_TRUE(shell.opened.empty());
  EXPECT_EQ(host.text, kRow2);

  host.address = u"http://a.example/";
  shell.succeeds = false;
  Combo1_Click(host, shell);
  EXPECT_EQ(shell.opened.size(), 1U);
  EXPECT_EQ(host.text, kRow2) << "a request the shell could not open must not look sent";
}

TEST(Combo1Click, TextsThatAreNotAnEntryOpenNothing) {
  for (const std::u16string_view text :
       {std::u16string_view(u"快速网页翻译 - 请选择"), std::u16string_view(u"请选择"),
        std::u16string_view(u"自动检测语言>中文(简)"),
        std::u16string_view(u"自动检测语言＞中文(简) "), std::u16string_view(u"")}) {
    FakeHost host;
    testing::FakeShell shell;
    host.text = text;
    host.address = u"http://a.example/";
    Combo1_Click(host, shell);
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(host.text, text);
  }
}

TEST(Combo1Click, EveryLaterPickOpensANewRequest) {
  FakeHost host;
  testing::FakeShell shell;
  host.address = u"http://a.example/";
  for (const auto entry : {kRow1, kRow1, kRow2}) {
    host.text = entry;
    Combo1_Click(host, shell);
  }
  ASSERT_EQ(shell.opened.size(), 3U);
  EXPECT_NE(shell.opened[2].address.find(u"hl=zh-TW"), std::u16string::npos);
}

}  // namespace
}  // namespace corvane::translation
