#include <gtest/gtest.h>

#include "main_window/hint_placement.h"

namespace corvane::main_window {
namespace {

// The list at 100..277 x 400..422 on a work area that ends at `bottom`.
TEST(HintAnchor, BelowTheListWhereTheBalloonFitsElseAtItsTop) {
  constexpr ScreenRect kList{100, 400, 277, 422};
  const struct {
    int work_bottom;
    int x, y;
  } rows[] = {{768, 188, 422}, {472, 188, 422}, {471, 188, 400}, {430, 188, 400}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.work_bottom);
    const ScreenPoint at = HintAnchor(kList, 50, {0, 0, 1024, row.work_bottom});
    EXPECT_EQ(at.x, row.x);
    EXPECT_EQ(at.y, row.y);
  }
}

}  // namespace
}  // namespace corvane::main_window
