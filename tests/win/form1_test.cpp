// The main window in this process: its layout at the desktop's DPI
// (CORVANE_TEST_DPI says which one the run expects) with each way of asking
// for the DPI that Windows 7 to 11 offer, its pointer over the label, and
// what counts as a pick and what comes of it, driven with the messages the
// list gets from the keyboard and the mouse, as Wine's own combo box tests
// do, over a fake browser and a fake shell.

#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "main_window/background_picture.h"
#include "main_window/form1.h"
#include "platform/win32/handles.h"
#include "resource_ids.h"
#include "support/design.h"
#include "support/environment.h"
#include "support/form_fixture.h"
#include "support/input.h"
#include "support/wait.h"

namespace corvane {
namespace {

using design::Pixels;
using testing::RectInParent;
using testing::TestDpi;
using testing::WaitUntil;

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font;
}

RECT ClientRectOnScreen(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The ways of asking for the DPI: user32's per-window calls (Windows 10
// 1607 on), shcore's per-monitor call (Windows 8.1), the system's (Windows 7).
class Form1Layout : public testing::FormFixture,
                    public ::testing::TestWithParam<win32::Dpi::Lookup> {
 protected:
  Form1Layout() : FormFixture(GetParam()) {}
  void SetUp() override { ASSERT_TRUE(form.Show(SW_SHOWNORMAL)); }
};

INSTANTIATE_TEST_SUITE_P(DpiCalls, Form1Layout,
                         ::testing::Values(win32::Dpi::Lookup::kNewerWhereAvailable,
                                           win32::Dpi::Lookup::kMonitorOnly,
                                           win32::Dpi::Lookup::kOlderOnly),
                         [](const ::testing::TestParamInfo<win32::Dpi::Lookup>& param) {
                           switch (param.param) {
                             case win32::Dpi::Lookup::kMonitorOnly:
                               return "AsWindows81";
                             case win32::Dpi::Lookup::kOlderOnly:
                               return "AsWindows7";
                             default:
                               return "AsWindows10";
                           }
                         });

TEST_P(Form1Layout, GeometryFollowsTheDesktopDpi) {
  const int dpi = TestDpi();
  ASSERT_EQ(win32::Dpi().ForWindow(form.Hwnd()), dpi) << "the desktop is not at the run's DPI";
  EXPECT_EQ(dpis.ForWindow(form.Hwnd()), dpi) << "this way of asking got another DPI";
  RECT client{};
  GetClientRect(form.Hwnd(), &client);
  EXPECT_EQ(client.right, Pixels(design::kClientWidth, dpi));
  EXPECT_EQ(client.bottom, Pixels(design::kClientHeight, dpi));
  RECT frame{};
  GetWindowRect(form.Hwnd(), &frame);
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.top, 0);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(form.Hwnd(), GWL_STYLE));
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0U) << "the frame must not be resizable";

  const RECT combo = RectInParent(form.Combo1());
  EXPECT_EQ(combo.left, Pixels(design::kCombo1.left, dpi));
  EXPECT_EQ(combo.top, Pixels(design::kCombo1.top, dpi));
  EXPECT_EQ(combo.right - combo.left, Pixels(design::kCombo1.width, dpi));

  const RECT& label = form.Label1().Bounds();
  EXPECT_EQ(label.left, Pixels(design::kLabel1.left, dpi));
  EXPECT_EQ(label.top, Pixels(design::kLabel1.top, dpi));
  EXPECT_GT(label.right - label.left, 0);
  EXPECT_GT(label.bottom - label.top, 0);
  EXPECT_LE(label.bottom, client.bottom) << "the label fits the window";
}

