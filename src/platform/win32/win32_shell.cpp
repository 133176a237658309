#include "platform/win32/win32_shell.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace corvane::win32 {

bool Win32Shell::Open(platform::WindowHandle owner, std::u16string_view address) {
  const auto shell_execute = shell32_.Get<decltype(&ShellExecuteExW)>("ShellExecuteExW");
  if (shell_execute == nullptr) return false;
  // The shell may hand the request to an extension activated through COM;
  // ShellExecuteEx's documentation asks for COM on the thread first.
  ole_.Ensure();
  const std::wstring file = ToWide(address);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  // Not SEE_MASK_FLAG_NO_UI: where nothing can open the address, the shell
  // tells the user, owned by our window. Not SEE_MASK_ASYNCOK either: the
  // shell would then answer before it knows whether the request could be
  // opened, and a failure would look like success. SEE_MASK_NOASYNC: the
  // documentation asks for it from callers whose request may go through DDE
  // (browsers register http that way), so the conversation ends before we
  // go on. A handler reached through DDE holds us until it is ready.
  info.fMask = SEE_MASK_NOASYNC;
  info.hwnd = ToHwnd(owner);
  info.lpVerb = L"open";
  info.lpFile = file.c_str();
  info.lpParameters = L"";
  info.lpDirectory = L"";
  info.nShow = SW_SHOWNORMAL;
  return shell_execute(&info) != FALSE;
}

}  // namespace corvane::win32
