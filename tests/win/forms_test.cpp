// Both windows in this process, at the desktop's DPI (CORVANE_TEST_DPI says
// which one the run expects), driven with real cursor moves.

#include <windows.h>

#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "fakes/fake_shell.h"
#include "main_window/form1.h"
#include "platform/twips.h"
#include "promotion/promotion.h"
#include "resource_ids.h"
#include "support/win_test_support.h"

namespace corvane {
namespace {

using platform::TwipsToPixels;
using testing::TestDpi;
using testing::WaitUntil;

RECT ClientRectOnScreen(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT RectInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Each case runs with the newer DPI calls where the system has them, and as
// on Windows 7, with the older calls only.
class Form1Test : public ::testing::TestWithParam<win32::Dpi::Lookup> {
 protected:
  void SetUp() override { ASSERT_TRUE(form.Show(SW_SHOWNORMAL)); }

  win32::OpenWindows open_windows;
  const win32::Dpi dpis{GetParam()};
  testing::FakeShell shell;
  int label_clicks = 0;
  main_window::Form1 form{GetModuleHandleW(nullptr), open_windows, dpis, shell,
                          [this] { ++label_clicks; }};
};

INSTANTIATE_TEST_SUITE_P(DpiCalls, Form1Test,
                         ::testing::Values(win32::Dpi::Lookup::kNewerWhereAvailable,
                                           win32::Dpi::Lookup::kOlderOnly),
                         [](const ::testing::TestParamInfo<win32::Dpi::Lookup>& param) {
                           return param.param == win32::Dpi::Lookup::kOlderOnly ? "Older" : "Newer";
                         });

TEST_P(Form1Test, GeometryFollowsTheDesktopDpi) {
  const int dpi = TestDpi();
  ASSERT_EQ(win32::Dpi().ForWindow(form.Hwnd()), dpi) << "the desktop is not at the run's DPI";
  RECT client{};
  GetClientRect(form.Hwnd(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(3630, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(1095, dpi));
  RECT frame{};
  GetWindowRect(form.Hwnd(), &frame);
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.top, 0);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(form.Hwnd(), GWL_STYLE));
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0U) << "the frame must not be resizable";

  const RECT combo = RectInParent(form.Combo1());
  EXPECT_EQ(combo.left, TwipsToPixels(480, dpi));
  EXPECT_EQ(combo.top, TwipsToPixels(240, dpi));
  EXPECT_EQ(combo.right - combo.left, TwipsToPixels(2655, dpi));

  const RECT& label = form.Label1().Bounds();
  EXPECT_EQ(label.left, TwipsToPixels(1800, dpi));
  EXPECT_EQ(label.top, TwipsToPixels(840, dpi));
  EXPECT_GT(label.right - label.left, 0);
  EXPECT_GT(label.bottom - label.top, 0);
  EXPECT_LE(label.bottom, client.bottom) << "the label fits the window";
}

TEST_P(Form1Test, ADpiChangeRescalesTheWindowItsControlsAndFonts) {
  const int dpi = TestDpi() * 2;
  LOGFONTW before{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.Combo1(), WM_GETFONT, 0, 0)), sizeof(before),
             &before);
  RECT suggested{0, 0, 800, 300};
  SendMessageW(form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&suggested));
  RECT client{};
  GetClientRect(form.Hwnd(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(3630, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(1095, dpi));
  const RECT combo = RectInParent(form.Combo1());
  EXPECT_EQ(combo.left, TwipsToPixels(480, dpi));
  EXPECT_EQ(combo.right - combo.left, TwipsToPixels(2655, dpi));
  EXPECT_EQ(form.Label1().Bounds().left, TwipsToPixels(1800, dpi));
  LOGFONTW after{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.Combo1(), WM_GETFONT, 0, 0)), sizeof(after),
             &after);
  EXPECT_EQ(after.lfHeight, 2 * before.lfHeight) << "the list's font follows the DPI";
  EXPECT_EQ(after.lfWeight, FW_BOLD);
}

TEST_P(Form1Test, TheHandCursorShowsOverTheLabelOnlyAndAClickReachesTheHandler) {
  const auto hand =
      static_cast<HCURSOR>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER),
                                      IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  const auto arrow = LoadCursorW(nullptr, IDC_ARROW);
  ASSERT_NE(hand, nullptr);
  const RECT client = ClientRectOnScreen(form.Hwnd());
  const RECT& label = form.Label1().Bounds();
  const POINT over_label{client.left + (label.left + label.right) / 2,
                         client.top + (label.top + label.bottom) / 2};
  const POINT over_background{client.left + 4, client.bottom - 4};

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

TEST_P(Form1Test, APickOpensItsRequest) {
  const testing::BrowserFixture browser(u"http://a.example/?q=1");
  ASSERT_TRUE(browser.Ready());
  SetForegroundWindow(form.Hwnd());
  ASSERT_TRUE(WaitUntil([&] { return GetFocus() == GetWindow(form.Combo1(), GW_CHILD); }, 3000));
  testing::PressKey(VK_DOWN);
  ASSERT_TRUE(WaitUntil([&] { return !shell.opened.empty(); }, 5000));
  EXPECT_EQ(shell.opened[0].address,
            u"https://translate.google.com/translate?hl=zh-CN&sl=auto&tl=zh-CN&u="
            u"http%3A%2F%2Fa.example%2F%3Fq%3D1");
  EXPECT_EQ(form.ListText(), u"请选择");
}

// Records the messages that reach it once its destruction has begun.
class LifetimeProbe final : public win32::BaseWindow<LifetimeProbe> {
 public:
  static constexpr const wchar_t* kClassName = L"CorvaneLifetimeProbe";
  struct Log {
    bool destroying = false;
    std::vector<UINT> late;
  };

