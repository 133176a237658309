// Which hosts Google's servers can fetch a page from: the edges of IANA's
// special-purpose blocks and look-alikes of local names, from the registries.

#include <gtest/gtest.h>

#include <string>

#include "translation/public_host.h"

namespace corvane::translation {
namespace {

using platform::HostKind;

::testing::AssertionResult Judged(std::u16string_view host, HostKind kind, bool is_public) {
  const std::u16string text(host);
  if (IsPublicHost({text, kind}) == is_public) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << ::testing::PrintToString(text) << (is_public ? " is public" : " is not");
}

// Each block's first and last address, not public; the address just before
// and just after it, public (null where that is another block's or none).
void CheckBlocks(HostKind kind, std::initializer_list<std::array<const char16_t*, 4>> blocks) {
  for (const auto& [first, last, before, after] : blocks) {
    for (const char16_t* address : {first, last, before, after}) {
      if (address == nullptr) continue;
      EXPECT_TRUE(Judged(address, kind, address == before || address == after));
    }
  }
}

TEST(PublicHost, AddressBlocksOutsideGloballyReachableSpaceAreNotPublic) {
  CheckBlocks(HostKind::kIPv4,
              {{u"0.0.0.0", u"0.255.255.255", nullptr, u"1.0.0.0"},
               {u"10.0.0.0", u"10.255.255.255", u"9.255.255.255", u"11.0.0.0"},
               {u"100.64.0.0", u"100.127.255.255", u"100.63.255.255", u"100.128.0.0"},
               {u"127.0.0.0", u"127.255.255.255", u"126.255.255.255", u"128.0.0.0"},
               {u"169.254.0.0", u"169.254.255.255", u"169.253.255.255", u"169.255.0.0"},
               {u"172.16.0.0", u"172.31.255.255", u"172.15.255.255", u"172.32.0.0"},
               {u"192.0.0.0", u"192.0.0.255", u"191.255.255.255", u"192.0.1.0"},
               {u"192.0.2.0", u"192.0.2.255", u"192.0.1.255", u"192.0.3.0"},
               {u"192.168.0.0", u"192.168.255.255", u"192.167.255.255", u"192.169.0.0"},
               {u"198.18.0.0", u"198.19.255.255", u"198.17.255.255", u"198.20.0.0"},
               {u"198.51.100.0", u"198.51.100.255", u"198.51.99.255", u"198.51.101.0"},
               {u"203.0.113.0", u"203.0.113.255", u"203.0.112.255", u"203.0.114.0"},
               {u"224.0.0.0", u"239.255.255.255", u"223.255.255.255", nullptr},
               {u"240.0.0.0", u"255.255.255.255", nullptr, nullptr}});
  CheckBlocks(HostKind::kIPv6,
              {{u"::", u"0:0:0:0:0:0:0:0", nullptr, nullptr},
               {u"::1", u"0000:0000:0000:0000:0000:0000:0000:0001", nullptr, nullptr},
               {u"100::", u"100::ffff:ffff:ffff:ffff", nullptr, u"100:0:0:1::"},
               {u"2001:db8::", u"2001:db8:ffff:ffff:ffff:ffff:ffff:ffff",
                u"2001:db7:ffff:ffff:ffff:ffff:ffff:ffff", u"2001:db9::"},
               {u"3fff::", u"3fff:fff:ffff:ffff:ffff:ffff:ffff:ffff",
                u"3ffe:ffff:ffff:ffff:ffff:ffff:ffff:ffff", u"3fff:1000::"},
               {u"fc00::", u"fdff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", nullptr, nullptr},
               {u"fe80::", u"FEBF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF", nullptr, nullptr},
               {u"fec0::", u"feff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", nullptr, nullptr},
               {u"ff00::", u"ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", nullptr, nullptr},
               // IPv4-mapped: by the IPv4 address, in either notation.
               {u"::ffff:192.168.1.1", u"::FFFF:c0a8:101", u"::ffff:8.8.8.8", u"::ffff:808:808"}});
  EXPECT_TRUE(Judged(u"2a00:1450::1:2:3:4", HostKind::kIPv6, true));
  // What is no IPv6 address cannot be judged, so it is not sent.
  for (const char16_t* malformed : {u"2001:db8::1::1", u"1:2:3:4:5:6:7:8::", u"2001:db8::1:",
                                    u"12345::", u"1:2:3:4:5:6:7:8.8.8.8", u"8.8.8.8", u"[::1]"}) {
    EXPECT_TRUE(Judged(malformed, HostKind::kIPv6, false));
  }
}

// Names that only a local network knows; and names Windows reads as such
// whose last label is a number, which Google's servers read as IPv4 (the
// URL Standard's parser), or as no host at all where that fails.
TEST(PublicHost, NamesOfTheLocalNetworkAndNumbersReadAsPrivateAddressesAreNotPublic) {
  for (const char16_t* local :
       {u"wiki",          u"wiki.",      u"WIKI",           u"localhost",
        u"api.localhost", u"nas.local",  u"nas.local.",     u"router.home.arpa",
        u"home.arpa",     u"abc.onion",  u"hr.internal",    u"HR.Internal.",
        u"intranet.corp", u"nas.home",   u"smtp.mail",      u"printer.lan",
        u".wiki",         u"wiki..",     u"a..example.com", u"0x7f.0.0.1",
        u"0177.0.0.1",    u"0x7f000001", u"2130706433",     u"127.1",
        u"0X7F.1",        u"10.526344",  u"1.2.3.4.5",      u"1.2.3.4.0",
        u"256.1.1.1",     u"09.1.1.1",   u"a.0x",           u"4294967296",
        u"1.16777216",    u"10.0.0.1..", u"1..2",           u"0xg"}) {
    EXPECT_TRUE(Judged(local, HostKind::kName, false));
  }
  // No name; full-width forms and ideographic full stops, as IDNA maps them.
  for (const char16_t* local : {u"", u"ｗｉｋｉ．ｌｏｃａｌ", u"a.nas。lan", u"１２７.０.０.１"}) {
    EXPECT_TRUE(Judged(local, HostKind::kName, false));
  }
  for (const char16_t* name :
       {u"example.com", u"www.example", u"a.test", u"a.invalid", u"localhost.example.com",
        u"mylocal.com", u"local.example.com", u"corp.example.com", u"home.example",
        u"10.0.0.1.nip.io", u"home.arpa.example.com", u"lan.com.", u"0x8.8.8.8", u"134744072",
        u"8.526344", u"010.0.0.1", u"8.8.8.8.", u"8.8.8.0x", u"1.2.3.4.5.nip.io"}) {
    EXPECT_TRUE(Judged(name, HostKind::kName, true));
  }
  EXPECT_TRUE(Judged(u"例子.测试", HostKind::kName, true));
}

}  // namespace
}  // namespace corvane::translation
