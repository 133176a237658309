#include "main_window/link_label.h"

#include <windowsx.h>

#include "platform/win32/scoped.h"

namespace corvane::main_window {

void LinkLabel::Layout(HWND owner, HFONT font, POINT top_left) {
  font_ = font;
  SIZE size{};
  if (const win32::ScopedWindowDc dc(owner); dc) {
    const win32::ScopedSelectObject selected(dc.get(), font);
    GetTextExtentPoint32W(dc.get(), text_.c_str(), static_cast<int>(text_.size()), &size);
  }
  bounds_ = {top_left.x, top_left.y, top_left.x + size.cx, top_left.y + size.cy};
}

void LinkLabel::Paint(HDC dc) const {
  const win32::ScopedSelectObject selected(dc, font_);
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF old_colour = SetTextColor(dc, colour_);
  RECT bounds = bounds_;
  DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &bounds,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  SetTextColor(dc, old_colour);
  SetBkMode(dc, old_mode);
}

bool LinkLabel::OnMessage(HWND owner, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_SETCURSOR: {
      const auto target = reinterpret_cast<HWND>(wparam);
      if (target != owner || LOWORD(lparam) != HTCLIENT) return false;
      POINT point{};
      GetCursorPos(&point);
      ScreenToClient(owner, &point);
      if (!HitTest(point) || cursor_ == nullptr) return false;
      ::SetCursor(cursor_);
      result = TRUE;
      return true;
    }
    case WM_LBUTTONDOWN:
      pressed_ = HitTest({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
      if (!pressed_) return false;
      SetCapture(owner);
      result = 0;
      return true;
    case WM_LBUTTONUP: {
      if (!pressed_) return false;
      pressed_ = false;
      ReleaseCapture();
      // Like a button: the click counts when the button is let go over the label.
      if (HitTest({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)})) Activate();
      result = 0;
      return true;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return false;
    default:
      return false;
  }
}

}  // namespace corvane::main_window
