#pragma once

#include <string>
#include <vector>

#include "platform/shell.h"

namespace corvane::testing {

class FakeShell final : public platform::Shell {
 public:
  struct Request {
    platform::WindowHandle owner;
    std::u16string address;
  };

  bool Open(platform::WindowHandle owner, std::u16string_view address) override {
    opened.push_back({owner, std::u16string(address)});
    return succeeds;
  }

  std::vector<Request> opened;
  bool succeeds = true;
};

}  // namespace corvane::testing
