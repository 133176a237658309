#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace corvane::main_window {

// A label drawn by its window: no HWND of its own, so the window's picture
// shows between its letters. The form routes paint and mouse messages to it.
class LinkLabel {
 public:
  LinkLabel(std::wstring text, COLORREF colour) : text_(std::move(text)), colour_(colour) {}

  // Places the label's top-left corner and sizes it to its text in `font`.
  void Layout(HWND owner, HFONT font, POINT top_left);
  void SetCursor(HCURSOR cursor) { cursor_ = cursor; }
  void SetColour(COLORREF colour) { colour_ = colour; }
  void SetOnClick(std::function<void()> on_click) { on_click_ = std::move(on_click); }

  const std::wstring& Text() const { return text_; }
  const RECT& Bounds() const { return bounds_; }
  bool HitTest(POINT client_point) const { return PtInRect(&bounds_, client_point) != FALSE; }
  void Paint(HDC dc) const;

  // Handles the cursor and the click; returns true when the message was the
  // label's and `result` holds the answer.
  bool OnMessage(HWND owner, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

  // What a click does, whoever clicks.
  void Activate() const {
    if (on_click_) on_click_();
  }

 private:
  std::wstring text_;
  COLORREF colour_;
  HFONT font_ = nullptr;
  HCURSOR cursor_ = nullptr;
  RECT bounds_{};
  bool pressed_ = false;
  std::function<void()> on_click_;
};

}  // namespace corvane::main_window
