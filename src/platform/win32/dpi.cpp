#include "platform/win32/dpi.h"

#include "platform/win32/scoped.h"
#include "platform/win32/system_library.h"

namespace corvane::win32 {

Dpi::Dpi(Lookup lookup) {
  monitor_dpi_allowed_ = lookup != Lookup::kOlderOnly;
  if (lookup != Lookup::kNewerWhereAvailable) return;
  // user32 is imported, so it is loaded already and stays loaded.
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return;
  get_dpi_for_window_ = ProcAddress<GetDpiForWindowFn>(user32, "GetDpiForWindow");
  get_dpi_for_system_ = ProcAddress<GetDpiForSystemFn>(user32, "GetDpiForSystem");
  adjust_window_rect_ex_for_dpi_ =
      ProcAddress<AdjustWindowRectExForDpiFn>(user32, "AdjustWindowRectExForDpi");
}

int Dpi::ForWindow(HWND window) const {
  if (get_dpi_for_window_ != nullptr) {
    if (const UINT dpi = get_dpi_for_window_(window); dpi != 0) return static_cast<int>(dpi);
  } else if (monitor_dpi_allowed_) {
    // The monitor the window is on; the system's DPI may be another's.
    const auto get_dpi_for_monitor = get_dpi_for_monitor_ != nullptr
                                         ? get_dpi_for_monitor_
                                         : shcore_.Get<GetDpiForMonitorFn>("GetDpiForMonitor");
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    UINT x = 0;
    UINT y = 0;
    if (get_dpi_for_monitor != nullptr &&
        SUCCEEDED(get_dpi_for_monitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                                      kEffectiveDpi, &x, &y)) &&
        x != 0) {
      return static_cast<int>(x);
    }
  }
  return ForSystem();
}

int Dpi::ForSystem() const {
  if (get_dpi_for_system_ != nullptr) return static_cast<int>(get_dpi_for_system_());
  const ScopedWindowDc screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

RECT Dpi::OuterRect(const RECT& client, DWORD style, DWORD ex_style, int dpi) const {
  RECT rect = client;
  if (adjust_window_rect_ex_for_dpi_ != nullptr) {
    adjust_window_rect_ex_for_dpi_(&rect, style, FALSE, ex_style, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
  }
  return rect;
}

}  // namespace corvane::win32