  LifetimeProbe(win32::OpenWindows& open_windows, Log& log) : BaseWindow(open_windows), log_(log) {}
  LifetimeProbe(const LifetimeProbe&) = delete;
  LifetimeProbe& operator=(const LifetimeProbe&) = delete;
  LifetimeProbe(LifetimeProbe&&) = delete;
  LifetimeProbe& operator=(LifetimeProbe&&) = delete;
  ~LifetimeProbe() { log_.destroying = true; }

  bool Open() {
    return Create(GetModuleHandleW(nullptr), IDI_CORVANE, 0, L"probe", WS_OVERLAPPEDWINDOW, 0, 0,
                  100, 100);
  }
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (log_.destroying) log_.late.push_back(message);
    return DefWindowProcW(Hwnd(), message, wparam, lparam);
  }

 private:
  Log& log_;
};

TEST(BaseWindow, AnObjectDestroyedWhileItsWindowIsOpenGetsNoMessageAfterwards) {
  win32::OpenWindows open_windows;
  LifetimeProbe::Log log;
  HWND window = nullptr;
  {
    LifetimeProbe probe(open_windows, log);
    ASSERT_TRUE(probe.Open());
    window = probe.Hwnd();
    EXPECT_EQ(open_windows.Count(), 1);
  }
  EXPECT_TRUE(log.late.empty()) << log.late.size()
                                << " messages reached the object after its destruction began, "
                                   "the first 0x"
                                << std::hex << (log.late.empty() ? 0 : log.late.front());
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(open_windows.Count(), 0);
}

std::wstring LocationUrl(const promotion::Form2& form) {
  IWebBrowser2* browser = form.WebBrowser1().Browser();
  if (browser == nullptr) return L"(no browser control)";
  BSTR url = nullptr;
  if (FAILED(browser->get_LocationURL(&url))) return L"";
  const win32::ScopedBstr owned(url);
  return owned ? std::wstring(url, SysStringLen(url)) : L"";
}

int CountPromotionWindows() {
  int count = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM counter) {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (std::wstring_view(name) == promotion::Form2::kClassName && IsWindowVisible(window)) {
          ++*reinterpret_cast<int*>(counter);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST(Promotion, OneWindowLoadedOnFirstShowAndAgainAfterClose) {
  win32::OpenWindows open_windows;
  const win32::Dpi dpis;
  promotion::Promotion promotion(GetModuleHandleW(nullptr), open_windows, dpis);
  EXPECT_EQ(promotion.Window(), nullptr) << "nothing is made before the first click";

  promotion.Label1_Click();
  promotion::Form2* form = promotion.Window();
  ASSERT_NE(form, nullptr);
  const HWND first = form->Hwnd();
  const HWND first_control = form->WebBrowser1().Hwnd();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(first_control, nullptr) << "the browser control was not created";
  EXPECT_TRUE(WaitUntil([&] { return LocationUrl(*form) == promotion::kPromotionPage; }, 5000))
      << testing::Utf8(LocationUrl(*form));
  wchar_t caption[200] = {};
  GetWindowTextW(first, caption, 200);
  EXPECT_EQ(std::wstring(caption),
            L"Tavlo网络广告 - 通过软件加载的网络广告 - 广告投放:ads@tavlo.example");

  promotion.Label1_Click();
  EXPECT_EQ(promotion.Window(), form);
  EXPECT_EQ(form->Hwnd(), first) << "shown again, not loaded again";
  EXPECT_EQ(form->WebBrowser1().Hwnd(), first_control);
  EXPECT_EQ(CountPromotionWindows(), 1);
  EXPECT_EQ(open_windows.Count(), 1);

  SendMessageW(first, WM_CLOSE, 0, 0);
  EXPECT_EQ(form->Hwnd(), nullptr);
  EXPECT_EQ(open_windows.Count(), 0);
  EXPECT_EQ(promotion.Window(), form) << "closing unloads the window and keeps the object";

  promotion.Label1_Click();
  ASSERT_NE(form->Hwnd(), nullptr);
  EXPECT_TRUE(IsWindowVisible(form->Hwnd()));
  EXPECT_NE(form->WebBrowser1().Hwnd(), nullptr);
  EXPECT_TRUE(WaitUntil([&] { return LocationUrl(*form) == promotion::kPromotionPage; }, 5000));
  EXPECT_EQ(CountPromotionWindows(), 1);
  SendMessageW(form->Hwnd(), WM_CLOSE, 0, 0);
}

TEST(Promotion, SizedAtLoadCentredAndTheControlKeepsItsSize) {
  const int dpi = TestDpi();
  win32::OpenWindows open_windows;
  const win32::Dpi dpis;
  promotion::Promotion promotion(GetModuleHandleW(nullptr), open_windows, dpis);
  promotion.Label1_Click();
  const HWND window = promotion.Window()->Hwnd();
  const HWND control = promotion.Window()->WebBrowser1().Hwnd();
  ASSERT_NE(control, nullptr);
  testing::ExpectPromotionWindowLoaded(window, control);
  const int width = TwipsToPixels(9090, dpi);
  const int height = TwipsToPixels(5710, dpi);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  EXPECT_NE(style & WS_THICKFRAME, 0U) << "the promotion window is sizable";

  SetWindowPos(window, nullptr, 0, 0, width + 200, height + 100, SWP_NOMOVE | SWP_NOZORDER);
  const RECT inner = RectInParent(control);
  EXPECT_EQ(inner.right, width) << "resizing the window leaves the control as it was";
  EXPECT_EQ(inner.bottom, height);
  SendMessageW(window, WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace corvane
