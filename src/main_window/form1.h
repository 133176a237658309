#pragma once

#include <windows.h>

#include <deque>
#include <functional>

#include "main_window/accessible.h"
#include "main_window/background_picture.h"
#include "main_window/link_label.h"
#include "main_window/pick_hint.h"
#include "platform/shell.h"
#include "platform/win32/contrast.h"
#include "platform/win32/dpi.h"
#include "platform/win32/ole_apartment.h"
#include "platform/win32/scoped.h"
#include "platform/win32/window_base.h"
#include "platform/window_system.h"
#include "translation/pick_detector.h"

namespace corvane::main_window {

// The main window: the choice list that starts a translation and the link
// label that opens the promotion window.
class Form1 final : public win32::BaseWindow<Form1> {
 public:
  static constexpr const wchar_t* kClassName = L"CorvaneForm1";
  static constexpr int kCombo1Id = 101;
  // The object id under which the hint is announced as an alert (servers
  // name their own objects with positive ids).
  static constexpr LONG kHintObjectId = 1;

  Form1(HINSTANCE instance, win32::OpenWindows& open_windows, const win32::Dpi& dpis,
        const win32::Contrast& contrast, win32::OleApartment& ole, platform::WindowSystem& windows,
        platform::Shell& shell, std::function<void()> label1_click);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;
  Form1(Form1&&) = delete;
  Form1& operator=(Form1&&) = delete;
  ~Form1() {
    Disconnect();
    Destroy();
  }

  // Creates the window at the screen's top-left corner and shows it.
  bool Show(int show_command);

  HWND Combo1() const { return combo1_; }
  const LinkLabel& Label1() const { return label1_; }
  const PickHint& Hint() const { return hint_; }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) noexcept;

 private:
  // Posted for each pick with the picked row, so it is taken once the combo
  // box has finished its own work.
  static constexpr UINT kComboPickMessage = WM_APP + 1;
  // Posted when the dropped-down list closes.
  static constexpr UINT kComboSettledMessage = WM_APP + 2;
  // Posted when assistive technology does the link's default action, so it
  // runs as a click does, outside the call that asked for it.
  static constexpr UINT kLabel1ActivateMessage = WM_APP + 3;

  friend class win32::BaseWindow<Form1>;

  bool OnCreate();
  // Lays the controls and fonts out at `dpi`.
  void ApplyDpi(int dpi);
  void PlaceForDpi(const RECT& suggested, int dpi);
  void OnPaint();
  // Hands the list's notifications to the pick detector.
  void OnCombo1Notify(UINT code);
  void OnCombo1Settled();
  // Queues a picked row and takes the queue in order.
  void TakePick(int row);
  void Translate(int row);
  LRESULT OnCtlColor(HDC dc) const;
  // Takes the theme's colours again and repaints in them.
  void OnThemeChanged();
  void ApplyColours();
  LRESULT OnGetObject(WPARAM wparam, LPARAM lparam);
  // Tells screen readers the hint's text, as an alert, without the focus.
  void AnnounceHint(const std::wstring& text);
  // Assistive technology may hold our objects longer than the window lives.
  void Disconnect();

  HINSTANCE instance_;
  const win32::Dpi& dpis_;
  const win32::Contrast& contrast_;
  win32::OleApartment& ole_;
  platform::WindowSystem& windows_;
  platform::Shell& shell_;
  HWND combo1_ = nullptr;
  translation::PickDetector combo1_picks_;
  bool translating_ = false;
  std::deque<int> waiting_picks_;  // rows picked while one was with the shell
  LinkLabel label1_;
  PickHint hint_;
  BackgroundPicture picture_;
  bool picture_stale_ = true;  // not yet decoded for the current DPI
  win32::ScopedFont combo_font_;
  win32::ScopedFont label_font_;
  HCURSOR hand_cursor_ = nullptr;
  bool high_contrast_ = false;
  AccessibilityApi accessibility_;
  win32::ComPtr<ClientAccessible> accessible_;
  win32::ComPtr<AlertAccessible> alert_;
  int dpi_ = USER_DEFAULT_SCREEN_DPI;
};

}  // namespace corvane::main_window
