#include "main_window/jpeg_top_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <algorithm>
#include <vector>

namespace corvane::main_window {
namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

const std::string kPicture = CORVANE_SOURCE_DIR "/resources/beach.jpg";

// The largest difference in any channel between the top-left `width` x
// `height` of the JPEG at `path` as decoded here and the binary PPM at
// `reference` (ImageMagick's decoding of it); -1 where there is nothing to compare.
int WorstDifference(const std::string& path, const std::string& reference, int width, int height) {
  const Pixels32 decoded = DecodeJpegTopLeft(ReadFile(path), width, height);
  std::ifstream file(reference, std::ios::binary);
  std::string magic;
  int reference_width = 0, reference_height = 0, maximum = 0;
  file >> magic >> reference_width >> reference_height >> maximum;
  file.get();
  if (magic != "P6" || decoded.width != std::min(width, reference_width) ||
      decoded.height != std::min(height, reference_height)) {
    return -1;
  }
  std::vector<unsigned char> rgb(static_cast<std::size_t>(reference_width) * reference_height * 3);
  file.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
  int worst = 0;
  for (int y = 0; y < decoded.height; ++y) {
    for (int x = 0; x < decoded.width; ++x) {
      const std::uint32_t ours = decoded.pixels[static_cast<std::size_t>(y) * decoded.width + x];
      const unsigned char* theirs = &rgb[(static_cast<std::size_t>(y) * reference_width + x) * 3];
      for (int channel = 0; channel < 3; ++channel) {
        const int mine = static_cast<int>((ours >> (16 - 8 * channel)) & 0xFF);
        worst = std::max(worst, std::abs(mine - theirs[channel]));
      }
    }
  }
  return worst;
}

// ImageMagick's decoding of `path` (its top-left 640 x 320), written as a binary PPM.
std::string Reference(const std::string& path) {
  const std::string out = ::testing::TempDir() + "reference.ppm";
  const std::string command = "convert '" + path + "' -crop 640x320+0+0 +repage -depth 8 " +
                              "-colorspace sRGB -type TrueColor '" + out + "'";
  // The test's own tool, run on a path it made.
  return std::system(command.c_str()) == 0 ? out : std::string();  // NOLINT(cert-env33-c)
}

// Two decoders round a little differently; 4 in a channel is the most allowed.
TEST(DecodeJpegTopLeft, TheRowsShownMatchAnotherDecoder) {
  // More rows than the window shows at 192 DPI. Under Wine the test command
  // has written the reference.
  const char* made = std::getenv("CORVANE_PICTURE_REFERENCE");
  EXPECT_LE(WorstDifference(kPicture, made != nullptr ? made : Reference(kPicture), 640, 150), 4);
#ifndef _WIN32
  // Grey, 4:2:0 and 4:2:2 pictures whose sizes are no multiple of a block.
  for (const char* sample : {"grey.jpg", "ycc420.jpg", "restart422.jpg"}) {
    const std::string path = CORVANE_SOURCE_DIR "/fuzz/corpus/jpeg/" + std::string(sample);
    const int worst = WorstDifference(path, Reference(path), 1000, 1000);
    EXPECT_GE(worst, 0) << sample;
    EXPECT_LE(worst, 4) << sample;
  }
#endif
}

TEST(DecodeJpegTopLeft, IsCutToThePictureAndGivesNothingForDamagedData) {
  std::vector<std::uint8_t> jpeg = ReadFile(kPicture);
  const Pixels32 wide = DecodeJpegTopLeft(jpeg, 5000, 3);
  EXPECT_EQ(wide.width, 1600);
  EXPECT_EQ(wide.height, 3);
  EXPECT_TRUE(
      DecodeJpegTopLeft(std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 700), 100, 100)
          .empty())
      << "cut off inside the tables";
  EXPECT_TRUE(DecodeJpegTopLeft({}, 10, 10).empty());
  jpeg[1] = 0x00;
  EXPECT_TRUE(DecodeJpegTopLeft(jpeg, 10, 10).empty()) << "not a JPEG";
}

}  // namespace
}  // namespace corvane::main_window
