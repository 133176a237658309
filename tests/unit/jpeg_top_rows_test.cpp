#include "main_window/jpeg_top_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace corvane::main_window {
namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

const std::string kPicture = CORVANE_SOURCE_DIR "/resources/beach.jpg";

// The picture's top-left 640 x 320 as ImageMagick decodes it, a binary PPM:
// the test command writes it for the Wine runs; natively it is made here.
std::string ReferencePath() {
  if (const char* path = std::getenv("CORVANE_PICTURE_REFERENCE")) return path;
  const std::string path = ::testing::TempDir() + "beach-reference.ppm";
  const std::string command = "convert '" + kPicture + "' -crop 640x320+0+0 +repage '" + path + "'";
  return std::system(command.c_str()) == 0 ? path : std::string();
}

TEST(DecodeJpegTopLeft, TheRowsShownMatchAnotherDecoder) {
  const std::vector<std::uint8_t> jpeg = ReadFile(kPicture);
  ASSERT_FALSE(jpeg.empty()) << kPicture;
  constexpr int kWidth = 640;
  constexpr int kHeight = 150;  // more than the window shows at 192 DPI
  const Pixels32 decoded = DecodeJpegTopLeft(jpeg, kWidth, kHeight);
  ASSERT_EQ(decoded.width, kWidth);
  ASSERT_EQ(decoded.height, kHeight);

  std::ifstream reference(ReferencePath(), std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maximum = 0;
  reference >> magic >> width >> height >> maximum;
  reference.get();
  ASSERT_EQ(magic, "P6") << "no reference picture";
  ASSERT_GE(width, kWidth);
  std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * kHeight * 3);
  reference.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
  // Two decoders round a little differently.
  int worst = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const std::uint32_t ours = decoded.pixels[static_cast<std::size_t>(y) * kWidth + x];
      const unsigned char* theirs = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
      int difference = 0;
      for (int channel = 0; channel < 3; ++channel) {
        const int mine = static_cast<int>((ours >> (16 - 8 * channel)) & 0xFF);
        difference = std::max(difference, std::abs(mine - theirs[channel]));
      }
      worst = std::max(worst, difference);
    }
  }
  EXPECT_LE(worst, 4) << "largest difference in a channel";
}

TEST(DecodeJpegTopLeft, IsCutToThePictureAndGivesNothingForDamagedData) {
  std::vector<std::uint8_t> jpeg = ReadFile(kPicture);
  const Pixels32 wide = DecodeJpegTopLeft(jpeg, 5000, 3);
  EXPECT_EQ(wide.width, 1600);
  EXPECT_EQ(wide.height, 3);
  EXPECT_TRUE(DecodeJpegTopLeft(std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 700), 100,
                                100)
                  .empty())
      << "cut off inside the tables";
  EXPECT_TRUE(DecodeJpegTopLeft({}, 10, 10).empty());
  jpeg[1] = 0x00;
  EXPECT_TRUE(DecodeJpegTopLeft(jpeg, 10, 10).empty()) << "not a JPEG";
}

}  // namespace
}  // namespace corvane::main_window
