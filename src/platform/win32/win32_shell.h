#pragma once

#include "platform/shell.h"

namespace corvane::win32 {

class Win32Shell final : public platform::Shell {
 public:
  void Open(platform::WindowHandle owner, std::u16string_view address) override;
};

}  // namespace corvane::win32
