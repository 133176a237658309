#include "main_window/form1.h"

#include <commctrl.h>
#include <windowsx.h>

#include "main_window/fonts.h"
#include "platform/twips.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "platform/win32/trace.h"
#include "resource_ids.h"
#include "translation/combo1_click.h"
#include "translation/request.h"

namespace corvane::main_window {

using platform::TwipsToPixels;

namespace {

constexpr wchar_t kCaption[] = L"Corvane";
constexpr wchar_t kInitialText[] = L"快速网页翻译 - 请选择";
constexpr wchar_t kLabel1Caption[] = L"用Tavlo看YouTube视频";
constexpr COLORREF kBackgroundColour = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kCombo1TextColour = RGB(0x40, 0x40, 0x40);
constexpr COLORREF kLabel1TextColour = RGB(0x00, 0x00, 0x00);
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

// Geometry in twips.
constexpr SIZE kClientTwips{3630, 1095};
constexpr RECT kCombo1Twips{480, 240, 480 + 2655, 240 + 330};
constexpr POINT kLabel1Twips{1800, 840};
// The combo box's window height includes its drop-down list.
constexpr int kCombo1DropDownTwips = 2400;

constexpr FontRequest kCombo1Font{{L"Verdana", L"Tahoma"}, 9, FW_BOLD, false, ANSI_CHARSET};
constexpr FontRequest kLabel1Font{
    {L"宋体", L"SimSun", L"NSimSun"}, 9, FW_NORMAL, true, GB2312_CHARSET};

// Places the window with its outer frame at `top_left` and its client area
// exactly `client` big. The frame is measured after the move too: the frame a
// window really gets can differ from what the frame metrics predict. A
// window already so placed is left alone.
void PlaceWithClientSize(const win32::Dpi& dpis, HWND window, POINT top_left, SIZE client,
                         int dpi) {
  RECT frame{};
  GetWindowRect(window, &frame);
  RECT actual{};
  GetClientRect(window, &actual);
  if (frame.left == top_left.x && frame.top == top_left.y && actual.right == client.cx &&
      actual.bottom == client.cy) {
    return;
  }
  const RECT rect = dpis.OuterRect({0, 0, client.cx, client.cy}, kStyle, kExStyle, dpi);
  SIZE outer{rect.right - rect.left, rect.bottom - rect.top};
  SetWindowPos(window, nullptr, top_left.x, top_left.y, outer.cx, outer.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  GetClientRect(window, &actual);
  if (actual.right != client.cx || actual.bottom != client.cy) {
    outer.cx += client.cx - actual.right;
    outer.cy += client.cy - actual.bottom;
    SetWindowPos(window, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

SIZE ClientPixels(int dpi) {
  return {TwipsToPixels(kClientTwips.cx, dpi), TwipsToPixels(kClientTwips.cy, dpi)};
}

// Windows moves a closed combo box's selection one entry a wheel notch, and
// from Windows 10 on the wheel reaches it under the pointer even while
// another window is active: every notch passing over it would be a pick. So
// the closed list ignores the wheel; dropped down, its list scrolls as ever.
// Wine's combo box moves on a wheel message as Windows' does; only a real
// notch over the focused text field stops at Wine's edit control, which does
// not pass it on to the list as DefWindowProc does on Windows.
LRESULT CALLBACK Combo1WheelFilter(HWND combo, UINT message, WPARAM wparam, LPARAM lparam,
                                   UINT_PTR id, DWORD_PTR /*data*/) {
  if (message == WM_MOUSEWHEEL && ComboBox_GetDroppedState(combo) == FALSE) return 0;
  if (message == WM_NCDESTROY) RemoveWindowSubclass(combo, Combo1WheelFilter, id);
  return DefSubclassProc(combo, message, wparam, lparam);
}

}  // namespace

Form1::Form1(HINSTANCE instance, win32::OpenWindows& open_windows, const win32::Dpi& dpis,
             const win32::Contrast& contrast, win32::OleApartment& ole,
             platform::WindowSystem& windows, platform::Shell& shell,
             std::function<void()> label1_click)
    : BaseWindow(open_windows),
      instance_(instance),
      dpis_(dpis),
      contrast_(contrast),
      ole_(ole),
      windows_(windows),
      shell_(shell),
      label1_(kLabel1Caption, kLabel1TextColour) {
  label1_.SetOnClick(std::move(label1_click));
}

bool Form1::Show(int show_command) {
  // Created hidden at the top-left at the size the system's DPI gives, then
  // placed again only where the monitor it opened on has another DPI.
  const int system_dpi = dpis_.ForSystem();
  const SIZE client = ClientPixels(system_dpi);
  const RECT outer = dpis_.OuterRect({0, 0, client.cx, client.cy}, kStyle, kExStyle, system_dpi);
  if (!Create(instance_, IDI_CORVANE, kExStyle, kCaption, kStyle, 0, 0, outer.right - outer.left,
              outer.bottom - outer.top)) {
    return false;
  }
  PlaceWithClientSize(dpis_, Hwnd(), {0, 0}, ClientPixels(dpi_), dpi_);
  ShowWindow(Hwnd(), show_command);
  SetFocus(combo1_);
  return true;
}

bool Form1::OnCreate() {
  hand_cursor_ = static_cast<HCURSOR>(LoadImageW(instance_, MAKEINTRESOURCEW(IDC_HAND_POINTER),
                                                 IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  label1_.SetCursor(hand_cursor_);
  combo1_ = CreateWindowExW(
      0, WC_COMBOBOXW, L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 0, 0, 0,
      Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCombo1Id)), instance_, nullptr);
  if (combo1_ == nullptr) {
    win32::TraceLastError();
    return false;
  }
  if (!SetWindowSubclass(combo1_, Combo1WheelFilter, 0, 0)) win32::TraceLastError();
  high_contrast_ = contrast_.High();
  ApplyColours();
  // Font and place first, so the texts are laid out once, in their own font.
  ApplyDpi(dpis_.ForWindow(Hwnd()));
  for (const auto& target : translation::kTranslationTargets) {
    const std::wstring entry = win32::ToWide(target.entry);
    ComboBox_AddString(combo1_, entry.c_str());
  }
  SetWindowTextW(combo1_, kInitialText);
  return true;
}

void Form1::ApplyDpi(int dpi) {
  dpi_ = dpi;
  // The old fonts go only once nothing uses them any more.
  win32::ScopedFont combo_font = CreateDpiFont(kCombo1Font, dpi);
  SetWindowFont(combo1_, combo_font.get(), TRUE);
  combo_font_ = std::move(combo_font);
  label_font_ = CreateDpiFont(kLabel1Font, dpi);
  SetWindowPos(combo1_, nullptr, TwipsToPixels(kCombo1Twips.left, dpi),
               TwipsToPixels(kCombo1Twips.top, dpi),
               TwipsToPixels(kCombo1Twips.right - kCombo1Twips.left, dpi),
               TwipsToPixels(kCombo1Twips.bottom - kCombo1Twips.top + kCombo1DropDownTwips, dpi),
               SWP_NOZORDER | SWP_NOACTIVATE);
  label1_.Layout(Hwnd(), label_font_.get(),
                 {TwipsToPixels(kLabel1Twips.x, dpi), TwipsToPixels(kLabel1Twips.y, dpi)});
  picture_stale_ = true;
  hint_.Reset();  // made again at the next hint, in the new DPI's font
}

void Form1::PlaceForDpi(const RECT& suggested, int dpi) {
  // The client area stays exactly its design size at the new DPI.
  PlaceWithClientSize(dpis_, Hwnd(), {suggested.left, suggested.top}, ClientPixels(dpi), dpi);
}

void Form1::OnPaint() {
  const win32::ScopedPaint paint(Hwnd());
  HDC dc = paint.get();
  RECT client{};
  GetClientRect(Hwnd(), &client);
  if (high_contrast_) {
    // A picture under text would undo the contrast the user chose.
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    label1_.Paint(dc);
    return;
  }
  if (picture_stale_) {
    // Decoded at the first paint, not while the window is made, so the window
    // is up and answering first. Only what the client area can show is kept;
    // a failed decode leaves the plain background colour.
    picture_.Load(instance_, IDR_BACKGROUND_JPEG, ClientPixels(dpi_));
    picture_stale_ = false;
  }
  const SIZE picture = picture_.Size();
  // The background colour shows only where the picture does not reach.
  if (picture.cx < client.right || picture.cy < client.bottom) {
    const win32::ScopedBrush brush(CreateSolidBrush(kBackgroundColour));
    FillRect(dc, &client, brush.get());
  }
  picture_.Paint(dc);
  label1_.Paint(dc);
}

LRESULT Form1::OnCtlColor(HDC dc) const {
  SetTextColor(dc, high_contrast_ ? GetSysColor(COLOR_WINDOWTEXT) : kCombo1TextColour);
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

void Form1::ApplyColours() {
  // The system's link colour, as links have in high contrast.
  label1_.SetColour(high_contrast_ ? GetSysColor(COLOR_HOTLIGHT) : kLabel1TextColour);
}

void Form1::OnThemeChanged() {
  high_contrast_ = contrast_.High();
  ApplyColours();
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT Form1::OnGetObject(WPARAM wparam, LPARAM lparam) {
  // The id arrives as a 32-bit value, sign and all (WM_GETOBJECT).
  const auto id = static_cast<LONG>(static_cast<DWORD>(lparam));
  if (id == OBJID_CLIENT) {
    if (!accessible_ && ole_.Ensure()) {
      win32::ComPtr<IAccessible> standard = accessibility_.StandardClient(Hwnd());
      if (standard) {
        ClientAccessible::Link link{label1_.Text(),
                                    [this] {
                                      RECT bounds = label1_.Bounds();
                                      MapWindowPoints(Hwnd(), nullptr,
                                                      reinterpret_cast<POINT*>(&bounds), 2);
                                      return bounds;
                                    },
                                    [this] { PostMessageW(Hwnd(), kLabel1ActivateMessage, 0, 0); }};
        accessible_ =
            MakeAccessible<ClientAccessible>(std::move(standard), std::move(link), accessibility_);
      }
    }
    if (accessible_) return accessibility_.Answer(wparam, accessible_.get());
  } else if (id == kHintObjectId && alert_ && ole_.Ensure()) {
    return accessibility_.Answer(wparam, alert_.get());
  }
  return DefWindowProcW(Hwnd(), WM_GETOBJECT, wparam, lparam);
}

void Form1::AnnounceHint(const std::wstring& text) {
  if (alert_) alert_->Disconnect();
  RECT bounds{};
  GetWindowRect(hint_.Hwnd(), &bounds);
  alert_ = MakeAccessible<AlertAccessible>(text, bounds, accessibility_);
  NotifyWinEvent(EVENT_SYSTEM_ALERT, Hwnd(), kHintObjectId, CHILDID_SELF);
}

void Form1::Disconnect() {
  if (accessible_) accessible_->Disconnect();
  if (alert_) alert_->Disconnect();
  accessible_.reset();
  alert_.reset();
}

void Form1::OnCombo1Notify(UINT code) {
  using translation::ListNotification;
  ListNotification notification{};
  switch (code) {
    case CBN_DROPDOWN:
      notification = ListNotification::kDropDown;
      break;
    case CBN_CLOSEUP:
      notification = ListNotification::kCloseUp;
      // Whether the list was closed by a choice shows only once every
      // notification of the input that closed it has come.
      PostMessageW(Hwnd(), kComboSettledMessage, 0, 0);
      break;
    case CBN_SELCHANGE:
      notification = ListNotification::kSelChange;
      break;
    case CBN_SELENDOK:
      notification = ListNotification::kSelEndOk;
      break;
    case CBN_SELENDCANCEL:
      notification = ListNotification::kSelEndCancel;
      break;
    case CBN_EDITCHANGE:
      notification = ListNotification::kEditChange;
      break;
    default:
      return;
  }
  if (const auto row = combo1_picks_.OnNotification(notification, ComboBox_GetCurSel(combo1_))) {
    // Taken once the combo box has finished its own work.
    PostMessageW(Hwnd(), kComboPickMessage, static_cast<WPARAM>(*row), 0);
  }
}

void Form1::OnCombo1Settled() {
  if (const auto row = combo1_picks_.OnNotification(translation::ListNotification::kSettled,
                                                    ComboBox_GetCurSel(combo1_))) {
    TakePick(*row);
  }
}

void Form1::TakePick(int row) {
  // One pick at a time: while the shell talks to a DDE handler or to COM it
  // runs a modal loop, which can deliver the next pick in here. That one
  // waits its turn and is taken after, in order.
  waiting_picks_.push_back(row);
  if (translating_) return;
  translating_ = true;
  // The same modal loop can close the window: what waits then goes with it.
  while (!waiting_picks_.empty() && Hwnd() != nullptr) {
    const int next = waiting_picks_.front();
    waiting_picks_.pop_front();
    Translate(next);
  }
  waiting_picks_.clear();
  translating_ = false;
}

void Form1::Translate(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= translation::kTranslationTargets.size()) return;
  const translation::TranslationTarget& target = translation::kTranslationTargets[row];
  // While a pick is handled, the list shows the picked entry.
  const std::wstring entry = win32::ToWide(target.entry);
  SetWindowTextW(combo1_, entry.c_str());
  const translation::PickOutcome outcome =
      translation::Combo1_Click(target, windows_, shell_, win32::ToHandle(Hwnd()));
  // Closed while the shell had it: its controls are gone, and their handles
  // may already name other windows.
  if (Hwnd() == nullptr) return;
  if (outcome == translation::PickOutcome::kOpened) {
    hint_.Hide();
    SetWindowTextW(combo1_, win32::ToWide(translation::kPrompt).c_str());
    return;
  }
  // Nothing went out and the list keeps the pick; say why, unless the shell did.
  if (const std::u16string_view hint = translation::HintFor(outcome); !hint.empty()) {
    const std::wstring text = win32::ToWide(hint);
    hint_.Show(Hwnd(), combo1_, text);
    if (hint_.Visible()) AnnounceHint(text);
  }
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  LRESULT result = 0;
  if (label1_.OnMessage(Hwnd(), message, wparam, lparam, result)) return result;
  if (hint_.OnMessage(message, wparam)) return 0;
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers the whole client area
    case WM_SETFOCUS:
      SetFocus(combo1_);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == kCombo1Id) OnCombo1Notify(HIWORD(wparam));
      return 0;
    case kComboPickMessage:
      TakePick(static_cast<int>(wparam));
      return 0;
    case kComboSettledMessage:
      OnCombo1Settled();
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return OnCtlColor(reinterpret_cast<HDC>(wparam));
    case WM_SYSCOLORCHANGE:
      // Common controls learn of it only from their parent.
      SendMessageW(combo1_, WM_SYSCOLORCHANGE, 0, 0);
      OnThemeChanged();
      return 0;
    case WM_SETTINGCHANGE:
      // Sent for every setting; only the contrast one matters here.
      if (contrast_.High() != high_contrast_) OnThemeChanged();
      return DefWindowProcW(Hwnd(), message, wparam, lparam);
    case WM_THEMECHANGED:
      OnThemeChanged();
      return DefWindowProcW(Hwnd(), message, wparam, lparam);
    case WM_GETOBJECT:
      return OnGetObject(wparam, lparam);
    case kLabel1ActivateMessage:
      label1_.Activate();
      return 0;
    case WM_DESTROY:
      Disconnect();
      return 0;
    default:
      return DefWindowProcW(Hwnd(), message, wparam, lparam);
  }
}

}  // namespace corvane::main_window
