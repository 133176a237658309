#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace corvane::bench {

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

inline double NowMicroseconds() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1e6 / frequency;
}

// One comparison line: both medians, their ratio and the target it is held to.
inline void Report(const char* what, const char* unit, double ours, double floor, double target) {
  const double ratio = floor > 0 ? ours / floor : 0;
  std::printf("%-34s Corvane %10.1f %s  floor %10.1f %s  ratio %.3f  target <= %.2f  %s\n", what,
              ours, unit, floor, unit, ratio, target, ratio <= target ? "met" : "MISSED");
}

}  // namespace corvane::bench
