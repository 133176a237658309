#include "platform/twips.h"

#include <gtest/gtest.h>

namespace corvane::platform {
namespace {

TEST(TwipsToPixels, MatchesTheWindowSizesAtCommonScalings) {
  EXPECT_EQ(TwipsToPixels(3630, 96), 242);
  EXPECT_EQ(TwipsToPixels(1095, 96), 73);
  EXPECT_EQ(TwipsToPixels(9090, 96), 606);
  EXPECT_EQ(TwipsToPixels(5710, 96), 381);
  EXPECT_EQ(TwipsToPixels(3630, 144), 363);
  EXPECT_EQ(TwipsToPixels(1095, 144), 110) << "109.5 rounds away from zero";
  EXPECT_EQ(TwipsToPixels(1095, 120), 91);
  EXPECT_EQ(TwipsToPixels(3630, 192), 484);
  EXPECT_EQ(TwipsToPixels(-15, 96), -1);
  EXPECT_EQ(PointsToPixels(9, 96), 12);
  EXPECT_EQ(PointsToPixels(9, 144), 18);
}

}  // namespace
}  // namespace corvane::platform
