#include "main_window/form1.h"

#include <commctrl.h>
#include <windowsx.h>

#include "main_window/fonts.h"
#include "platform/twips.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "resource_ids.h"

namespace corvane::main_window {

using platform::TwipsToPixels;

namespace {

constexpr wchar_t kCaption[] = L"Corvane";
constexpr char16_t kInitialText[] = u"快速网页翻译 - 请选择";
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

}  // namespace

Form1::Form1(HINSTANCE instance, win32::OpenWindows& open_windows, const win32::Dpi& dpis,
             const win32::Contrast& contrast, win32::OleApartment& ole,
             platform::WindowSystem& windows, platform::Urls& urls, platform::Shell& shell,
             std::function<void()> label1_click, UINT hint_ms)
    : BaseWindow(open_windows),
      instance_(instance),
      dpis_(dpis),
      contrast_(contrast),
      ole_(ole),
      windows_(windows),
      urls_(urls),
      shell_(shell),
      label1_(kLabel1Caption, kLabel1TextColour),
      hint_(hint_ms) {
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
  SetFocus(combo1_.Hwnd());
  return true;
}

bool Form1::OnCreate() {
  hand_cursor_ = static_cast<HCURSOR>(LoadImageW(instance_, MAKEINTRESOURCEW(IDC_HAND_POINTER),
                                                 IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  label1_.SetCursor(hand_cursor_);
  if (!combo1_.Create(Hwnd(), kCombo1Id)) return false;
  high_contrast_ = contrast_.High();
  ApplyColours();
  // Font and place first, so the texts are laid out once, in their own font.
  ApplyDpi(dpis_.ForWindow(Hwnd()));
  combo1_.Fill(kInitialText);
  return true;
}

void Form1::ApplyDpi(int dpi) {
  dpi_ = dpi;
  // The old fonts go only once nothing uses them any more.
  win32::ScopedFont combo_font = CreateDpiFont(kCombo1Font, dpi);
  SetWindowFont(combo1_.Hwnd(), combo_font.get(), TRUE);
  combo_font_ = std::move(combo_font);
  label_font_ = CreateDpiFont(kLabel1Font, dpi);
  SetWindowPos(combo1_.Hwnd(), nullptr, TwipsToPixels(kCombo1Twips.left, dpi),
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

translation::PickOutcome Form1::Take(const translation::TranslationTarget& target) {
  const translation::PickOutcome outcome =
      translation::Combo1_Click(target, windows_, urls_, shell_, win32::ToHandle(Hwnd()));
  // Closed while the shell had it: there is nothing left to show a hint on.
  if (Hwnd() == nullptr) return outcome;
  if (outcome == translation::PickOutcome::kOpened) {
    hint_.Hide();
  } else if (const std::u16string_view hint = translation::HintFor(outcome); !hint.empty()) {
    // Nothing went out and the list keeps the pick; say why, unless the shell did.
    hint_.Show(Hwnd(), combo1_.Hwnd(), win32::ToWide(hint), dpi_);
    if (hint_.Visible()) accessibility_.AnnounceHint(Hwnd());
  }
  return outcome;
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
      SetFocus(combo1_.Hwnd());
      return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == kCombo1Id) combo1_.OnCommand(HIWORD(wparam));
      return 0;
    case kActivateLabel1Message:
      label1_.Activate();
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return OnCtlColor(reinterpret_cast<HDC>(wparam));
    case WM_SYSCOLORCHANGE:
      // Common controls learn of it only from their parent.
      SendMessageW(combo1_.Hwnd(), WM_SYSCOLORCHANGE, 0, 0);
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
      return accessibility_.OnGetObject(Hwnd(), wparam, lparam);
    case WM_DESTROY:
      // Assistive technology may hold our objects longer than the window lives.
      accessibility_.Disconnect();
      return 0;
    default:
      return DefWindowProcW(Hwnd(), message, wparam, lparam);
  }
}

}  // namespace corvane::main_window
