#include "support/promotion_checks.h"

#include "support/design.h"
#include "support/environment.h"

namespace corvane::testing {

namespace {

::testing::AssertionResult Is(const char* what, long got, long expected) {
  if (got == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << what << " is " << got << ", not " << expected;
}

}  // namespace

::testing::AssertionResult PromotionWindowLoaded(HWND window, HWND control) {
  const int dpi = TestDpi();
  const int width = design::Pixels(design::kPromotionWidth, dpi);
  const int height = design::Pixels(design::kPromotionHeight, dpi);
  RECT frame{};
  GetWindowRect(window, &frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  if (control == nullptr) return ::testing::AssertionFailure() << "no browser control";
  RECT inner{};
  GetWindowRect(control, &inner);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&inner), 2);
  for (const auto& result :
       {Is("the window's width", frame.right - frame.left, width),
        Is("the window's height", frame.bottom - frame.top, height),
        Is("the window's left", frame.left,
           (monitor.rcMonitor.right - monitor.rcMonitor.left - width) / 2),
        Is("the window's top", frame.top,
           (monitor.rcMonitor.bottom - monitor.rcMonitor.top - height) / 2),
        Is("the control's left", inner.left, 0), Is("the control's top", inner.top, 0),
        Is("the control's right", inner.right, width),
        Is("the control's bottom", inner.bottom, height)}) {
    if (!result) return result;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace corvane::testing
