#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace corvane::main_window {

// A short note beside a control that says why a pick opened nothing: a
// balloon that takes no focus, needs no dismissing and goes by itself after
// kShowMs. Made on first use, so start-up does not pay for it. It stays
// with its owner: it goes when the owner moves, is minimised or is
// destroyed, since a tracking tooltip stays where it was put (and the owner
// resets it when its DPI changes).
class PickHint {
 public:
  static constexpr UINT_PTR kTimerId = 0x4849;  // on the owner window
  static constexpr UINT kShowMs = 6000;

  // Shows `text` centred below `anchor` (a child of `owner`), pointing at it,
  // replacing any hint still shown.
  void Show(HWND owner, HWND anchor, std::wstring_view text);
  void Hide();
  // Hides it and lets its window go; the next Show makes one anew.
  void Reset();

  HWND Hwnd() const { return tip_; }
  bool Visible() const { return shown_; }
  const std::wstring& Text() const { return text_; }

  // Sees every message of the owner: ends the hint on its timer and when the
  // owner leaves the place the hint points at. True when the message was the
  // hint's alone.
  bool OnMessage(UINT message, WPARAM wparam);

 private:
  bool Create(HWND owner);

  HWND owner_ = nullptr;
  HWND tip_ = nullptr;  // owned by owner_, destroyed with it
  std::wstring text_;
  bool shown_ = false;
  POINT owner_at_{};  // the owner's top-left when the hint was shown
};

}  // namespace corvane::main_window