TEST_P(Form1Layout, ADpiChangeRescalesTheWindowItsControlsAndFonts) {
  const int dpi = TestDpi() * 2;
  const LOGFONTW before = FontOf(form.Combo1());
  RECT suggested{0, 0, 800, 300};
  SendMessageW(form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&suggested));
  RECT client{};
  GetClientRect(form.Hwnd(), &client);
  EXPECT_EQ(client.right, Pixels(design::kClientWidth, dpi));
  EXPECT_EQ(client.bottom, Pixels(design::kClientHeight, dpi));
  const RECT combo = RectInParent(form.Combo1());
  EXPECT_EQ(combo.left, Pixels(design::kCombo1.left, dpi));
  EXPECT_EQ(combo.right - combo.left, Pixels(design::kCombo1.width, dpi));
  EXPECT_EQ(form.Label1().Bounds().left, Pixels(design::kLabel1.left, dpi));
  const LOGFONTW after = FontOf(form.Combo1());
  EXPECT_EQ(after.lfHeight, 2 * before.lfHeight) << "the list's font follows the DPI";
  EXPECT_EQ(after.lfWeight, FW_BOLD);
}

HRESULT WINAPI MonitorAt168Dpi(HMONITOR, int, UINT* x, UINT* y) {
  *x = *y = 168;
  return S_OK;
}

// Under Wine the monitor's DPI is the system's, so a fault that took the one
// for the other would pass above: here the monitor says another.
TEST(Dpi, AsWindows81TheWindowTakesItsMonitorsDpiNotTheSystems) {
  const win32::Dpi dpis(win32::Dpi::Lookup::kMonitorOnly, MonitorAt168Dpi);
  EXPECT_EQ(dpis.ForWindow(GetDesktopWindow()), 168);
  EXPECT_EQ(win32::Dpi(win32::Dpi::Lookup::kOlderOnly).ForWindow(GetDesktopWindow()), TestDpi())
      << "as on Windows 7, the system's DPI";
}

// A picture that cannot be had leaves the window blank: that is told.
TEST(Trace, ABlankPictureIsReported) {
  const testing::TraceRecorder traced;
  main_window::BackgroundPicture picture;
  constexpr int kNoSuchPicture = 4242;
  EXPECT_FALSE(picture.Load(GetModuleHandleW(nullptr), kNoSuchPicture, {100, 50}));
  EXPECT_TRUE(picture.Load(GetModuleHandleW(nullptr), IDR_BACKGROUND_JPEG, {100, 50}));
  ASSERT_EQ(traced.Lines().size(), 1U) << "one failure, one trace";
  EXPECT_NE(traced.Lines().front().find("background_picture.cpp"), std::string::npos)
      << traced.Lines().front();
}

class Form1Test : public testing::FormFixture, public ::testing::Test {
 protected:
  Form1Test() : FormFixture(win32::Dpi::Lookup::kNewerWhereAvailable) {}
  void SetUp() override { ASSERT_TRUE(form.Show(SW_SHOWNORMAL)); }
};

TEST_F(Form1Test, TheHandCursorShowsOverTheLabelOnlyAndAClickReachesTheHandler) {
  const auto hand =
      static_cast<HCURSOR>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER),
                                      IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  const auto arrow = LoadCursorW(nullptr, IDC_ARROW);
  ASSERT_NE(hand, nullptr);
  // The resource: a monochrome cursor (an AND and an XOR mask, no colour)
  // with its hotspot on the fingertip, at (5, 0) of 32 x 32.
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(hand, &info));
  const win32::ScopedBitmap mask(info.hbmMask);
  const win32::ScopedBitmap colour(info.hbmColor);
  BITMAP masks{};
  GetObjectW(mask.get(), sizeof(masks), &masks);
  EXPECT_FALSE(colour);
  EXPECT_EQ(masks.bmHeight, 2 * masks.bmWidth);
  // Scaled with the cursor at higher DPIs, to the pixel.
  EXPECT_NEAR(info.xHotspot, 5.0 * masks.bmWidth / 32, 1.0);
  EXPECT_EQ(info.yHotspot, 0U);
  const RECT client = ClientRectOnScreen(form.Hwnd());
  const RECT& label = form.Label1().Bounds();
  const POINT over_label{client.left + (label.left + label.right) / 2,
                         client.top + (label.top + label.bottom) / 2};
  const POINT over_background{client.left + 4, client.bottom - 4};
  // The label is exactly its bounds: its last pixels are in, the next ones out.
  EXPECT_TRUE(form.Label1().HitTest({label.left, label.top}));
  EXPECT_TRUE(form.Label1().HitTest({label.right - 1, label.bottom - 1}));
  EXPECT_FALSE(form.Label1().HitTest({label.right, label.top}));
  EXPECT_FALSE(form.Label1().HitTest({label.left, label.bottom}));
  EXPECT_FALSE(form.Label1().HitTest({label.left - 1, label.top}));
  EXPECT_FALSE(form.Label1().HitTest({label.left, label.top - 1}));

  testing::MoveMouse(over_label);
  EXPECT_TRUE(WaitUntil([&] { return GetCursor() == hand; }, 3000));
  testing::MoveMouse(over_background);
  EXPECT_TRUE(WaitUntil([&] { return GetCursor() == arrow; }, 3000));

  testing::Click(over_label);
  EXPECT_TRUE(WaitUntil([&] { return label_clicks == 1; }, 3000));
  testing::Click(over_background);
  testing::Pause(500);
  EXPECT_EQ(label_clicks, 1) << "a click beside the label is not the label's";
}

