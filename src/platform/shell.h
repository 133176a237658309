#pragma once

#include <string_view>

#include "platform/window_system.h"

namespace corvane::platform {

// The desktop shell: opens an address with the user's default handler.
class Shell {
 public:
  Shell() = default;
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;
  virtual ~Shell() = default;

  // Fire and forget: whatever the shell makes of it is its own business, and
  // any message it shows is owned by `owner`.
  virtual void Open(WindowHandle owner, std::u16string_view address) = 0;
};

}  // namespace corvane::platform
