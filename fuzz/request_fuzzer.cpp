// The request builder over arbitrary UTF-16, unpaired surrogates included:
// the result starts with the row's prefix, carries only unreserved ASCII and
// %XX after it, and decodes back to the input (U+FFFD for lone surrogates).
// The same text judged as a host of each kind: neither the case of its ASCII
// letters nor one more trailing dot after a name changes the answer, and an
// IPv6 address written out in full is read back as the same address.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "translation/public_host.h"
#include "translation/request.h"

namespace {

using corvane::platform::HostKind;
using corvane::translation::BuildRequest;
using corvane::translation::IsPublicHost;
using corvane::translation::kTranslationTargets;
using corvane::translation::ParseIPv6;

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;  // lower-case hex is not what we write
}

bool IsUnreserved(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
         c == u'-' || c == u'.' || c == u'_' || c == u'~';
}

// Decodes UTF-8 to UTF-16 the long way, rejecting anything malformed, so it
// checks the encoder rather than mirroring it.
bool DecodeUtf8(const std::string& bytes, std::u16string& out) {
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    int extra = 0;
    char32_t code_point = 0;
    if (lead < 0x80) {
      code_point = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1;
      code_point = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2;
      code_point = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3;
      code_point = lead & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(extra) >= bytes.size() && extra > 0) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code_point = (code_point << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (code_point < kSmallest[extra] || code_point > 0x10FFFF ||
        (code_point >= 0xD800 && code_point <= 0xDFFF)) {
      return false;  // overlong, out of range or an encoded surrogate
    }
    if (code_point >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((code_point - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((code_point - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code_point));
    }
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

// The input with every unpaired surrogate replaced by U+FFFD.
std::u16string WithLoneSurrogatesReplaced(const std::u16string& text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool high = c >= 0xD800 && c <= 0xDBFF;
    const bool low = c >= 0xDC00 && c <= 0xDFFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      out.push_back(c);
      out.push_back(text[++i]);
    } else {
      out.push_back(high || low ? u'\uFFFD' : c);
    }
  }
  return out;
}

void CheckHostJudgement(const std::u16string& host) {
  std::u16string upper = host;
  for (char16_t& c : upper) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  for (const HostKind kind : {HostKind::kName, HostKind::kIPv4, HostKind::kIPv6}) {
    if (IsPublicHost({host, kind}) != IsPublicHost({upper, kind})) std::abort();
  }
  const char16_t last = host.empty() ? u'.' : host.back();
  if (((last >= u'a' && last <= u'z') || (last >= u'0' && last <= u'9')) &&
      IsPublicHost({host, HostKind::kName}) != IsPublicHost({host + u".", HostKind::kName})) {
    std::abort();
  }
  if (const auto bytes = ParseIPv6(host)) {
    std::u16string full;
    for (std::size_t i = 0; i < bytes->size(); i += 2) {
      for (const int nibble :
           {(*bytes)[i] >> 4, (*bytes)[i] & 15, (*bytes)[i + 1] >> 4, (*bytes)[i + 1] & 15}) {
        full.push_back(u"0123456789abcdef"[nibble]);
      }
      if (i + 2 < bytes->size()) full.push_back(u':');
    }
    if (ParseIPv6(full) != bytes) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const auto& target = kTranslationTargets[data[0] % kTranslationTargets.size()];
  std::u16string address;
  for (std::size_t i = 1; i + 1 < size; i += 2) {
    address.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }

  const std::u16string request = BuildRequest(target, address);
  if (request.compare(0, target.request_prefix.size(), target.request_prefix) != 0) std::abort();
  std::string bytes;
  for (std::size_t i = target.request_prefix.size(); i < request.size(); ++i) {
    const char16_t c = request[i];
    if (c == u'%') {
      if (i + 2 >= request.size()) std::abort();
      const int high = HexValue(request[i + 1]);
      const int low = HexValue(request[i + 2]);
      if (high < 0 || low < 0) std::abort();
      const auto byte = static_cast<char>(high * 16 + low);
      if (IsUnreserved(static_cast<unsigned char>(byte))) std::abort();  // needlessly escaped
      bytes.push_back(byte);
      i += 2;
    } else if (IsUnreserved(c)) {
      bytes.push_back(static_cast<char>(c));
    } else {
      std::abort();  // a character the service would read as syntax
    }
  }
  std::u16string decoded;
  if (!DecodeUtf8(bytes, decoded) || decoded != WithLoneSurrogatesReplaced(address)) std::abort();
  CheckHostJudgement(address);
  return 0;
}
