#include "address_reader/address_reader.h"

#include <algorithm>
#include <span>

namespace corvane::address_reader {

using platform::kNoWindow;
using platform::WindowHandle;
using platform::WindowSystem;

namespace {

bool HasClass(WindowSystem& windows, WindowHandle window, std::u16string_view class_name) {
  std::array<char16_t, kClassNameCapacity> buffer{};
  const std::size_t copied = std::min(windows.ClassName(window, buffer), buffer.size());
  return std::u16string_view(buffer.data(), copied) == class_name;
}

// The end of `path` under `window`, or kNoWindow where a step is missing.
WindowHandle FollowPath(WindowSystem& windows, WindowHandle window,
                        std::span<const std::u16string_view> path) {
  for (const std::u16string_view class_name : path) {
    if (window == kNoWindow || class_name.empty()) break;
    window = FindChildByClass(windows, window, class_name);
  }
  return window;
}

}  // namespace

std::u16string TrimAtNul(std::u16string_view s) {
  return std::u16string(s.substr(0, s.find(u'\0')));
}

WindowHandle FindChildByClass(WindowSystem& windows, WindowHandle parent,
                              std::u16string_view class_name) {
  for (WindowHandle child = windows.FirstChild(parent); child != kNoWindow;
       child = windows.NextSibling(child)) {
    if (HasClass(windows, child, class_name)) {
      return child;
    }
  }
  return kNoWindow;
}

std::u16string ReadWindowText(WindowSystem& windows, WindowHandle window) {
  const std::optional<std::int64_t> length = windows.TextLength(window);
  if (!length || *length < 0 || *length > kMaxAddressLength) {
    return {};
  }
  std::u16string buffer(static_cast<std::size_t>(*length) + 1, u'\0');
  const std::optional<std::int64_t> copied = windows.Text(window, buffer);
  // A window that vanished or stopped answering between the two messages
  // reports nothing copied; the buffer is then not an address.
  if (!copied || *copied <= 0) {
    return {};
  }
  const auto kept =
      std::min(static_cast<std::uint64_t>(*copied), static_cast<std::uint64_t>(buffer.size() - 1));
  buffer.resize(static_cast<std::size_t>(kept));
  return TrimAtNul(buffer);
}

std::u16string GetURL(WindowSystem& windows) noexcept {
  try {
    const WindowHandle frame = windows.FindTopLevelWindow(kAddressBarPath.front());
    const WindowHandle band = FollowPath(windows, frame, std::span(kAddressBarPath).subspan(1));
    if (band == kNoWindow) {
      return {};
    }
    for (const AddressFieldChain& chain : kAddressFieldChains) {
      const WindowHandle field = FollowPath(windows, band, chain);
      if (field != kNoWindow) {
        return ReadWindowText(windows, field);
      }
    }
    return {};
  } catch (...) {
    // Out of memory or a throwing window system: no address, as for any failure.
    return {};
  }
}

}  // namespace corvane::address_reader
