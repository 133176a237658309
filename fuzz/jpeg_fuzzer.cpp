// The picture decoder over arbitrary bytes: it never reads or writes out of
// bounds, and what it returns is as large as it says and no larger than asked.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "picture/jpeg_top_rows.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr int kWidth = 70;
  constexpr int kHeight = 40;
  const corvane::picture::Pixels32 decoded =
      corvane::picture::DecodeJpegTopLeft({data, size}, kWidth, kHeight);
  if (decoded.empty()) return 0;
  if (decoded.width <= 0 || decoded.width > kWidth || decoded.height <= 0 ||
      decoded.height > kHeight ||
      decoded.pixels.size() != static_cast<std::size_t>(decoded.width) * decoded.height) {
    std::abort();
  }
  return 0;
}
