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

  // Hands the address to the shell; false when the shell reports that it could
  // not open it. Any message the shell shows about it is owned by `owner`.
  virtual bool Open(WindowHandle owner, std::u16string_view address) = 0;
};

}  // namespace corvane::platform
