#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window_system.h"

namespace corvane::address_reader {

// Internet Explorer's frame, then the address bar's windows down to its edit
// field; each step is the first direct child of the class before it.
inline constexpr std::array<std::u16string_view, 6> kAddressBarPath = {
    u"IEFrame", u"WorkerW", u"ReBarWindow32", u"ComboBoxEx32", u"ComboBox", u"Edit"};

// Longer than any address a browser shows; a field that claims more is not
// read, so a hostile or broken window cannot make us allocate gigabytes.
inline constexpr std::int64_t kMaxAddressLength = std::int64_t{1} << 20;

// Class names are read into a buffer of this many characters.
inline constexpr std::size_t kClassNameCapacity = 260;

// The address shown by the first Internet Explorer frame in Z order, or the
// empty text when there is none to be had, whatever the reason. Never throws.
std::u16string GetURL(platform::WindowSystem& windows) noexcept;

// First direct child of `parent` whose class is exactly `class_name`.
platform::WindowHandle FindChildByClass(platform::WindowSystem& windows,
                                        platform::WindowHandle parent,
                                        std::u16string_view class_name);

// The window's text, cut at what the window reports copying and at its first
// NUL; empty when it does not answer or reports a length we will not read.
std::u16string ReadWindowText(platform::WindowSystem& windows, platform::WindowHandle window);

// `s` up to its first NUL.
std::u16string TrimAtNul(std::u16string_view s);

}  // namespace corvane::address_reader
