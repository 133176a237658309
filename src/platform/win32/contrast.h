#pragma once

#include <windows.h>

namespace corvane::win32 {

// Whether the user has a high-contrast theme on, where a window draws in the
// system's colours only ("High contrast themes"). Tests stand in for the
// theme with kAlwaysHigh, as they stand in for older Windows' DPI calls.
class Contrast {
 public:
  enum class Source { kSystem, kAlwaysHigh };

  explicit Contrast(Source source = Source::kSystem) : source_(source) {}

  bool High() const {
    if (source_ == Source::kAlwaysHigh) return true;
    HIGHCONTRASTW settings{};
    settings.cbSize = sizeof(settings);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(settings), &settings, 0) != FALSE &&
           (settings.dwFlags & HCF_HIGHCONTRASTON) != 0;
  }

 private:
  Source source_;
};

}  // namespace corvane::win32
