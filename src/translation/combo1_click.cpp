#include "translation/combo1_click.h"

#include <algorithm>

#include "translation/request.h"

namespace corvane::translation {

void Combo1_Click(ChoiceListHost& host, platform::Shell& shell) {
  const std::u16string text = host.ListText();
  const auto* target = std::find_if(kTranslationTargets.begin(), kTranslationTargets.end(),
                                    [&text](const auto& row) { return row.entry == text; });
  if (target == kTranslationTargets.end()) {
    return;
  }
  // Read once: a second read could name another page than the one checked, or
  // none at all.
  const std::u16string address = host.GetURL();
  if (address.empty()) {
    return;  // no browser to translate; the list keeps the pick
  }
  // When the shell could not open it, the list keeps the pick, as when there
  // is no browser: nothing shows a request that never went out.
  if (shell.Open(host.OwnerWindow(), BuildRequest(*target, address))) {
    host.SetListText(kPrompt);
  }
}

}  // namespace corvane::translation
