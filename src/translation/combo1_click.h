#pragma once

#include <string_view>

#include "platform/shell.h"
#include "platform/urls.h"
#include "platform/window_system.h"
#include "translation/request.h"

namespace corvane::translation {

// What came of a pick: the request went out, the shell could not open it
// (the shell then tells the user itself), or why there was nothing to send.
enum class PickOutcome {
  kOpened,
  kShellFailed,
  kNoBrowser,
  kNoAddressField,
  kEmptyAddress,
  kBrowserNotAnswering,
  kNotAWebPage,
  kLocalAddress,  // a page of this computer or the local network: Google cannot fetch it
};

// Run once for each entry the user picks: reads the address the browser
// shows and, when it is a page Google's servers can fetch, has the shell
// open the request that asks for it translated as `target` says. The
// address is judged as Windows reads it (`urls`); what goes out is the text
// the address bar shows. `owner` owns anything the shell shows.
PickOutcome Combo1_Click(const TranslationTarget& target, platform::WindowSystem& windows,
                         platform::Urls& urls, platform::Shell& shell,
                         platform::WindowHandle owner);

// Whether `address` is an http or https one. Anything else (a local file,
// an error page of the browser's own, script) is no page the service can
// fetch, and would be sent to a third party for nothing.
bool IsWebAddress(std::u16string_view address);

// What to tell the user about a pick that opened nothing; empty where there
// is nothing to add (the request went out, or the shell said why not). Its
// texts are in hints.cpp.
std::u16string_view HintFor(PickOutcome outcome);

}  // namespace corvane::translation
