#pragma once

// The background picture's top-left corner, decoded without Windows: only
// the rows the window shows are decoded, so start-up does not wait for the
// whole picture or load an imaging library for it. Baseline JPEG (Huffman,
// 8-bit, one interleaved scan, YCbCr or grey, sampling up to 2 x 2).

#include <cstdint>
#include <span>
#include <vector>

namespace corvane::picture {

struct Pixels32 {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first

  bool empty() const { return pixels.empty(); }
};

// The top-left `width` x `height` of the picture in `jpeg`, cut to the
// picture's own size. Empty when the data is not a JPEG of the kind above,
// or is damaged where it is needed.
Pixels32 DecodeJpegTopLeft(std::span<const std::uint8_t> jpeg, int width, int height);

}  // namespace corvane::picture
