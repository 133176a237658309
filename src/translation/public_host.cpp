#include "translation/public_host.h"

#include <algorithm>
#include <string>
#include <vector>

namespace corvane::translation {

namespace {

using platform::HostKind;
using platform::UrlZone;

// An address block: the addresses whose first `length` bits are the prefix's.
template <std::size_t kBytes>
struct Block {
  std::array<std::uint8_t, kBytes> prefix;
  int length;
};

template <std::size_t kBytes>
bool InBlock(const std::array<std::uint8_t, kBytes>& address, const Block<kBytes>& block) {
  for (int bit = 0; bit < block.length; ++bit) {
    const auto byte = static_cast<std::size_t>(bit / 8);
    const int mask = 0x80 >> (bit % 8);
    if ((address[byte] & mask) != (block.prefix[byte] & mask)) return false;
  }
  return true;
}

// IANA's IPv4 Special-Purpose Address Registry (RFC 6890 and its updates):
// the blocks it marks not globally reachable, with multicast and the
// reserved 240/4 (the limited broadcast address among them), on which no
// web server answers Google. Chromium's IPAddress::IsPubliclyRoutable and
// CPython's ipaddress follow the same registry.
constexpr Block<4> kNotPublicIPv4[] = {
    {{0}, 8},              // "this network" (RFC 791)
    {{10}, 8},             // private use (RFC 1918)
    {{100, 64}, 10},       // shared address space of carrier-grade NAT (RFC 6598)
    {{127}, 8},            // loopback (RFC 1122)
    {{169, 254}, 16},      // link local (RFC 3927)
    {{172, 16}, 12},       // private use (RFC 1918)
    {{192, 0, 0}, 24},     // IETF protocol assignments (RFC 6890)
    {{192, 0, 2}, 24},     // documentation, TEST-NET-1 (RFC 5737)
    {{192, 168}, 16},      // private use (RFC 1918)
    {{198, 18}, 15},       // benchmarking (RFC 2544)
    {{198, 51, 100}, 24},  // documentation, TEST-NET-2 (RFC 5737)
    {{203, 0, 113}, 24},   // documentation, TEST-NET-3 (RFC 5737)
    {{224}, 4},            // multicast (RFC 5771)
    {{240}, 4},            // reserved (RFC 1112), 255.255.255.255 included (RFC 919)
};

// IANA's IPv6 Special-Purpose Address Registry likewise, with site-local
// addresses (deprecated by RFC 3879, routed nowhere) and multicast.
constexpr Block<16> kNotPublicIPv6[] = {
    {{}, 128},                                                // unspecified (RFC 4291)
    {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 128},  // loopback (RFC 4291)
    {{0x01, 0x00}, 64},                                       // discard only (RFC 6666)
    {{0x20, 0x01, 0x0d, 0xb8}, 32},                           // documentation (RFC 3849)
    {{0x3f, 0xff}, 20},                                       // documentation (RFC 9637)
    {{0xfc}, 7},                                              // unique local (RFC 4193)
    {{0xfe, 0x80}, 10},                                       // link local (RFC 4291)
    {{0xfe, 0xc0}, 10},                                       // site local (RFC 3879)
    {{0xff}, 8},                                              // multicast (RFC 4291)
};

// IPv4-mapped addresses (RFC 4291) are reached as their IPv4 address.
constexpr Block<16> kIPv4Mapped = {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff}, 96};

// Names that resolve only on a local network, or on this computer, never in
// the public DNS; a name in one of them or under it is local. A single
// label is local too (it resolves only through the network's own search
// suffixes).
constexpr std::u16string_view kLocalNames[] = {
    u"localhost",  // this computer (RFC 6761)
    u"local",      // multicast DNS (RFC 6762)
    u"home.arpa",  // home networks (RFC 8375)
    u"onion",      // Tor's hidden services (RFC 7686)
    u"internal",   // reserved by ICANN for private use (2024)
    // What intranets use and ICANN will not delegate (its board's
    // resolutions on name collision, 2018), and the home routers' "lan".
    u"corp",
    u"home",
    u"mail",
    u"lan",
};

std::array<std::uint8_t, 4> Bytes(std::uint32_t ipv4) {
  return {static_cast<std::uint8_t>(ipv4 >> 24), static_cast<std::uint8_t>(ipv4 >> 16),
          static_cast<std::uint8_t>(ipv4 >> 8), static_cast<std::uint8_t>(ipv4)};
}

bool IsPublicIPv4(std::uint32_t ipv4) {
  const auto bytes = Bytes(ipv4);
  return std::none_of(std::begin(kNotPublicIPv4), std::end(kNotPublicIPv4),
                      [&](const Block<4>& block) { return InBlock(bytes, block); });
}

bool IsPublicIPv6(const std::array<std::uint8_t, 16>& address) {
  if (InBlock(address, kIPv4Mapped)) {
    return IsPublicIPv4((std::uint32_t{address[12]} << 24) | (std::uint32_t{address[13]} << 16) |
                        (std::uint32_t{address[14]} << 8) | address[15]);
  }
  return std::none_of(std::begin(kNotPublicIPv6), std::end(kNotPublicIPv6),
                      [&](const Block<16>& block) { return InBlock(address, block); });
}

// ASCII in lower case, and the full-width forms of ASCII and the
// ideographic full stops as ASCII, as the mapping of international names
// (UTS #46) makes them before a name is looked up: a server reads
// "１２７．０．０．１" as 127.0.0.1.
std::u16string Fold(std::u16string_view host) {
  std::u16string folded;
  folded.reserve(host.size());
  for (char16_t c : host) {
    if (c >= u'！' && c <= u'～') c = static_cast<char16_t>(c - u'！' + u'!');
    if (c == u'。' || c == u'｡') c = u'.';
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    folded.push_back(c);
  }
  return folded;
}

std::vector<std::u16string_view> Split(std::u16string_view text, char16_t separator) {
  std::vector<std::u16string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::u16string_view::npos ? end : end - start));
    if (end == std::u16string_view::npos) return parts;
    start = end + 1;
  }
}

