#include "main_window/pick_hint.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "main_window/fonts.h"
#include "main_window/hint_placement.h"
#include "platform/win32/trace.h"

namespace corvane::main_window {

namespace {

constexpr UINT_PTR kToolId = 1;

TOOLINFOW Tool(HWND owner, bool balloon, wchar_t* text) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  // The balloon is centred below its tracking point, the stem pointing at
  // it (without TTF_CENTERTIP Windows puts a tracking balloon above and to
  // the right); the plain tip goes exactly where it is put (TTF_ABSOLUTE).
  tool.uFlags = TTF_TRACK | (balloon ? TTF_CENTERTIP : TTF_ABSOLUTE);
  tool.hwnd = owner;
  tool.uId = kToolId;
  tool.lpszText = text;
  return tool;
}

ScreenRect ToScreenRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

bool PickHint::Prepare(HWND owner, bool balloon, int dpi) {
  if (tip_ != nullptr && (balloon_ != balloon || owner_ != owner)) Reset();
  if (font_dpi_ != dpi) {
    // The common controls' default font is made for the primary monitor at
    // start-up; this one is the system's tooltip font at the window's DPI.
    font_ = CreateTooltipFont(dpi);
    font_dpi_ = dpi;
    if (tip_ != nullptr) SetWindowFont(tip_, font_.get(), FALSE);
  }
  if (tip_ == nullptr) {
    owner_ = owner;
    balloon_ = balloon;
    const INITCOMMONCONTROLSEX tooltips{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    if (!InitCommonControlsEx(&tooltips)) win32::TraceLastError();
    // A popup owned by the form: it never takes the focus or the activation.
    tip_ = CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | (balloon ? TTS_BALLOON : 0), CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)), nullptr);
    if (tip_ == nullptr) return win32::TraceLastError();
    SetWindowFont(tip_, font_.get(), FALSE);
    TOOLINFOW tool = Tool(owner_, balloon_, const_cast<wchar_t*>(L""));
    if (!SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
      win32::TraceLastError();
    }
  }
  TOOLINFOW tool = Tool(owner_, balloon_, text_.data());
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  return true;
}

void PickHint::Track(POINT at) {
  TOOLINFOW tool = Tool(owner_, balloon_, text_.data());
  SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

SIZE PickHint::Measure(int width) const {
  const win32::ScopedWindowDc dc(tip_);
  const win32::ScopedSelectObject font(dc.get(), font_.get());
  // What the tip's window adds around its text: TTM_ADJUSTRECT of an empty
  // text rectangle. Where the control cannot say (Wine's comctl32 has no
  // TTM_ADJUSTRECT and answers 0) room for margins, frame and a balloon's
  // stem is allowed generously, since too much only puts the hint above
  // where below would have done.
  RECT frame{0, 0, 0, 0};
  if (SendMessageW(tip_, TTM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&frame)) == 0) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    const int line = metrics.tmHeight + metrics.tmExternalLeading;
    const int margin = balloon_ ? line : line / 2;
    frame = {-margin, -margin, margin, margin + (balloon_ ? line : 0)};
  }
  const int across = frame.right - frame.left;
  // TTM_SETMAXTIPWIDTH's width is the tip window's by its documentation;
  // Wine's tooltips.c breaks the text at it. Taken as the window's, the text
  // breaks at `width` less the frame twice; taken as the text's, a frame
  // wider, where a line can hold more words and the window grows up to
  // `width`. The window takes what the larger reading gives.
  const int text_width = std::max(1, width - 2 * across);
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, text_width + across);
  const auto text_at = [&](int breaks_at) {
    RECT text{0, 0, breaks_at, 0};
    DrawTextW(dc.get(), text_.c_str(), static_cast<int>(text_.size()), &text,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXTERNALLEADING);
    return text;
  };
  const RECT as_documented = text_at(text_width);
  const RECT as_wine = text_at(text_width + across);
  return {std::max(as_documented.right, as_wine.right) + across,
          std::max(as_documented.bottom, as_wine.bottom) + frame.bottom - frame.top};
}

void PickHint::Show(HWND owner, HWND anchor, std::wstring_view text, int dpi) {
  // A hint for a window that is gone would have no timer to end it.
  if (IsWindow(owner) == FALSE) return;
  Hide();
  text_ = text;
  RECT bounds{};
  GetWindowRect(anchor, &bounds);
  const ScreenRect list = ToScreenRect(bounds);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(anchor, MONITOR_DEFAULTTONEAREST), &monitor);
  const ScreenRect work = ToScreenRect(monitor.rcWork);
  // Measured before it shows, so that it shows once, where it belongs. It is
  // no wider than the list it is centred on, so that it fits beside a window
  // at the screen's edge; the longer hints take a few lines.
  const int width = bounds.right - bounds.left;
  if (!Prepare(owner, true, dpi)) return;
  if (HintFitsBelow(list, Measure(width).cy, work)) {
    const ScreenPoint below = HintBelow(list);
    Track({below.x, below.y});
  } else {
    if (!Prepare(owner, false, dpi)) return;
    const SIZE size = Measure(width);
    const ScreenPoint above = HintAbove(list, size.cx, size.cy, work);
    Track({above.x, above.y});
  }
  shown_ = true;
  RECT owner_rect{};
  GetWindowRect(owner_, &owner_rect);
  owner_at_ = {owner_rect.left, owner_rect.top};
  SetTimer(owner_, kTimerId, show_ms_, nullptr);
}

void PickHint::Hide() {
  if (!shown_) return;
  shown_ = false;
  KillTimer(owner_, kTimerId);
  TOOLINFOW tool = Tool(owner_, balloon_, text_.data());
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
    case WM_ACTIVATE:
      // Another window came to the front: a topmost hint would stay over it.
      if (LOWORD(wparam) == WA_INACTIVE) Hide();
      return false;
    case WM_DESTROY:
      Reset();
      return false;
    default:
      return false;
  }
}

}  // namespace corvane::main_window
