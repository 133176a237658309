#pragma once

#include <windows.h>

#include <gtest/gtest.h>

namespace corvane::testing {

// Whether a promotion window is as its load leaves it at the run's DPI: its
// outer size and its browser control's (at the client area's top-left),
// centred on the screen. A failure says what differed.
::testing::AssertionResult PromotionWindowLoaded(HWND window, HWND control);

}  // namespace corvane::testing
