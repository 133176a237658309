#pragma once

// Failures the user does not see fail (a picture that stays blank, a control
// that is not made) are still told to whoever debugs: where, and the
// HRESULT or Win32 error, through OutputDebugString (a debugger, DebugView).

#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <source_location>

namespace corvane::win32 {

inline void Trace(const char* what, unsigned long code,
                  std::source_location where = std::source_location::current()) {
  char line[512];
  const int length =
      std::snprintf(line, sizeof(line), "Corvane: %s:%u %s: %s 0x%08lX\n", where.file_name(),
                    static_cast<unsigned>(where.line()), where.function_name(), what, code);
  if (length <= 0) return;
  // Source names and function names are ASCII.
  wchar_t wide[sizeof(line)];
  std::size_t i = 0;
  for (; i < sizeof(line) - 1 && line[i] != '\0'; ++i) wide[i] = static_cast<wchar_t>(line[i]);
  wide[i] = L'\0';
  OutputDebugStringW(wide);
}

// FAILED(hr), and when it did, says so.
inline bool Failed(HRESULT hr, std::source_location where = std::source_location::current()) {
  if (SUCCEEDED(hr)) return false;
  Trace("HRESULT", static_cast<unsigned long>(hr), where);
  return true;
}

// Says that a Win32 call failed, with the thread's last error.
inline void TraceLastError(std::source_location where = std::source_location::current()) {
  Trace("Win32 error", GetLastError(), where);
}

}  // namespace corvane::win32
