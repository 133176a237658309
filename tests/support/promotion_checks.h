#pragma once

#include <windows.h>

namespace corvane::testing {

// A promotion window as its load leaves it at the run's DPI: its outer size
// and its browser control's (at the client area's top-left), centred on the
// screen.
void ExpectPromotionWindowLoaded(HWND window, HWND control);

}  // namespace corvane::testing
