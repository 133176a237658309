#include "translation/combo1_click.h"

#include "address_reader/address_reader.h"
#include "translation/public_host.h"

namespace corvane::translation {

namespace {

using address_reader::AddressProblem;

PickOutcome OutcomeOf(AddressProblem problem) {
  switch (problem) {
    case AddressProblem::kNoBrowser:
      return PickOutcome::kNoBrowser;
    case AddressProblem::kNoAddressField:
      return PickOutcome::kNoAddressField;
    case AddressProblem::kBrowserNotAnswering:
      return PickOutcome::kBrowserNotAnswering;
    case AddressProblem::kEmptyAddress:
    case AddressProblem::kNone:
      break;
  }
  return PickOutcome::kEmptyAddress;
}

bool StartsWithIgnoringAsciiCase(std::u16string_view text, std::u16string_view lower_prefix) {
  if (text.size() < lower_prefix.size()) return false;
  for (std::size_t i = 0; i < lower_prefix.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != lower_prefix[i]) return false;
  }
  return true;
}

}  // namespace

bool IsWebAddress(std::u16string_view address) {
  // Schemes are case-insensitive.
  return StartsWithIgnoringAsciiCase(address, u"http:") ||
         StartsWithIgnoringAsciiCase(address, u"https:");
}

PickOutcome Combo1_Click(const TranslationTarget& target, platform::WindowSystem& windows,
                         platform::Urls& urls, platform::Shell& shell,
                         platform::WindowHandle owner) {
  // Read once: a second read could name another page than the one checked.
  const address_reader::AddressReading reading = address_reader::ReadAddress(windows);
  if (reading.problem != AddressProblem::kNone) return OutcomeOf(reading.problem);
  if (!IsWebAddress(reading.address)) return PickOutcome::kNotAWebPage;
  // Google fetches the page from its own servers: a page they cannot reach
  // would end on an error page, its address handed out for nothing. An
  // address Windows cannot parse is no page they could fetch either.
  const std::optional<platform::UrlHost> host = urls.Host(reading.address);
  if (!host) return PickOutcome::kNotAWebPage;
  // The zone last: it may take a while.
  if (!IsPublicHost(*host) || IsLocalZone(urls.Zone(reading.address))) {
    return PickOutcome::kLocalAddress;
  }
  return shell.Open(owner, BuildRequest(target, reading.address)) ? PickOutcome::kOpened
                                                                  : PickOutcome::kShellFailed;
}

}  // namespace corvane::translation
