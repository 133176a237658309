#pragma once

#include "platform/win32/bounded_call.h"
#include "platform/window_system.h"

namespace corvane::win32 {

// The window-system queries through user32's wide calls. The text messages
// are sent with a bound, so a hung browser costs at most that long.
class Win32WindowSystem final : public platform::WindowSystem {
 public:
  static constexpr unsigned kTextMessageTimeoutMs = kAnswerTimeoutMs;

  platform::WindowHandle FindTopLevelWindow(std::u16string_view class_name) override;
  platform::WindowHandle FirstChild(platform::WindowHandle parent) override;
  platform::WindowHandle NextSibling(platform::WindowHandle window) override;
  std::size_t ClassName(platform::WindowHandle window, std::span<char16_t> buffer) override;
  std::optional<std::int64_t> TextLength(platform::WindowHandle window) override;
  std::optional<std::int64_t> Text(platform::WindowHandle window,
                                   std::span<char16_t> buffer) override;
};

}  // namespace corvane::win32
