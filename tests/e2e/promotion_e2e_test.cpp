// The promotion window of the real Corvane.exe, opened with real clicks on
// the main window's label.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "e2e/corvane_app.h"
#include "platform/twips.h"

namespace corvane::testing {
namespace {

using platform::TwipsToPixels;

constexpr wchar_t kForm2[] = L"CorvaneForm2";

void ClickLabel(const CorvaneApp& app) {
  const int dpi = TestDpi();
  Click(ClientToScreenPoint(app.Main(), {TwipsToPixels(1800, dpi) + TwipsToPixels(300, dpi),
                                         TwipsToPixels(840, dpi) + TwipsToPixels(90, dpi)}));
}

HWND WaitForPromotion(const CorvaneApp& app) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        const auto windows = app.Windows(kForm2);
        found = windows.size() == 1 ? windows.front() : nullptr;
        return found != nullptr;
      },
      10000);
  return found;
}

void ExpectLoadedAndCentred(HWND window) {
  const int dpi = TestDpi();
  const int width = TwipsToPixels(9090, dpi);
  const int height = TwipsToPixels(5710, dpi);
  RECT frame{};
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.right - frame.left, width);
  EXPECT_EQ(frame.bottom - frame.top, height);
  const int screen_width = GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(frame.left, (screen_width - width) / 2);
  EXPECT_EQ(frame.top, (screen_height - height) / 2);
  // The browser control's container sits at the top-left at the load size.
  HWND control = FindWindowExW(window, nullptr, L"AtlAxWin", nullptr);
  ASSERT_NE(control, nullptr);
  EXPECT_NE(FindWindowExW(control, nullptr, L"Shell Embedding", nullptr), nullptr)
      << "no WebBrowser control in the container";
  RECT inner{};
  GetWindowRect(control, &inner);
  EXPECT_EQ(inner.right - inner.left, width);
  EXPECT_EQ(inner.bottom - inner.top, height);
}

TEST(Promotion, TheLabelOpensOneWindowAndReopensItAfterClose) {
  const CorvaneApp app;
  ASSERT_TRUE(app.Started());
  app.Activate();
  ClickLabel(app);
  const HWND first = WaitForPromotion(app);
  ASSERT_NE(first, nullptr) << "no promotion window after a click on the label";
  EXPECT_EQ(WindowText(first),
            L"Tavlo网络广告 - 通过软件加载的网络广告 - 广告投放:ads@tavlo.example");
  ExpectLoadedAndCentred(first);
  // Moved away, so that a reload would show by its position.
  SetWindowPos(first, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  app.Activate();
  ClickLabel(app);
  WaitUntil([] { return false; }, 1000);
  const auto windows = app.Windows(kForm2);
  ASSERT_EQ(windows.size(), 1U) << "a second click made a second window";
  EXPECT_EQ(windows.front(), first);
  RECT frame{};
  GetWindowRect(first, &frame);
  EXPECT_EQ(frame.left, 10) << "the open window was loaded again";

  PostMessageW(first, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return app.Windows(kForm2).empty(); }, 5000));
  EXPECT_TRUE(app.Process().Running());
  app.Activate();
  ClickLabel(app);
  const HWND again = WaitForPromotion(app);
  ASSERT_NE(again, nullptr) << "the label did not open the window again";
  ExpectLoadedAndCentred(again);
}

TEST(Promotion, TheToolRunsUntilItsLastWindowCloses) {
  const CorvaneApp app;
  ASSERT_TRUE(app.Started());
  app.Activate();
  ClickLabel(app);
  const HWND promotion = WaitForPromotion(app);
  ASSERT_NE(promotion, nullptr);

  PostMessageW(app.Main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return app.Windows(L"CorvaneForm1").empty(); }, 5000));
  EXPECT_FALSE(app.Process().WaitForExit(1500)) << "the tool ended with the promotion window open";

  PostMessageW(promotion, WM_CLOSE, 0, 0);
  EXPECT_TRUE(app.Process().WaitForExit(10000)) << "the tool kept running with no window open";
}

}  // namespace
}  // namespace corvane::testing
