#include "platform/win32/win32_window_system.h"

#include <windows.h>

#include <algorithm>
#include <climits>

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace corvane::win32 {

using platform::WindowHandle;

platform::WindowHandle Win32WindowSystem::FindTopLevelWindow(std::u16string_view class_name) {
  const std::wstring name = ToWide(class_name);
  return ToHandle(FindWindowW(name.c_str(), nullptr));
}

WindowHandle Win32WindowSystem::FirstChild(WindowHandle parent) {
  return ToHandle(GetWindow(ToHwnd(parent), GW_CHILD));
}

WindowHandle Win32WindowSystem::NextSibling(WindowHandle window) {
  return ToHandle(GetWindow(ToHwnd(window), GW_HWNDNEXT));
}

std::size_t Win32WindowSystem::ClassName(WindowHandle window, std::span<char16_t> buffer) {
  const int capacity = static_cast<int>(std::min<std::size_t>(buffer.size(), INT_MAX));
  const int copied = GetClassNameW(ToHwnd(window), AsWide(buffer), capacity);
  return copied > 0 ? static_cast<std::size_t>(copied) : 0;
}

std::optional<std::int64_t> Win32WindowSystem::TextLength(WindowHandle window) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(ToHwnd(window), WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                          kTextMessageTimeoutMs, &result) == 0) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(static_cast<LRESULT>(result));
}

std::optional<std::int64_t> Win32WindowSystem::Text(WindowHandle window,
                                                    std::span<char16_t> buffer) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(ToHwnd(window), WM_GETTEXT, buffer.size(),
                          reinterpret_cast<LPARAM>(AsWide(buffer)), SMTO_ABORTIFHUNG,
                          kTextMessageTimeoutMs, &result) == 0) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(static_cast<LRESULT>(result));
}

}  // namespace corvane::win32
