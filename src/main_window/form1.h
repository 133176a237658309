#pragma once

#include <windows.h>

#include <functional>

#include "main_window/accessibility.h"
#include "main_window/background_picture.h"
#include "main_window/choice_list.h"
#include "main_window/link_label.h"
#include "main_window/pick_hint.h"
#include "platform/shell.h"
#include "platform/urls.h"
#include "platform/win32/contrast.h"
#include "platform/win32/dpi.h"
#include "platform/win32/ole_apartment.h"
#include "platform/win32/scoped.h"
#include "platform/win32/window_base.h"
#include "platform/window_system.h"

namespace corvane::main_window {

// The main window: the choice list that starts a translation and the link
// label that opens the promotion window. It owns its controls and forwards
// to them; what a pick is and when it is taken is the list's, what
// assistive technology sees is its accessibility's. It answers the list's
// one question, what came of a pick, and says why when nothing went out.
class Form1 final : public win32::BaseWindow<Form1> {
 public:
  static constexpr const wchar_t* kClassName = L"CorvaneForm1";
  static constexpr int kCombo1Id = 101;
  // Posted to it to do what a click on the label does, from a call that
  // must return first (assistive technology's default action).
  static constexpr UINT kActivateLabel1Message = WM_APP + 1;

  Form1(HINSTANCE instance, win32::OpenWindows& open_windows, const win32::Dpi& dpis,
        const win32::Contrast& contrast, win32::OleApartment& ole, platform::WindowSystem& windows,
        platform::Urls& urls, platform::Shell& shell, std::function<void()> label1_click,
        UINT hint_ms = PickHint::kShowMs);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;
  Form1(Form1&&) = delete;
  Form1& operator=(Form1&&) = delete;
  // The window goes while the whole object is alive; its accessibility,
  // a member, disconnects what assistive technology still holds after it.
  ~Form1() { Destroy(); }

  // Creates the window at the screen's top-left corner and shows it.
  bool Show(int show_command);

  HWND Combo1() const { return combo1_.Hwnd(); }
  const LinkLabel& Label1() const { return label1_; }
  const PickHint& Hint() const { return hint_; }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) noexcept;

 private:
  friend class win32::BaseWindow<Form1>;

  bool OnCreate();
  // Lays the controls and fonts out at `dpi`.
  void ApplyDpi(int dpi);
  void PlaceForDpi(const RECT& suggested, int dpi);
  void OnPaint();
  translation::PickOutcome Take(const translation::TranslationTarget& target);
  LRESULT OnCtlColor(HDC dc) const;
  // Takes the theme's colours again and repaints in them.
  void OnThemeChanged();
  void ApplyColours();

  HINSTANCE instance_;
  const win32::Dpi& dpis_;
  const win32::Contrast& contrast_;
  win32::OleApartment& ole_;
  platform::WindowSystem& windows_;
  platform::Urls& urls_;
  platform::Shell& shell_;
  ChoiceList combo1_{[this](const auto& target) { return Take(target); }};
  LinkLabel label1_;
  PickHint hint_;
  FormAccessibility accessibility_{label1_, hint_, ole_, kActivateLabel1Message};
  BackgroundPicture picture_;
  bool picture_stale_ = true;  // not yet decoded for the current DPI
  win32::ScopedFont combo_font_;
  win32::ScopedFont label_font_;
  HCURSOR hand_cursor_ = nullptr;
  bool high_contrast_ = false;
  int dpi_ = USER_DEFAULT_SCREEN_DPI;
};

}  // namespace corvane::main_window