int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Larger than any part the IPv4 parser accepts; values stop growing there.
constexpr std::uint64_t kTooLarge = std::uint64_t{1} << 32;

// The URL Standard's IPv4 number parser.
std::optional<std::uint64_t> ParseIPv4Number(std::u16string_view part) {
  if (part.empty()) return std::nullopt;
  int radix = 10;
  if (part.size() >= 2 && part[0] == u'0' && (part[1] == u'x' || part[1] == u'X')) {
    part.remove_prefix(2);
    radix = 16;
  } else if (part.size() >= 2 && part[0] == u'0') {
    part.remove_prefix(1);
    radix = 8;
  }
  std::uint64_t value = 0;
  for (const char16_t c : part) {
    const int digit = DigitValue(c);
    if (digit < 0 || digit >= radix) return std::nullopt;
    value = std::min(value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit),
                     kTooLarge);
  }
  return value;
}

// The URL Standard's "ends in a number": such a host is read as IPv4, and
// is no host at all if that fails.
bool EndsInANumber(std::u16string_view host) {
  std::vector<std::u16string_view> labels = Split(host, u'.');
  if (labels.back().empty()) {
    if (labels.size() == 1) return false;
    labels.pop_back();
  }
  const std::u16string_view last = labels.back();
  if (!last.empty() &&
      std::all_of(last.begin(), last.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
    return true;
  }
  return ParseIPv4Number(last).has_value();
}

bool IsLocalName(std::u16string_view name) {
  // A trailing dot (the DNS root) changes nothing; an empty label anywhere
  // else makes a name no server can look up.
  if (name.ends_with(u'.')) name.remove_suffix(1);
  const std::vector<std::u16string_view> labels = Split(name, u'.');
  if (labels.size() <= 1 || std::any_of(labels.begin(), labels.end(),
                                        [](std::u16string_view label) { return label.empty(); })) {
    return true;
  }
  return std::any_of(
      std::begin(kLocalNames), std::end(kLocalNames), [&](std::u16string_view local) {
        return name == local || (name.size() > local.size() && name.ends_with(local) &&
                                 name[name.size() - local.size() - 1] == u'.');
      });
}

// The dotted IPv4 address that may end an IPv6 address: four decimal parts.
std::optional<std::uint32_t> ParseDottedDecimal(std::u16string_view text) {
  const std::vector<std::u16string_view> parts = Split(text, u'.');
  if (parts.size() != 4) return std::nullopt;
  std::uint32_t address = 0;
  for (const std::u16string_view part : parts) {
    if (part.empty() || part.size() > 3) return std::nullopt;
    std::uint32_t value = 0;
    for (const char16_t c : part) {
      if (c < u'0' || c > u'9') return std::nullopt;
      value = value * 10 + static_cast<std::uint32_t>(c - u'0');
    }
    if (value > 255) return std::nullopt;
    address = (address << 8) | value;
  }
  return address;
}

// The URL Standard's IPv4 parser: up to four parts, each decimal, 0x hex or
// 0 octal, the last filling the bytes left.
std::optional<std::uint32_t> ParseIPv4(std::u16string_view host) {
  std::vector<std::u16string_view> parts = Split(host, u'.');
  if (parts.back().empty() && parts.size() > 1) parts.pop_back();
  if (parts.size() > 4) return std::nullopt;
  std::vector<std::uint64_t> numbers;
  for (const std::u16string_view part : parts) {
    const std::optional<std::uint64_t> number = ParseIPv4Number(part);
    if (!number) return std::nullopt;
    numbers.push_back(*number);
  }
  const std::uint64_t last = numbers.back();
  numbers.pop_back();
  if (std::any_of(numbers.begin(), numbers.end(), [](std::uint64_t n) { return n > 255; }) ||
      last >= (std::uint64_t{1} << (8 * (4 - numbers.size())))) {
    return std::nullopt;
  }
  std::uint64_t address = last;
  for (std::size_t i = 0; i < numbers.size(); ++i) address += numbers[i] << (8 * (3 - i));
  return static_cast<std::uint32_t>(address);
}

}  // namespace

