#include "picture/jpeg_top_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace corvane::picture {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

const std::string kPicture = CORVANE_SOURCE_DIR "/resources/beach.jpg";
std::string Sample(const char* name) {
  return CORVANE_SOURCE_DIR "/fuzz/corpus/jpeg/" + std::string(name);
}

// Whether the top-left `width` x `height` of the JPEG at `path` as decoded
// here is within 4 in every channel of the binary PPM at `reference`
// (another decoder's); two decoders round a little differently.
::testing::AssertionResult MatchesReference(const std::string& path, const std::string& reference,
                                            int width, int height) {
  const Pixels32 decoded = DecodeJpegTopLeft(ReadFile(path), width, height);
  std::ifstream file(reference, std::ios::binary);
  std::string magic;
  int reference_width = 0, reference_height = 0, maximum = 0;
  file >> magic >> reference_width >> reference_height >> maximum;
  file.get();
  if (magic != "P6") return ::testing::AssertionFailure() << "no reference picture for " << path;
  if (decoded.empty()) return ::testing::AssertionFailure() << "nothing decoded of " << path;
  if (decoded.width != std::min(width, reference_width) ||
      decoded.height != std::min(height, reference_height)) {
    return ::testing::AssertionFailure()
           << path << " decoded " << decoded.width << " x " << decoded.height
           << ", the reference is " << reference_width << " x " << reference_height;
  }
  Bytes rgb(static_cast<std::size_t>(reference_width) * reference_height * 3);
  file.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
  for (int y = 0; y < decoded.height; ++y) {
    for (int x = 0; x < decoded.width; ++x) {
      const std::uint32_t ours = decoded.pixels[static_cast<std::size_t>(y) * decoded.width + x];
      const std::uint8_t* theirs = &rgb[(static_cast<std::size_t>(y) * reference_width + x) * 3];
      for (int channel = 0; channel < 3; ++channel) {
        const int mine = static_cast<int>((ours >> (16 - 8 * channel)) & 0xFF);
        if (std::abs(mine - theirs[channel]) > 4) {
          return ::testing::AssertionFailure()
                 << path << " differs at (" << x << ", " << y << "): " << mine << " against "
                 << int{theirs[channel]};
        }
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// ImageMagick's decoding of `path` (its top-left 640 x 320) as a binary PPM;
// empty where ImageMagick cannot be run.
std::string Reference(const std::string& path) {
#ifdef _WIN32
  (void)path;
  return {};  // Linux's ImageMagick cannot be started from inside Wine
#else
  const std::string out = ::testing::TempDir() + "reference.ppm";
  const std::string command = "convert '" + path + "' -crop 640x320+0+0 +repage -depth 8 " +
                              "-colorspace sRGB -type TrueColor '" + out + "' 2>/dev/null";
  // The test's own tool, run on a path it made.
  return std::system(command.c_str()) == 0 ? out : std::string();  // NOLINT(cert-env33-c)
#endif
}

TEST(DecodeJpegTopLeft, TheRowsShownMatchAnotherDecoder) {
  // More rows than the window shows at 192 DPI. Under Wine the test command
  // has written the reference.
  const char* made = std::getenv("CORVANE_PICTURE_REFERENCE");
  const std::string reference = made != nullptr ? made : Reference(kPicture);
  if (reference.empty()) GTEST_SKIP() << "no ImageMagick to decode the picture with";
  EXPECT_TRUE(MatchesReference(kPicture, reference, 640, 150));
}

// Grey, 4:2:0, 4:2:2 and restart intervals, in sizes no multiple of a block.
TEST(DecodeJpegTopLeft, SamplesOfEveryKindMatchAnotherDecoder) {
  for (const char* name : {"grey.jpg", "ycc420.jpg", "restart422.jpg", "restarts.jpg"}) {
    const std::string reference = Reference(Sample(name));
    if (reference.empty()) GTEST_SKIP() << "no ImageMagick to decode the samples with";
    EXPECT_TRUE(MatchesReference(Sample(name), reference, 1000, 1000));
  }
}

// The segments of a JPEG up to its scan: marker, where it starts, its length.
struct Segment {
  std::uint8_t marker;
  std::size_t at;
  std::size_t length;  // from the length field on
};
std::vector<Segment> Segments(const Bytes& jpeg) {
  std::vector<Segment> segments;
  for (std::size_t at = 2; at + 4 <= jpeg.size();) {
    const std::size_t length = (std::size_t{jpeg[at + 2]} << 8) | jpeg[at + 3];
    segments.push_back({jpeg[at + 1], at, length});
    if (jpeg[at + 1] == 0xDA) break;
    at += 2 + length;
  }
  return segments;
}
Segment Find(const Bytes& jpeg, std::uint8_t marker) {
  for (const Segment& segment : Segments(jpeg)) {
    if (segment.marker == marker) return segment;
  }
  ADD_FAILURE() << "no marker " << int{marker};
  return {};
}
std::size_t ScanData(const Bytes& jpeg) {
  const Segment scan = Find(jpeg, 0xDA);
  return scan.at + 2 + scan.length;
}

TEST(DecodeJpegTopLeft, RefusesWhatBaselineDoesNotAllowAndDataDamagedWhereItIsNeeded) {
  const struct {
    const char* what;
    std::string file;
    std::function<void(Bytes&)> damage;
  } rows[] = {
      {"nothing", kPicture, [](Bytes& j) { j.clear(); }},
      {"not a JPEG", kPicture, [](Bytes& j) { j[1] = 0x00; }},
      {"cut inside the tables", kPicture, [](Bytes& j) { j.resize(700); }},
      {"cut inside the rows shown", kPicture, [](Bytes& j) { j.resize(ScanData(j) + 200); }},
      {"a marker inside the rows shown", kPicture,
       [](Bytes& j) {
         const std::size_t at = ScanData(j) + 200;
         j[at] = 0xFF;
         j[at + 1] = 0xD9;
       }},
      // Its 64 bytes read as an 8-bit table would fit: only its precision says no.
      {"a table marked 16-bit in an 8-bit frame", kPicture,
       [](Bytes& j) { j[Find(j, 0xDB).at + 4] |= 0x10; }},
      {"a second frame header", kPicture,
       [](Bytes& j) {
         const Segment frame = Find(j, 0xC0);
         const auto begin = j.begin() + static_cast<std::ptrdiff_t>(frame.at);
         const Bytes copy(begin, begin + static_cast<std::ptrdiff_t>(2 + frame.length));
         j.insert(begin, copy.begin(), copy.end());
       }},
      {"a component's table never given", kPicture,
       [](Bytes& j) { j[Find(j, 0xC0).at + 4 + 6 + 2] = 3; }},
      {"a restart marker out of turn", Sample("restarts.jpg"),
       [](Bytes& j) {
         const std::uint8_t restart0[] = {0xFF, 0xD0};
         const auto at = std::search(j.begin() + static_cast<std::ptrdiff_t>(ScanData(j)), j.end(),
                                     std::begin(restart0), std::end(restart0));
         ASSERT_NE(at, j.end());
         *(at + 1) = 0xD1;
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    Bytes jpeg = ReadFile(row.file);
    ASSERT_FALSE(DecodeJpegTopLeft(jpeg, 640, 150).empty()) << "the undamaged file";
    row.damage(jpeg);
    EXPECT_TRUE(DecodeJpegTopLeft(jpeg, 640, 150).empty());
  }
}

// A grey picture of two blocks, 16 x 8, whose DC coefficients differ from
// the one before by `first` and `second` (each 0 or 2047) and whose AC
// coefficients are all 0.
Bytes TwoGreyBlocks(int first, int second) {
  Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00};
  jpeg.insert(jpeg.end(), 64, 1);  // every step 1
  const Bytes segments[] = {
      // The frame: 16 x 8, one component.
      {0xFF, 0xC0, 0x00, 0x0B, 8, 0, 8, 0, 16, 1, 1, 0x11, 0},
      // DC: 00 for a difference of 0 bits, 01 for one of 11 bits.
      {0xFF, 0xC4, 0x00, 0x15, 0x00, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x0B},
      // AC: 00 for the end of the block.
      {0xFF, 0xC4, 0x00, 0x14, 0x10, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00},
      // The scan.
      {0xFF, 0xDA, 0x00, 0x08, 1, 1, 0x00, 0, 63, 0},
  };
  for (const Bytes& segment : segments) jpeg.insert(jpeg.end(), segment.begin(), segment.end());
  std::string bits;
  for (const int difference : {first, second}) {
    bits += difference == 0 ? "00" : "01" + std::string(11, '1');  // 2047 in 11 bits
    bits += "00";
  }
  bits.resize((bits.size() + 7) / 8 * 8, '1');
  for (std::size_t at = 0; at < bits.size(); at += 8) {
    jpeg.push_back(static_cast<std::uint8_t>(std::stoi(bits.substr(at, 8), nullptr, 2)));
    if (jpeg.back() == 0xFF) jpeg.push_back(0x00);
  }
  jpeg.insert(jpeg.end(), {0xFF, 0xD9});
  return jpeg;
}

// An 8-bit picture's DC coefficient fits in 11 bits (ITU T.81, F.1.2.1.1).
TEST(DecodeJpegTopLeft, RefusesADcCoefficientBeyondElevenBits) {
  EXPECT_FALSE(DecodeJpegTopLeft(TwoGreyBlocks(2047, 0), 16, 8).empty()) << "2047 fits";
  EXPECT_TRUE(DecodeJpegTopLeft(TwoGreyBlocks(2047, 2047), 16, 8).empty()) << "4094 does not";
}

TEST(DecodeJpegTopLeft, IsCutToThePicture) {
  const Pixels32 wide = DecodeJpegTopLeft(ReadFile(kPicture), 5000, 3);
  EXPECT_EQ(wide.width, 1600);
  EXPECT_EQ(wide.height, 3);
}

}  // namespace
}  // namespace corvane::picture
