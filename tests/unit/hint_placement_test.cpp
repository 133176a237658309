#include <gtest/gtest.h>

#include "main_window/hint_placement.h"

namespace corvane::main_window {
namespace {

// The list at 100..277 x 400..422, a balloon 50 high and a plain tip 177 x
// 40, on a work area 0..1024 wide that ends at `bottom`: below the list while
// the balloon fits there, else right above it, on the work area.
TEST(HintPlacement, BelowTheListWhereTheBalloonFitsElseRightAboveIt) {
  constexpr ScreenRect kList{100, 400, 277, 422};
  const struct {
    ScreenRect list;
    int work_bottom;
    bool below;
    int x, y;
  } rows[] = {
      {kList, 768, true, 188, 422},
      {kList, 472, true, 188, 422},
      // Less than a list's height short of room below: a balloon left to
      // itself at the list's top edge would open downwards, over the list.
      {kList, 471, false, 100, 360},
      {kList, 430, false, 100, 360},
      // At the screen's left and right edges, kept whole on the work area.
      {{-20, 400, 60, 422}, 430, false, 0, 360},
      {{950, 400, 1127, 422}, 430, false, 847, 360},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.list.left << ", bottom " << row.work_bottom);
    const ScreenRect work{0, 0, 1024, row.work_bottom};
    ASSERT_EQ(HintFitsBelow(row.list, 50, work), row.below);
    const ScreenPoint at = row.below ? HintBelow(row.list) : HintAbove(row.list, 177, 40, work);
    EXPECT_EQ(at.x, row.x);
    EXPECT_EQ(at.y, row.y);
  }
}

}  // namespace
}  // namespace corvane::main_window
