#include "main_window/pick_hint.h"

#include <commctrl.h>

#include "platform/win32/trace.h"

namespace corvane::main_window {

namespace {

constexpr UINT_PTR kToolId = 1;

TOOLINFOW Tool(HWND owner, wchar_t* text) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_TRACK;
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
  if (tip_ == nullptr && !Create(owner)) return;
  Hide();
  text_ = text;
  TOOLINFOW tool = Tool(owner_, text_.data());
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  // Wide enough for the longest hint on one or two lines at any DPI.
  RECT bounds{};
  GetWindowRect(anchor, &bounds);
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, LPARAM{2} * (bounds.right - bounds.left));
  SendMessageW(tip_, TTM_TRACKPOSITION, 0,
               MAKELPARAM((bounds.left + bounds.right) / 2, bounds.bottom));
  SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  shown_ = true;
  SetTimer(owner_, kTimerId, kShowMs, nullptr);
}

void PickHint::Hide() {
  if (!shown_) return;
  shown_ = false;
  KillTimer(owner_, kTimerId);
  TOOLINFOW tool = Tool(owner_, text_.data());
  SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

bool PickHint::OnMessage(UINT message, WPARAM wparam) {
  if (message != WM_TIMER || wparam != kTimerId) return false;
  Hide();
  return true;
}

}  // namespace corvane::main_window
