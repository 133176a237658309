#pragma once

// Where the hint beside the list goes, worked out without the window system
// so it can be checked anywhere. Screen pixels.

namespace corvane::main_window {

struct ScreenRect {
  int left, top, right, bottom;
};
struct ScreenPoint {
  int x, y;
};

// Below the list where a balloon `balloon_height` high fits beneath it on
// the monitor's work area: centred on the list's bottom edge, its stem
// pointing up at it (TTF_CENTERTIP: "the stem normally points to the center
// of the lower edge of the tool's rectangle").
constexpr bool HintFitsBelow(ScreenRect list, int balloon_height, ScreenRect work_area) {
  return list.bottom + balloon_height <= work_area.bottom;
}
constexpr ScreenPoint HintBelow(ScreenRect list) {
  return {list.left + (list.right - list.left) / 2, list.bottom};
}

// Else the top-left corner of a hint `width` x `height` that sits right
// above the list, centred on it and kept on the work area. Placed there by
// us: a balloon left to choose its side by its own rule lands on the list
// when the screen ends less than a list's height below the room it needs.
constexpr ScreenPoint HintAbove(ScreenRect list, int width, int height, ScreenRect work_area) {
  int left = list.left + (list.right - list.left - width) / 2;
  if (left + width > work_area.right) left = work_area.right - width;
  if (left < work_area.left) left = work_area.left;
  return {left, list.top - height};
}

}  // namespace corvane::main_window
