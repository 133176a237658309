#include "support/promotion_checks.h"

#include <gtest/gtest.h>

#include "platform/twips.h"
#include "support/design.h"
#include "support/environment.h"

namespace corvane::testing {

void ExpectPromotionWindowLoaded(HWND window, HWND control) {
  const int dpi = TestDpi();
  const int width = design::Pixels(design::kPromotionWidth, dpi);
  const int height = design::Pixels(design::kPromotionHeight, dpi);
  RECT frame{};
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.right - frame.left, width);
  EXPECT_EQ(frame.bottom - frame.top, height);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  EXPECT_EQ(frame.left, (monitor.rcMonitor.right - monitor.rcMonitor.left - width) / 2);
  EXPECT_EQ(frame.top, (monitor.rcMonitor.bottom - monitor.rcMonitor.top - height) / 2);
  ASSERT_NE(control, nullptr) << "no browser control";
  RECT inner{};
  GetWindowRect(control, &inner);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&inner), 2);
  EXPECT_EQ(inner.left, 0);
  EXPECT_EQ(inner.top, 0);
  EXPECT_EQ(inner.right, width);
  EXPECT_EQ(inner.bottom, height);
}

}  // namespace corvane::testing
