#pragma once

#include <string>
#include <string_view>

#include "platform/shell.h"
#include "platform/window_system.h"

namespace corvane::translation {

// What the window hosting the choice list lends to its Click handler.
class ChoiceListHost {
 public:
  ChoiceListHost() = default;
  ChoiceListHost(const ChoiceListHost&) = delete;
  ChoiceListHost& operator=(const ChoiceListHost&) = delete;
  virtual ~ChoiceListHost() = default;

  virtual std::u16string ListText() = 0;
  virtual void SetListText(std::u16string_view text) = 0;
  // Owner of anything the shell shows.
  virtual platform::WindowHandle OwnerWindow() = 0;
  // The address the browser shows, empty when there is none.
  virtual std::u16string GetURL() = 0;
};

// Run once for each entry the user selects in the list: when the list's text
// is an entry and the browser shows an address, has the shell open the
// translation request for it and, once the shell has taken it, puts the
// prompt back into the list.
void Combo1_Click(ChoiceListHost& host, platform::Shell& shell);

}  // namespace corvane::translation
