// The promotion window of the real Corvane.exe, opened with real clicks on
// the main window's label.

#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/corvane_app.h"
#include "support/design.h"
#include "support/promotion_checks.h"

namespace corvane::testing {
namespace {

constexpr wchar_t kForm2[] = L"CorvaneForm2";

void ClickLabel(const CorvaneApp& app) { Click(app.OnLabel1()); }

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

// The browser control's container.
HWND Control(HWND window) { return FindWindowExW(window, nullptr, L"AtlAxWin", nullptr); }

::testing::AssertionResult LoadedAndCentred(HWND window) {
  if (FindWindowExW(Control(window), nullptr, L"Shell Embedding", nullptr) == nullptr) {
    return ::testing::AssertionFailure() << "no WebBrowser control in the container";
  }
  return PromotionWindowLoaded(window, Control(window));
}

TEST(Promotion, TheLabelOpensOneWindowAndReopensItAfterClose) {
  const CorvaneApp app;
  ASSERT_TRUE(app.Started());
  app.Activate();
  ClickLabel(app);
  const HWND first = WaitForPromotion(app);
  ASSERT_NE(first, nullptr) << "no promotion window after a click on the label";
  EXPECT_EQ(Utf8(WindowText(first)), Utf8(design::kPromotionCaption));
  EXPECT_TRUE(LoadedAndCentred(first));
  // Moved away, so that a reload would show by its position.
  SetWindowPos(first, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  app.Activate();
  ClickLabel(app);
  Pause(1000);
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
  EXPECT_TRUE(LoadedAndCentred(again));
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
