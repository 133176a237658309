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

  void Open(platform::WindowHandle owner, std::u16string_view address) override {
    opened.push_back({owner, std::u16string(address)});
  }

  std::vector<Request> opened;
};

}  // namespace corvane::testing