std::optional<std::array<std::uint8_t, 16>> ParseIPv6(std::u16string_view text) {
  std::array<std::uint16_t, 8> groups{};
  std::size_t count = 0;
  std::optional<std::size_t> gap;  // where "::" stands, in groups
  if (text.starts_with(u"::")) {
    gap = 0;
    text.remove_prefix(2);
  }
  while (!text.empty()) {
    const std::size_t end = text.find(u':');
    const std::u16string_view group = text.substr(0, end);
    if (end == std::u16string_view::npos && group.find(u'.') != std::u16string_view::npos) {
      const std::optional<std::uint32_t> ipv4 = ParseDottedDecimal(group);
      if (!ipv4 || count > 6) return std::nullopt;
      groups[count++] = static_cast<std::uint16_t>(*ipv4 >> 16);
      groups[count++] = static_cast<std::uint16_t>(*ipv4 & 0xFFFF);
      break;
    }
    if (group.empty() || group.size() > 4 || count == 8) return std::nullopt;
    std::uint16_t value = 0;
    for (const char16_t c : group) {
      const int digit = DigitValue(c);
      if (digit < 0) return std::nullopt;
      value = static_cast<std::uint16_t>((value << 4) | digit);
    }
    groups[count++] = value;
    if (end == std::u16string_view::npos) break;
    text.remove_prefix(end + 1);
    if (text.starts_with(u':')) {
      if (gap) return std::nullopt;  // a second "::"
      gap = count;
      text.remove_prefix(1);
    } else if (text.empty()) {
      return std::nullopt;  // a lone ':' at the end
    }
  }
  // "::" stands for one group at least.
  if (gap ? count > 7 : count != 8) return std::nullopt;
  std::array<std::uint16_t, 8> full{};
  const std::size_t before = gap.value_or(count);
  std::copy_n(groups.begin(), before, full.begin());
  std::copy(groups.begin() + static_cast<std::ptrdiff_t>(before),
            groups.begin() + static_cast<std::ptrdiff_t>(count),
            full.end() - static_cast<std::ptrdiff_t>(count - before));
  std::array<std::uint8_t, 16> bytes{};
  for (std::size_t i = 0; i < 8; ++i) {
    bytes[2 * i] = static_cast<std::uint8_t>(full[i] >> 8);
    bytes[2 * i + 1] = static_cast<std::uint8_t>(full[i] & 0xFF);
  }
  return bytes;
}

bool IsPublicHost(const platform::UrlHost& host) {
  const std::u16string folded = Fold(host.host);
  if (host.kind == HostKind::kIPv6) {
    const auto address = ParseIPv6(folded);
    return address && IsPublicIPv6(*address);
  }
  // Windows gives an IPv4 address as four decimal parts, which every reading
  // takes alike. It reads 0x7f.0.0.1 as a name, which Google's servers read
  // as 127.0.0.1, and 1.2.3.4.5 as a name, which they read as no host.
  if (host.kind == HostKind::kIPv4 || EndsInANumber(folded)) {
    const auto address = ParseIPv4(folded);
    return address && IsPublicIPv4(*address);
  }
  return !IsLocalName(folded);
}

bool IsLocalZone(std::optional<platform::UrlZone> zone) {
  return zone == UrlZone::kLocalMachine || zone == UrlZone::kIntranet;
}

}  // namespace corvane::translation
