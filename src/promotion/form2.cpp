#include "promotion/form2.h"

#include <string>

#include "platform/twips.h"
#include "resource_ids.h"

namespace corvane::promotion {

using platform::TwipsToPixels;

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// Outer size after load, frame and caption included; the browser control
// gets the same size although it sits in the smaller client area.
constexpr SIZE kLoadTwips{9090, 5710};
// The design client area, before the load sizes the window.
constexpr SIZE kDesignClientTwips{9915, 8280};

std::wstring Caption() {
  return std::wstring(L"Tavlo网络广告 - 通过软件加载的网络广告 - 广告投放:") + kContactEmail;
}

}  // namespace

Form2::Form2(HINSTANCE instance, win32::OpenWindows& open_windows, const win32::Dpi& dpis,
             win32::OleApartment& ole)
    : BaseWindow(open_windows), instance_(instance), dpis_(dpis), web_browser1_(ole) {}

void Form2::Show() {
  if (Hwnd() == nullptr) {
    if (!Load()) return;
    ShowWindow(Hwnd(), SW_SHOWNORMAL);
    return;
  }
  if (IsIconic(Hwnd())) ShowWindow(Hwnd(), SW_RESTORE);
  ShowWindow(Hwnd(), SW_SHOW);
  SetForegroundWindow(Hwnd());
}

bool Form2::Load() {
  const std::wstring caption = Caption();
  const int dpi = dpis_.ForSystem();
  const RECT design = dpis_.OuterRect(
      {0, 0, TwipsToPixels(kDesignClientTwips.cx, dpi), TwipsToPixels(kDesignClientTwips.cy, dpi)},
      kStyle, 0, dpi);
  if (!Create(instance_, IDI_CORVANE, 0, caption.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
              design.right - design.left, design.bottom - design.top)) {
    return false;
  }
  Form_Load();
  CentreOnScreen();
  return true;
}

void Form2::Form_Load() {
  const int dpi = dpis_.ForWindow(Hwnd());
  const int width = TwipsToPixels(kLoadTwips.cx, dpi);
  const int height = TwipsToPixels(kLoadTwips.cy, dpi);
  SetWindowPos(Hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(web_browser1_.Hwnd(), nullptr, 0, 0, width, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  web_browser1_.Navigate(kPromotionPage);
}

void Form2::CentreOnScreen() {
  RECT window{};
  GetWindowRect(Hwnd(), &window);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& screen = monitor.rcMonitor;
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  SetWindowPos(Hwnd(), nullptr, screen.left + (screen.right - screen.left - width) / 2,
               screen.top + (screen.bottom - screen.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form2::ApplyDpi(int dpi) {
  // The control keeps its load size, now at the new DPI.
  SetWindowPos(web_browser1_.Hwnd(), nullptr, 0, 0, TwipsToPixels(kLoadTwips.cx, dpi),
               TwipsToPixels(kLoadTwips.cy, dpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Form2::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  switch (message) {
    case WM_CREATE:
      // Without the control the window still opens, empty, as a page that
      // cannot load would leave it.
      web_browser1_.Create(Hwnd(), kWebBrowser1Id);
      return 0;
    case WM_SETFOCUS:
      // The browser control is the window's only control and takes the focus.
      if (web_browser1_.Hwnd() != nullptr) SetFocus(web_browser1_.Hwnd());
      return 0;
    case WM_DESTROY:
      // Closing unloads the window; the object stays for the next show.
      web_browser1_.Destroy();
      return 0;
    default:
      return DefWindowProcW(Hwnd(), message, wparam, lparam);
  }
}

}  // namespace corvane::promotion
