#pragma once

namespace corvane::platform {

inline constexpr int kTwipsPerInch = 1440;

// Twips to device pixels at `dpi`, rounded half away from zero like MulDiv:
// 3630 twips are 242 px at 96 DPI and 363 px at 144 DPI.
constexpr int TwipsToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  const long long half = kTwipsPerInch / 2;
  return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                      : (scaled - half) / kTwipsPerInch);
}

// Points (1/72 inch) to pixels at `dpi`, for font heights.
constexpr int PointsToPixels(int points, int dpi) { return TwipsToPixels(points * 20, dpi); }

}  // namespace corvane::platform
