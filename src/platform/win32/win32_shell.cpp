#include "platform/win32/win32_shell.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace corvane::win32 {

void Win32Shell::Open(platform::WindowHandle owner, std::u16string_view address) {
  const auto shell_execute = shell32_.Get<decltype(&ShellExecuteW)>("ShellExecuteW");
  if (shell_execute == nullptr) return;
  const std::wstring file = ToWide(address);
  // The result is not examined: when nothing can open the address the shell
  // tells the user itself, owned by our window.
  shell_execute(ToHwnd(owner), L"open", file.c_str(), L"", L"", SW_SHOWNORMAL);
}

}  // namespace corvane::win32
