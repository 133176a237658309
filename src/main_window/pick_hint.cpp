#include "main_window/pick_hint.h"

#include <commctrl.h>

#include "main_window/hint_placement.h"
#include "platform/win32/trace.h"

namespace corvane::main_window {

namespace {

constexpr UINT_PTR kToolId = 1;

TOOLINFOW Tool(HWND owner, wchar_t* text) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  // Centred below the tracking point, the stem pointing at it; without
  // TTF_CENTERTIP Windows puts a tracking balloon above and to the right.
  tool.uFlags = TTF_TRACK | TTF_CENTERTIP;
  tool.hwnd = owner;
  tool.uId = kToolId;
  tool.lpszText = text;
  return tool;
}

}  // namespace

bool PickHint::Create(HWND owner) {
  owner_ = owner;
  const INITCOMMONCONTROLSEX tooltips{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  if (!InitCommonControlsEx(&tooltips)) win32::TraceLastError();
  // A popup owned by the form: it never takes the focus or the activation.
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                         WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)),
                         nullptr);
  if (tip_ == nullptr) {
    win32::TraceLastError();
    return false;
  }
  TOOLINFOW tool = Tool(owner_, const_cast<wchar_t*>(L""));
  if (!SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
    win32::TraceLastError();
  }
  return true;
}

void PickHint::Show(HWND owner, HWND anchor, std::wstring_view text) {
  // A hint for a window that is gone would have no timer to end it.
  if (IsWindow(owner) == FALSE) return;
  if (tip_ == nullptr && !Create(owner)) return;
  Hide();
  text_ = text;
  TOOLINFOW tool = Tool(owner_, text_.data());
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  // No wider than the list it is centred on, so that centred below the list
  // of a window at the screen's left edge it still fits on the screen; the
  // longer hints take two or three lines.
  RECT bounds{};
  GetWindowRect(anchor, &bounds);
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, bounds.right - bounds.left);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(anchor, MONITOR_DEFAULTTONEAREST), &monitor);
  const auto balloon =
      static_cast<DWORD>(SendMessageW(tip_, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool)));
  const ScreenRect work{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right,
                        monitor.rcWork.bottom};
  const ScreenPoint at =
      HintAnchor({bounds.left, bounds.top, bounds.right, bounds.bottom}, HIWORD(balloon), work);
  SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  shown_ = true;
  RECT owner_rect{};
  GetWindowRect(owner_, &owner_rect);
  owner_at_ = {owner_rect.left, owner_rect.top};
  SetTimer(owner_, kTimerId, kShowMs, nullptr);
}

void PickHint::Hide() {
  if (!shown_) return;
  shown_ = false;
  KillTimer(owner_, kTimerId);
  TOOLINFOW tool = Tool(owner_, text_.data());
  SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void PickHint::Reset() {
  Hide();
  if (tip_ != nullptr) DestroyWindow(tip_);
  tip_ = nullptr;
}

bool PickHint::OnMessage(UINT message, WPARAM wparam) {
  switch (message) {
    case WM_TIMER:
      if (wparam != kTimerId) return false;
      Hide();
      return true;
    case WM_MOVE:
      if (shown_) {
        RECT owner_rect{};
        GetWindowRect(owner_, &owner_rect);
        if (owner_rect.left != owner_at_.x || owner_rect.top != owner_at_.y) Hide();
      }
      return false;
    case WM_SIZE:
      // Minimised, whether or not the window also left its place.
      if (wparam == SIZE_MINIMIZED) Hide();
      return false;
    case WM_DESTROY:
      Reset();
      return false;
    default:
      return false;
  }
}

}  // namespace corvane::main_window
