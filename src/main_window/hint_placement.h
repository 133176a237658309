#pragma once

// Where the hint beside the list points, worked out without the window
// system so it can be checked anywhere. Screen pixels.

namespace corvane::main_window {

struct ScreenRect {
  int left, top, right, bottom;
};
struct ScreenPoint {
  int x, y;
};

// A balloon tooltip centred on its tracking point opens below it, and above
// it when there is no room below ("How to Implement Balloon Tooltips",
// TTF_CENTERTIP). So it points at the list's bottom edge where the balloon
// fits beneath it on the monitor's work area, and at the top edge where it
// does not: either way it never covers the list.
constexpr ScreenPoint HintAnchor(ScreenRect list, int balloon_height, ScreenRect work_area) {
  const int centre = list.left + (list.right - list.left) / 2;
  if (list.bottom + balloon_height <= work_area.bottom) return {centre, list.bottom};
  return {centre, list.top};
}

}  // namespace corvane::main_window
