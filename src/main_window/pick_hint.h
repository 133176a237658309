#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace corvane::main_window {

// A short note beside a control that says why a pick opened nothing: a
// balloon that takes no focus, needs no dismissing and goes by itself after
// kShowMs. Made on first use, so start-up does not pay for it; it belongs to
// its owner window and goes with it.
class PickHint {
 public:
  static constexpr UINT_PTR kTimerId = 0x4849;  // on the owner window
  static constexpr UINT kShowMs = 6000;

  // Shows `text` pointing at the bottom centre of `anchor` (a child of
  // `owner`), replacing any hint still shown.
  void Show(HWND owner, HWND anchor, std::wstring_view text);
  void Hide();

  HWND Hwnd() const { return tip_; }
  bool Visible() const { return shown_; }
  const std::wstring& Text() const { return text_; }

  // Handles the owner's timer that ends the hint; true when the message was
  // the hint's.
  bool OnMessage(UINT message, WPARAM wparam);

 private:
  bool Create(HWND owner);

  HWND owner_ = nullptr;
  HWND tip_ = nullptr;  // owned by owner_, destroyed with it
  std::wstring text_;
  bool shown_ = false;
};

}  // namespace corvane::main_window
