#pragma once

// A main window in this process over a fake browser and a fake shell, at the
// desktop's DPI, driven with the messages the list gets from the keyboard
// and the mouse.

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

#include "fakes/fake_shell.h"
#include "fakes/fake_urls.h"
#include "fakes/fake_window_system.h"
#include "main_window/form1.h"
#include "support/design.h"

namespace corvane::testing {

class FormFixture {
 protected:
  explicit FormFixture(win32::Dpi::Lookup lookup,
                       win32::Contrast::Source contrast_source = win32::Contrast::Source::kSystem,
                       UINT hint_ms = main_window::PickHint::kShowMs)
      : dpis(lookup), contrast(contrast_source), hint_ms_(hint_ms) {}

  // The list's text, as the user sees it.
  std::u16string ListText() const {
    wchar_t text[128] = {};
    const int length = GetWindowTextW(form.Combo1(), text, 128);
    return std::u16string(text, text + length);
  }
  // A key as the keyboard gives it to the list's field, which has the focus
  // (the message loop makes its character); `repeat` marks the auto-repeat
  // of a held key; WM_SYSKEYDOWN, a key pressed with Alt.
  void Key(WORD key, bool repeat = false, UINT message = WM_KEYDOWN) {
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    const UINT alt = message == WM_SYSKEYDOWN ? 0x20000000U : 0U;
    PostMessageW(GetWindow(form.Combo1(), GW_CHILD), message, key,
                 static_cast<LPARAM>((scan << 16) | alt | (repeat ? 0x40000001U : 1U)));
    Pump();
  }
  // The drop-down opened, then a click on `row` of its list after the
  // pointer passed over the other row.
  void ClickInDroppedList(int row) {
    SendMessageW(form.Combo1(), CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    GetComboBoxInfo(form.Combo1(), &info);
    const auto item = static_cast<int>(SendMessageW(info.hwndList, LB_GETITEMHEIGHT, 0, 0));
    const auto at = [&](int r) { return MAKELPARAM(10, r * item + item / 2); };
    SendMessageW(info.hwndList, WM_MOUSEMOVE, 0, at(1 - row));
    SendMessageW(info.hwndList, WM_MOUSEMOVE, 0, at(row));
    SendMessageW(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at(row));
    SendMessageW(info.hwndList, WM_LBUTTONUP, 0, at(row));
    Pump();
  }
  // Runs what the window posted itself.
  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  std::u16string Request(std::string_view prefix) const {
    return design::Widen(prefix) + design::Widen(design::kHostileAddressEncoded);
  }
  std::vector<std::u16string> Requests() const {
    std::vector<std::u16string> addresses;
    for (const auto& request : shell.opened) addresses.push_back(request.address);
    return addresses;
  }

  win32::OleApartment ole;
  win32::OpenWindows open_windows;
  const win32::Dpi dpis;
  const win32::Contrast contrast;
  FakeWindowSystem browser;
  FakeUrls urls;
  FakeShell shell;
  int label_clicks = 0;
  UINT hint_ms_;
  main_window::Form1 form{
      GetModuleHandleW(nullptr),  open_windows, dpis, contrast, ole, browser, urls, shell,
      [this] { ++label_clicks; }, hint_ms_};
};

}  // namespace corvane::testing
