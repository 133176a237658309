#include "picture/jpeg_top_rows.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>

namespace corvane::picture {

namespace {

// The order in which a block's coefficients are stored.
constexpr std::array<std::uint8_t, 64> kZigZag = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

struct HuffmanTable {
  std::array<std::uint8_t, 17> counts{};  // codes of each length, 1 to 16
  std::array<std::uint8_t, 256> symbols{};
  std::array<int, 18> max_code{};  // -1 where no code has that length
  std::array<int, 17> first_index{};
  std::array<int, 17> min_code{};
  bool defined = false;

  void Build() {
    int code = 0;
    int index = 0;
    for (int length = 1; length <= 16; ++length) {
      first_index[length] = index;
      min_code[length] = code;
      code += counts[length];
      index += counts[length];
      max_code[length] = counts[length] != 0 ? code - 1 : -1;
      code <<= 1;
    }
    defined = true;
  }
};

struct Component {
  int id = 0;
  int h = 1;
  int v = 1;
  int quant = 0;
  int dc_table = 0;
  int ac_table = 0;
  int dc_prediction = 0;
  int stride = 0;
  std::vector<std::uint8_t> plane;
};

// Entropy-coded bits, with stuffed zero bytes taken out. Coded data never
// runs into a marker (a restart interval's last byte is padded with ones,
// which are not read): reaching one, or the end, means the data is damaged
// or cut short, and it gives zeros from there and says so.
class BitReader {
 public:
  BitReader(std::span<const std::uint8_t> data, std::size_t position)
      : data_(data), position_(position) {}

  int Bit() {
    if (count_ == 0) Fill();
    --count_;
    return (buffer_ >> count_) & 1;
  }

  int Bits(int n) {
    int value = 0;
    for (int i = 0; i < n; ++i) value = (value << 1) | Bit();
    return value;
  }

  // After a restart interval: drops what is left of the byte and steps over
  // the restart marker, which must be the next one of RST0 to RST7 in turn;
  // false when it is not there.
  bool Restart() {
    count_ = 0;
    const std::uint8_t expected = 0xD0 + (restarts_ % 8);
    if (position_ + 1 < data_.size() && data_[position_] == 0xFF &&
        data_[position_ + 1] == expected) {
      position_ += 2;
      ++restarts_;
      return true;
    }
    return false;
  }

  // Whether a read went past the coded data: into a marker or the end.
  bool Overrun() const { return overrun_; }

 private:
  void Fill() {
    buffer_ = 0;
    count_ = 8;
    if (position_ >= data_.size()) {
      overrun_ = true;
      return;
    }
    const std::uint8_t byte = data_[position_];
    if (byte == 0xFF) {
      if (position_ + 1 < data_.size() && data_[position_ + 1] == 0x00) {
        position_ += 2;
        buffer_ = 0xFF;
        return;
      }
      overrun_ = true;  // a marker
      return;
    }
    ++position_;
    buffer_ = byte;
  }

  std::span<const std::uint8_t> data_;
  std::size_t position_;
  int buffer_ = 0;
  int count_ = 0;
  unsigned restarts_ = 0;
  bool overrun_ = false;
};

// The value of `bits` bits read as a coefficient difference.
int Extend(int value, int bits) {
  return bits == 0 ? 0 : (value < (1 << (bits - 1)) ? value - (1 << bits) + 1 : value);
}

std::optional<int> DecodeSymbol(BitReader& bits, const HuffmanTable& table) {
  int code = 0;
  for (int length = 1; length <= 16; ++length) {
    code = (code << 1) | bits.Bit();
    if (table.max_code[length] >= 0 && code <= table.max_code[length] &&
        code >= table.min_code[length]) {
      const int index = table.first_index[length] + code - table.min_code[length];
      return index < 256 ? std::optional<int>(table.symbols[index]) : std::nullopt;
    }
  }
  return std::nullopt;
}

// Inverse DCT of one block into 8 x 8 samples at `out`.
void InverseDct(const std::array<float, 64>& in, std::uint8_t* out, int stride) {
  static const std::array<float, 64> kBasis = [] {
    std::array<float, 64> basis{};
    const double pi = std::acos(-1.0);
    for (int x = 0; x < 8; ++x) {
      for (int u = 0; u < 8; ++u) {
        const double scale = u == 0 ? std::sqrt(0.5) : 1.0;
        basis[x * 8 + u] = static_cast<float>(scale * std::cos((2 * x + 1) * u * pi / 16) / 2);
      }
    }
    return basis;
  }();
  std::array<float, 64> rows{};
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      float sum = 0;
      for (int u = 0; u < 8; ++u) sum += kBasis[x * 8 + u] * in[y * 8 + u];
      rows[y * 8 + x] = sum;
    }
  }
  for (int x = 0; x < 8; ++x) {
    for (int y = 0; y < 8; ++y) {
      float sum = 0;
      for (int v = 0; v < 8; ++v) sum += kBasis[y * 8 + v] * rows[v * 8 + x];
      const long sample = std::lround(sum + 128.0F);
      out[y * stride + x] = static_cast<std::uint8_t>(std::clamp(sample, 0L, 255L));
    }
  }
}

