#pragma once

#include <windows.h>

#include <span>

#include "platform/window_system.h"

namespace corvane::win32 {

inline platform::WindowHandle ToHandle(HWND hwnd) {
  return reinterpret_cast<platform::WindowHandle>(hwnd);
}

inline HWND ToHwnd(platform::WindowHandle handle) { return reinterpret_cast<HWND>(handle); }

// A UTF-16 buffer as the wide calls take it; wchar_t and char16_t are both
// 16-bit code units here.
inline wchar_t* AsWide(std::span<char16_t> buffer) {
  return reinterpret_cast<wchar_t*>(buffer.data());
}

}  // namespace corvane::win32
