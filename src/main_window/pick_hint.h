#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/win32/scoped.h"

namespace corvane::main_window {

// A short note beside a control that says why a pick opened nothing: it
// takes no focus, needs no dismissing and goes by itself after its time.
// Below the control it is a balloon pointing up at it; where the screen has
// no room below, a plain tip placed right above it. Made on first use, so
// start-up does not pay for it. It keeps to its owner: it goes when the
// owner moves, is minimised, is deactivated (another program comes to the
// front) or is destroyed, since a tooltip is a topmost window that stays
// where it was put; the owner resets it when its DPI changes.
class PickHint {
 public:
  static constexpr UINT_PTR kTimerId = 0x4849;  // on the owner window
  static constexpr UINT kShowMs = 6000;

  explicit PickHint(UINT show_ms = kShowMs) : show_ms_(show_ms) {}

  // Shows `text` at `anchor` (a child of `owner`), in the system's tooltip
  // font made for `dpi`, replacing any hint still shown.
  void Show(HWND owner, HWND anchor, std::wstring_view text, int dpi);
  void Hide();
  // Hides it and lets its window go; the next Show makes one anew.
  void Reset();

  HWND Hwnd() const { return tip_; }
  bool Visible() const { return shown_; }
  const std::wstring& Text() const { return text_; }

  // Sees every message of the owner: ends the hint on its timer and when the
  // owner leaves the place the hint points at or the front. True when the
  // message was the hint's alone.
  bool OnMessage(UINT message, WPARAM wparam);

 private:
  // A tip of the kind asked for, at `dpi`, holding text_; false if none can be made.
  bool Prepare(HWND owner, bool balloon, int dpi);
  // The room the tip's window takes for text_ when it may be `width` wide
  // at most, under either reading of its maximum width.
  SIZE Measure(int width) const;
  void Track(POINT at);

  UINT show_ms_;
  HWND owner_ = nullptr;
  HWND tip_ = nullptr;  // owned by owner_, destroyed with it
  bool balloon_ = false;
  win32::ScopedFont font_;
  int font_dpi_ = 0;
  std::wstring text_;
  bool shown_ = false;
  POINT owner_at_{};  // the owner's top-left when the hint was shown
};

}  // namespace corvane::main_window
