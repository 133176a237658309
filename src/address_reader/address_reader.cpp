#include "address_reader/address_reader.h"

#include <algorithm>
#include <span>
#include <utility>

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

namespace {

AddressReading ReadField(WindowSystem& windows, WindowHandle field) {
  const std::optional<std::int64_t> length = windows.TextLength(field);
  if (!length) {
    return {{}, AddressProblem::kBrowserNotAnswering};
  }
  if (*length < 0 || *length > kMaxAddressLength) {
    return {{}, AddressProblem::kEmptyAddress};
  }
  std::u16string buffer(static_cast<std::size_t>(*length) + 1, u'\0');
  const std::optional<std::int64_t> copied = windows.Text(field, buffer);
  if (!copied) {
    return {{}, AddressProblem::kBrowserNotAnswering};
  }
  // A window that vanished between the two messages reports nothing copied;
  // the buffer is then not an address.
  if (*copied <= 0) {
    return {{}, AddressProblem::kEmptyAddress};
  }
  const auto kept =
      std::min(static_cast<std::uint64_t>(*copied), static_cast<std::uint64_t>(buffer.size() - 1));
  buffer.resize(static_cast<std::size_t>(kept));
  std::u16string address = TrimAtNul(buffer);
  if (address.empty()) {
    return {{}, AddressProblem::kEmptyAddress};
  }
  return {std::move(address), AddressProblem::kNone};
}

}  // namespace

std::u16string ReadWindowText(WindowSystem& windows, WindowHandle window) {
  return ReadField(windows, window).address;
}

AddressReading ReadAddress(WindowSystem& windows) noexcept {
  try {
    const WindowHandle frame = windows.FindTopLevelWindow(kAddressBarPath.front());
    if (frame == kNoWindow) {
      return {{}, AddressProblem::kNoBrowser};
    }
    const WindowHandle band = FollowPath(windows, frame, std::span(kAddressBarPath).subspan(1));
    if (band != kNoWindow) {
      for (const AddressFieldChain& chain : kAddressFieldChains) {
        const WindowHandle field = FollowPath(windows, band, chain);
        if (field != kNoWindow) {
          return ReadField(windows, field);
        }
      }
    }
    return {{}, AddressProblem::kNoAddressField};
  } catch (...) {
    // Out of memory or a throwing window system: no address, as for any failure.
    return {{}, AddressProblem::kEmptyAddress};
  }
}

std::u16string GetURL(WindowSystem& windows) noexcept { return ReadAddress(windows).address; }

}  // namespace corvane::address_reader
