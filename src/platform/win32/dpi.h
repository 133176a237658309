#pragma once

#include <windows.h>

#include "platform/win32/system_library.h"

namespace corvane::win32 {

// The DPI to lay windows out at. Per-monitor DPI comes from user32 functions
// that only Windows 10 version 1607 and later have, and before them from
// shcore's GetDpiForMonitor (Windows 8.1); they are looked up at run time, so
// the program still starts on Windows 7, where the system DPI is every
// window's DPI and the older calls serve.
class Dpi {
 public:
  enum class Lookup {
    kNewerWhereAvailable,
    kMonitorOnly,  // as on Windows 8.1: GetDpiForMonitor, none of user32's
    kOlderOnly,    // as on Windows 7: none of them
  };

  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

  explicit Dpi(Lookup lookup = Lookup::kNewerWhereAvailable);
  // As on Windows 8.1 with `monitor_dpi` standing in for shcore's
  // GetDpiForMonitor: a test's monitor at another DPI than the system's.
  Dpi(Lookup lookup, GetDpiForMonitorFn monitor_dpi) : Dpi(lookup) {
    get_dpi_for_monitor_ = monitor_dpi;
  }

  int ForWindow(HWND window) const;
  int ForSystem() const;
  // The outer rectangle of a window whose client area is `client`, with the
  // frame metrics of `dpi`.
  RECT OuterRect(const RECT& client, DWORD style, DWORD ex_style, int dpi) const;

 private:
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  using GetDpiForSystemFn = UINT(WINAPI*)();
  using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  GetDpiForWindowFn get_dpi_for_window_ = nullptr;
  GetDpiForSystemFn get_dpi_for_system_ = nullptr;
  AdjustWindowRectExForDpiFn adjust_window_rect_ex_for_dpi_ = nullptr;
  // Only looked for where user32 has no per-window DPI.
  mutable SystemLibrary shcore_{L"shcore.dll"};
  GetDpiForMonitorFn get_dpi_for_monitor_ = nullptr;  // else shcore's
  bool monitor_dpi_allowed_ = true;
};

}  // namespace corvane::win32