std::uint8_t Clamp(float value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

class Decoder {
 public:
  Decoder(std::span<const std::uint8_t> data, int width, int height)
      : data_(data), want_width_(width), want_height_(height) {}

  Pixels32 Run() {
    if (data_.size() < 4 || data_[0] != 0xFF || data_[1] != 0xD8) return {};
    std::size_t position = 2;
    while (position + 4 <= data_.size()) {
      if (data_[position] != 0xFF) return {};
      const std::uint8_t marker = data_[position + 1];
      if (marker == 0xFF) {  // fill byte
        ++position;
        continue;
      }
      const std::size_t length = (std::size_t{data_[position + 2]} << 8) | data_[position + 3];
      if (length < 2 || position + 2 + length > data_.size()) return {};
      const std::span<const std::uint8_t> segment = data_.subspan(position + 4, length - 2);
      position += 2 + length;
      bool ok = true;
      switch (marker) {
        case 0xC0:  // baseline
        case 0xC1:  // extended, Huffman
          ok = ReadFrame(segment);
          break;
        case 0xC4:
          ok = ReadHuffmanTables(segment);
          break;
        case 0xDB:
          ok = ReadQuantTables(segment);
          break;
        case 0xDD:
          ok = segment.size() >= 2;
          if (ok) restart_interval_ = (segment[0] << 8) | segment[1];
          break;
        case 0xDA:
          return ReadScan(segment) ? DecodeScan(position) : Pixels32{};
        default:
          // Any other frame kind (progressive, lossless, arithmetic) is not ours.
          if (marker >= 0xC2 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
              marker != 0xCC) {
            return {};
          }
          break;  // APPn, COM and the like
      }
      if (!ok) return {};
    }
    return {};
  }

 private:
  bool ReadQuantTables(std::span<const std::uint8_t> segment) {
    std::size_t at = 0;
    while (at < segment.size()) {
      const int precision = segment[at] >> 4;
      const int id = segment[at] & 0x0F;
      ++at;
      // An 8-bit frame takes 8-bit tables only (ITU T.81, B.2.4.1).
      if (id > 3 || precision != 0 || at + 64 > segment.size()) return false;
      for (std::size_t k = 0; k < 64; ++k) quant_[id][kZigZag[k]] = segment[at + k];
      quant_defined_[id] = true;
      at += 64;
    }
    return true;
  }

  bool ReadHuffmanTables(std::span<const std::uint8_t> segment) {
    std::size_t at = 0;
    while (at + 17 <= segment.size()) {
      const int table_class = segment[at] >> 4;
      const int id = segment[at] & 0x0F;
      if (table_class > 1 || id > 3) return false;
      HuffmanTable& table = (table_class == 0 ? dc_ : ac_)[id];
      int total = 0;
      for (int length = 1; length <= 16; ++length) {
        table.counts[length] = segment[at + length];
        total += table.counts[length];
      }
      at += 17;
      if (total > 256 || at + static_cast<std::size_t>(total) > segment.size()) return false;
      std::copy_n(segment.begin() + static_cast<std::ptrdiff_t>(at), total, table.symbols.begin());
      at += static_cast<std::size_t>(total);
      table.Build();
    }
    return at == segment.size();
  }

  bool ReadFrame(std::span<const std::uint8_t> segment) {
    // One frame a picture: a second would be another picture's.
    if (!components_.empty() || segment.size() < 6 || segment[0] != 8) return false;
    image_height_ = (segment[1] << 8) | segment[2];
    image_width_ = (segment[3] << 8) | segment[4];
    const int count = segment[5];
    if (image_width_ == 0 || image_height_ == 0 || (count != 1 && count != 3) ||
        segment.size() < 6 + 3 * static_cast<std::size_t>(count)) {
      return false;
    }
    components_.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      Component& c = components_[static_cast<std::size_t>(i)];
      c.id = segment[6 + 3 * i];
      c.h = segment[7 + 3 * i] >> 4;
      c.v = segment[7 + 3 * i] & 0x0F;
      c.quant = segment[8 + 3 * i];
      if (c.h < 1 || c.h > 2 || c.v < 1 || c.v > 2 || c.quant > 3) return false;
      // A picture of one component is coded block by block whatever it says.
      if (count == 1) c.h = c.v = 1;
      max_h_ = std::max(max_h_, c.h);
      max_v_ = std::max(max_v_, c.v);
    }
    return true;
  }

  bool ReadScan(std::span<const std::uint8_t> segment) {
    if (components_.empty() || segment.empty()) return false;
    const std::size_t count = segment[0];
    // One scan with every component, interleaved, as baseline pictures are.
    if (count != components_.size() || segment.size() < 1 + 2 * count + 3) return false;
    for (std::size_t i = 0; i < count; ++i) {
      Component& c = components_[i];
      if (segment[1 + 2 * i] != c.id) return false;
      c.dc_table = segment[2 + 2 * i] >> 4;
      c.ac_table = segment[2 + 2 * i] & 0x0F;
      if (c.dc_table > 3 || c.ac_table > 3 || !dc_[c.dc_table].defined ||
          !ac_[c.ac_table].defined || !quant_defined_[c.quant]) {
        return false;
      }
    }
    const std::size_t at = 1 + 2 * count;
    return segment[at] == 0 && segment[at + 1] == 63 && segment[at + 2] == 0;
  }

  bool DecodeBlock(BitReader& bits, Component& c, std::array<float, 64>& block) {
    block.fill(0);
    const auto& q = quant_[c.quant];
    const std::optional<int> size = DecodeSymbol(bits, dc_[c.dc_table]);
    if (!size || *size > 11) return false;
    c.dc_prediction += Extend(bits.Bits(*size), *size);
    // An 8-bit picture's DC coefficient fits in 11 bits; anything beyond is
    // damage, and would in the end overflow.
    if (c.dc_prediction < -2048 || c.dc_prediction > 2047) return false;
    block[0] = static_cast<float>(c.dc_prediction * q[0]);
    for (int k = 1; k < 64;) {
      const std::optional<int> symbol = DecodeSymbol(bits, ac_[c.ac_table]);
      if (!symbol) return false;
      const int run = *symbol >> 4;
      const int bits_count = *symbol & 0x0F;
      if (bits_count == 0) {
        if (run != 15) break;  // end of block
        k += 16;
        continue;
      }
      k += run;
      if (k > 63) return false;
      block[kZigZag[k]] =
          static_cast<float>(Extend(bits.Bits(bits_count), bits_count) * q[kZigZag[k]]);
      ++k;
    }
    return true;
  }

  Pixels32 DecodeScan(std::size_t position) {
    const int width = std::min(want_width_, image_width_);
    const int height = std::min(want_height_, image_height_);
    if (width <= 0 || height <= 0) return {};
    const int mcu_width = 8 * max_h_;
    const int mcu_height = 8 * max_v_;
    const int mcus_across = (image_width_ + mcu_width - 1) / mcu_width;
    const int mcus_down = (image_height_ + mcu_height - 1) / mcu_height;
    // Only what is shown, and the pixel beyond it, whose colour samples the
    // last shown pixels blend in.
    const int mcu_rows = std::min(mcus_down, height / mcu_height + 1);
    const int mcus_needed_across = std::min(mcus_across, width / mcu_width + 1);
    for (Component& c : components_) {
      c.stride = mcus_across * c.h * 8;
      c.plane.assign(static_cast<std::size_t>(c.stride) * mcu_rows * c.v * 8, 0);
    }
    BitReader bits(data_, position);
    std::array<float, 64> block{};
    int mcus_done = 0;
    for (int row = 0; row < mcu_rows; ++row) {
      for (int column = 0; column < mcus_across; ++column) {
        if (restart_interval_ != 0 && mcus_done != 0 && mcus_done % restart_interval_ == 0) {
          if (!bits.Restart()) return {};
          for (Component& c : components_) c.dc_prediction = 0;
        }
        for (Component& c : components_) {
          for (int by = 0; by < c.v; ++by) {
            for (int bx = 0; bx < c.h; ++bx) {
              if (!DecodeBlock(bits, c, block) || bits.Overrun()) return {};
              // Blocks right of what is shown are read, not transformed.
              if (column >= mcus_needed_across) continue;
              const int x = (column * c.h + bx) * 8;
              const int y = (row * c.v + by) * 8;
              InverseDct(block, &c.plane[static_cast<std::size_t>(y) * c.stride + x], c.stride);
            }
          }
        }
        ++mcus_done;
      }
    }
    if (bits.Overrun()) return {};
    return ToPixels(width, height);
  }

  // A component's value at pixel (x, y). Where it has half the samples in a
  // direction, each pixel takes 3/4 of its own sample and 1/4 of the nearer
  // neighbour's, as the usual decoders do, rather than showing blocks.
  float Sample(const Component& c, int x, int y) const {
    const int rows = static_cast<int>(c.plane.size()) / c.stride;
    const auto at = [&](int sx, int sy) {
      sx = std::clamp(sx, 0, c.stride - 1);
      sy = std::clamp(sy, 0, rows - 1);
      return static_cast<float>(c.plane[static_cast<std::size_t>(sy) * c.stride + sx]);
    };
    const bool half_across = c.h < max_h_;
    const bool half_down = c.v < max_v_;
    const int sx = half_across ? x / 2 : x;
    const int sy = half_down ? y / 2 : y;
    const int nx = half_across ? sx + (x % 2 == 1 ? 1 : -1) : sx;
    const int ny = half_down ? sy + (y % 2 == 1 ? 1 : -1) : sy;
    const float wx = half_across ? 0.75F : 1.0F;
    const float wy = half_down ? 0.75F : 1.0F;
    return wx * wy * at(sx, sy) + (1 - wx) * wy * at(nx, sy) + wx * (1 - wy) * at(sx, ny) +
           (1 - wx) * (1 - wy) * at(nx, ny);
  }

  Pixels32 ToPixels(int width, int height) const {
    Pixels32 out{width, height,
                 std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    const auto sample = [this](const Component& c, int x, int y) { return Sample(c, x, y); };
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        std::uint32_t rgb = 0;
        if (components_.size() == 1) {
          const std::uint32_t grey = Clamp(sample(components_[0], x, y));
          rgb = (grey << 16) | (grey << 8) | grey;
        } else {
          const float luma = sample(components_[0], x, y);
          const float cb = sample(components_[1], x, y) - 128.0F;
          const float cr = sample(components_[2], x, y) - 128.0F;
          rgb = (std::uint32_t{Clamp(luma + 1.402F * cr)} << 16) |
                (std::uint32_t{Clamp(luma - 0.344136F * cb - 0.714136F * cr)} << 8) |
                Clamp(luma + 1.772F * cb);
        }
        out.pixels[static_cast<std::size_t>(y) * width + x] = rgb;
      }
    }
    return out;
  }

  std::span<const std::uint8_t> data_;
  int want_width_;
  int want_height_;
  int image_width_ = 0;
  int image_height_ = 0;
  int max_h_ = 1;
  int max_v_ = 1;
  int restart_interval_ = 0;
  std::array<std::array<std::uint8_t, 64>, 4> quant_{};
  std::array<bool, 4> quant_defined_{};
  std::array<HuffmanTable, 4> dc_{};
  std::array<HuffmanTable, 4> ac_{};
  std::vector<Component> components_;
};

}  // namespace

Pixels32 DecodeJpegTopLeft(std::span<const std::uint8_t> jpeg, int width, int height) {
  return Decoder(jpeg, width, height).Run();
}

}  // namespace corvane::picture