// What counts as a pick, driven with the messages the list's field and its
// dropped-down list get from the keyboard and the mouse, as Wine's own
// combo box tests do.
TEST_F(Form1Test, KeysThatPutAnEntryInTheListAndClicksInTheDroppedListArePicks) {
  browser.AddBrowser(std::u16string(design::kHostileAddress));
  const std::u16string row1 = Request(design::kRow1Prefix);
  const std::u16string row2 = Request(design::kRow2Prefix);
  EXPECT_EQ(ListText(), design::kInitialText);

  Key(VK_DOWN);
  EXPECT_EQ(Requests(), std::vector<std::u16string>({row1}));
  EXPECT_EQ(shell.opened.front().owner, win32::ToHandle(form.Hwnd()));
  EXPECT_EQ(ListText(), design::kPrompt);
  Key(VK_DOWN);
  // After a request the list shows the prompt: a key on the last row, or on
  // the first, puts the entry back and picks it again; held, it picks once.
  Key(VK_DOWN);
  for (int repeat = 0; repeat < 20; ++repeat) Key(VK_DOWN, true);
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(Requests(), std::vector<std::u16string>({row1, row2, row2, row1, row1}));
  // A wheel notch on the closed list moves it on Windows (and in Wine's
  // combo box): no pick. Nor is Enter there.
  SendMessageW(form.Combo1(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  Key(VK_RETURN);
  EXPECT_EQ(shell.opened.size(), 5U) << "the wheel or Enter on the closed list picked";

  // A click in the dropped list picks, the entry already selected too.
  ClickInDroppedList(1);
  ClickInDroppedList(1);
  EXPECT_EQ(shell.opened.size(), 7U);
  EXPECT_EQ(Requests().back(), row2);
  // Moving in the dropped list is no pick; Enter there is.
  SendMessageW(form.Combo1(), CB_SHOWDROPDOWN, TRUE, 0);
  Key(VK_UP);
  EXPECT_EQ(shell.opened.size(), 7U) << "a move in the dropped list picked";
  Key(VK_RETURN);
  EXPECT_EQ(Requests().back(), row1);
  EXPECT_EQ(ListText(), design::kPrompt);
  // So are F4, Alt+Up and Alt+Down once the keys moved the highlight there
  // (two Downs reach the last entry from any row or none).
  for (const auto& [key, message] : {std::pair<WORD, UINT>{VK_F4, WM_KEYDOWN},
                                     {VK_UP, WM_SYSKEYDOWN},
                                     {VK_DOWN, WM_SYSKEYDOWN}}) {
    SendMessageW(form.Combo1(), CB_SHOWDROPDOWN, TRUE, 0);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(key, false, message);
  }
  EXPECT_EQ(shell.opened.size(), 11U) << "F4, Alt+Up or Alt+Down after a move picked nothing";
  EXPECT_EQ(Requests().back(), row2);
  // A move counts in its own drop only: F4 on the closed list drops it, and
  // F4 then closes it unmoved.
  SendMessageW(form.Combo1(), CB_SHOWDROPDOWN, TRUE, 0);
  Key(VK_UP);
  SendMessageW(form.Combo1(), CB_SHOWDROPDOWN, FALSE, 0);
  Key(VK_F4);
  Key(VK_F4);
  EXPECT_EQ(shell.opened.size(), 11U) << "F4 picked with no move since the list last dropped";

  // Typing an entry's text is no pick, nor is a key that then leaves it.
  const HWND edit = GetWindow(form.Combo1(), GW_CHILD);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  for (const char16_t c : design::kRow2) SendMessageW(edit, WM_CHAR, c, 1);
  Pump();
  Key(VK_DOWN);
  EXPECT_EQ(ListText(), design::kRow2);
  EXPECT_EQ(shell.opened.size(), 11U) << "typing an entry's text opened a request";

  // A pick that waited for the shell shows its entry while it is taken.
  std::vector<std::u16string> shown;
  shell.while_open = [&] {
    shown.push_back(ListText());
    if (shown.size() == 1) Key(VK_DOWN);
  };
  Key(VK_UP);
  EXPECT_EQ(shown, std::vector<std::u16string>(
                       {std::u16string(design::kRow1), std::u16string(design::kRow2)}));
}

TEST_F(Form1Test, APickThatOpensNothingKeepsTheEntryAndSaysWhyWithoutTakingTheFocus) {
  const HWND focus = GetFocus();
  Key(VK_DOWN);
  EXPECT_TRUE(shell.opened.empty());
  EXPECT_EQ(ListText(), design::kRow1);
  const HWND tip = form.Hint().Hwnd();
  ASSERT_NE(tip, nullptr) << "no hint";
  EXPECT_TRUE(IsWindowVisible(tip));
  wchar_t text[256] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = form.Hwnd();
  tool.uId = 1;
  tool.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::u16string(text, text + wcslen(text)), design::kHintNoBrowser);
  EXPECT_EQ(GetFocus(), focus) << "the hint took the focus";
  // Below the list, across its middle, never over it.
  RECT list{};
  GetWindowRect(form.Combo1(), &list);
  RECT balloon{};
  GetWindowRect(tip, &balloon);
  EXPECT_GE(balloon.top, list.bottom - 1) << "the hint covers the list";
  EXPECT_LT(balloon.left, (list.left + list.right) / 2);
  EXPECT_GT(balloon.right, (list.left + list.right) / 2);
  EXPECT_LE(balloon.right - balloon.left, list.right - list.left) << "wider than the list";
  // Whole, with the window at the screen's left edge.
  EXPECT_EQ(balloon.right - balloon.left,
            LOWORD(SendMessageW(tip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool))))
      << "the hint is cut";
  // It stays with its window: moved, the window takes it away.
  SetWindowPos(form.Hwnd(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_FALSE(IsWindowVisible(tip)) << "the hint stayed behind when its window moved";
  Key(VK_DOWN);
  ASSERT_TRUE(IsWindowVisible(tip));

  // A pick that opens hides it.
  browser.AddBrowser(u"http://a.example/");
  Key(VK_UP);
  EXPECT_EQ(shell.opened.size(), 1U);
  EXPECT_FALSE(IsWindowVisible(tip));
  // Where the shell could not open it, the list keeps the pick; the shell
  // has said why itself.
  shell.succeeds = false;
  Key(VK_DOWN);
  EXPECT_EQ(ListText(), design::kRow2);
  EXPECT_FALSE(IsWindowVisible(tip));
}

// Counts the tooltips this thread shows.
int& TipsShown() {
  static int shown = 0;
  return shown;
}
LRESULT CALLBACK CountTipShows(int code, WPARAM wparam, LPARAM lparam) {
  const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lparam);
  wchar_t name[32] = {};
  if (sent.message == WM_WINDOWPOSCHANGED &&
      (reinterpret_cast<const WINDOWPOS*>(sent.lParam)->flags & SWP_SHOWWINDOW) != 0 &&
      GetClassNameW(sent.hwnd, name, 32) > 0 && lstrcmpiW(name, TOOLTIPS_CLASSW) == 0) {
    ++TipsShown();
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// The hint keeps to its window: gone once another window is in front, off
// the list where the screen ends below it, shown there once, in the
// window's DPI.
TEST_F(Form1Test, TheHintKeepsToItsWindowAndOffTheList) {
  const auto rect = [](HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return bounds;
  };
  SetForegroundWindow(form.Hwnd());
  Key(VK_DOWN);  // no browser: a hint below the list
  ASSERT_TRUE(IsWindowVisible(form.Hint().Hwnd()));
  const LOGFONTW font = FontOf(form.Hint().Hwnd());
  const RECT balloon = rect(form.Hint().Hwnd());
  const HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPED | WS_VISIBLE,
                                     300, 300, 200, 100, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  EXPECT_FALSE(IsWindowVisible(form.Hint().Hwnd())) << "the hint stayed over another window";
  DestroyWindow(other);

  // The screen ends less than a list's height short of the room the balloon
  // needs below the list; the hint is made anew (a DPI change remakes it).
  const int dpi = TestDpi();
  RECT frame = rect(form.Hwnd());
  SendMessageW(form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(form.Hwnd(), MONITOR_DEFAULTTONEAREST), &monitor);
  RECT list = rect(form.Combo1());
  SetWindowPos(form.Hwnd(), nullptr, frame.left,
               frame.top + monitor.rcWork.bottom - (balloon.bottom - balloon.top) +
                   (list.bottom - list.top) / 2 - list.bottom,
               0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  TipsShown() = 0;
  const HHOOK hook =
      SetWindowsHookExW(WH_CALLWNDPROC, CountTipShows, nullptr, GetCurrentThreadId());
  Key(VK_DOWN);
  UnhookWindowsHookEx(hook);
  ASSERT_TRUE(IsWindowVisible(form.Hint().Hwnd()));
  EXPECT_EQ(TipsShown(), 1) << "the hint was shown before it found its place";
  list = rect(form.Combo1());
  const RECT above = rect(form.Hint().Hwnd());
  EXPECT_LE(above.bottom, list.top) << "the hint covers the list";
  EXPECT_LT(above.left, (list.left + list.right) / 2);
  EXPECT_GT(above.right, (list.left + list.right) / 2);

  // At twice the DPI, text twice the size.
  RECT suggested{0, 0, 800, 300};
  SendMessageW(form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi),
               reinterpret_cast<LPARAM>(&suggested));
  Key(VK_UP);
  ASSERT_TRUE(IsWindowVisible(form.Hint().Hwnd()));
  EXPECT_NEAR(FontOf(form.Hint().Hwnd()).lfHeight, 2 * font.lfHeight, 1)
      << "the hint's text is not made for the window's DPI";
}

// The same loop can close the window: what waits goes with it.
TEST_F(Form1Test, ClosedWhileTheShellIsBusyNothingMoreIsPicked) {
  browser.AddBrowser(std::u16string(design::kHostileAddress));
  shell.while_open = [this] {
    Key(VK_DOWN);  // waits behind the one with the shell
    SendMessageW(form.Hwnd(), WM_CLOSE, 0, 0);
  };
  Key(VK_DOWN);
  EXPECT_EQ(Requests(), std::vector<std::u16string>({Request(design::kRow1Prefix)}));
  EXPECT_EQ(form.Hwnd(), nullptr);
  EXPECT_EQ(form.Hint().Hwnd(), nullptr) << "a hint was made for a window that is gone";
  EXPECT_EQ(open_windows.Count(), 0);
}

// The hint goes by itself, after the time it is given.
class ShortHint : public testing::FormFixture, public ::testing::Test {
 protected:
  ShortHint()
      : FormFixture(win32::Dpi::Lookup::kNewerWhereAvailable, win32::Contrast::Source::kSystem,
                    300) {}
};

TEST_F(ShortHint, TheHintGoesAwayByItself) {
  ASSERT_TRUE(form.Show(SW_SHOWNORMAL));
  Key(VK_DOWN);
  ASSERT_TRUE(form.Hint().Visible());
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(form.Hint().Hwnd()); }, 300 + 2000));
}

}  // namespace
}  // namespace corvane
