#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace corvane::platform {

// A window of any process, as the window system names it; 0 is no window.
// Borrowed for the length of one call, never released.
using WindowHandle = std::uintptr_t;
inline constexpr WindowHandle kNoWindow = 0;

// The window-system queries the address reader makes. No query throws: a
// window that is gone, or a browser that does not answer in time, comes back
// as kNoWindow, 0 or nullopt.
class WindowSystem {
 public:
  WindowSystem() = default;
  WindowSystem(const WindowSystem&) = delete;
  WindowSystem& operator=(const WindowSystem&) = delete;
  virtual ~WindowSystem() = default;

  // First top-level window of the class in Z order, any title.
  virtual WindowHandle FindTopLevelWindow(std::u16string_view class_name) = 0;
  // First child in Z order.
  virtual WindowHandle FirstChild(WindowHandle parent) = 0;
  // Next window below `window` under the same parent.
  virtual WindowHandle NextSibling(WindowHandle window) = 0;
  // Copies the class name into `buffer` and returns the number of characters
  // copied, 0 on failure.
  virtual std::size_t ClassName(WindowHandle window, std::span<char16_t> buffer) = 0;
  // The answer to WM_GETTEXTLENGTH, exactly as the window gave it.
  virtual std::optional<std::int64_t> TextLength(WindowHandle window) = 0;
  // Sends WM_GETTEXT with the buffer's size as capacity; returns the count of
  // characters the window reports copying, exactly as it gave it.
  virtual std::optional<std::int64_t> Text(WindowHandle window, std::span<char16_t> buffer) = 0;
};

}  // namespace corvane::platform
