#pragma once

#include <algorithm>
#include <functional>
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
    ++depth;
    deepest = std::max(deepest, depth);
    // As the real shell's modal loop may: run whatever is due meanwhile.
    if (while_open) while_open();
    --depth;
    return succeeds;
  }

  std::vector<Request> opened;
  bool succeeds = true;
  std::function<void()> while_open;
  int depth = 0;
  int deepest = 0;  // Open inside Open makes this 2
};

}  // namespace corvane::testing
