#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window_system.h"

namespace corvane::address_reader {

// Internet Explorer's frame, then the windows down to its toolbar band; each
// step is the first direct child of the class before it.
inline constexpr std::array<std::u16string_view, 3> kAddressBarPath = {u"IEFrame", u"WorkerW",
                                                                       u"ReBarWindow32"};

// Below the toolbar band, the address field's windows as each generation of
// the browser lays them out (unused steps are empty). The first chain that
// exists is read, whatever its field holds; no later one is tried then.
using AddressFieldChain = std::array<std::u16string_view, 4>;
inline constexpr std::array<AddressFieldChain, 3> kAddressFieldChains = {{
    {u"ComboBoxEx32", u"ComboBox", u"Edit"},                        // version 6
    {u"Address Band Root", u"ComboBoxEx32", u"ComboBox", u"Edit"},  // version 7
    {u"Address Band Root", u"Edit"},                                // versions 8 to 11
}};

// Longer than any address a browser shows; a field that claims more is not
// read, so a hostile or broken window cannot make us allocate gigabytes.
inline constexpr std::int64_t kMaxAddressLength = std::int64_t{1} << 20;

// Class names are read into a buffer of this many characters.
inline constexpr std::size_t kClassNameCapacity = 260;

// Why no address could be read, so that the user can be told.
enum class AddressProblem {
  kNone,
  kNoBrowser,            // no Internet Explorer frame
  kNoAddressField,       // a frame, but none of the address field's chains under it
  kEmptyAddress,         // the field holds nothing we can use
  kBrowserNotAnswering,  // the field did not answer in time, or was gone
};

struct AddressReading {
  std::u16string address;  // empty unless problem is kNone
  AddressProblem problem = AddressProblem::kNone;
};

// The address shown by the first Internet Explorer frame in Z order, read
// through the first of kAddressFieldChains that exists under it, or why
// there is none. Never throws.
AddressReading ReadAddress(platform::WindowSystem& windows) noexcept;

// The address alone: the empty text when there is none to be had, whatever
// the reason.
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
