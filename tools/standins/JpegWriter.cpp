#include "JpegWriter.h"

#include <algorithm>
#include <cmath>

namespace pel::standin {

namespace {

// DC differences by category: the luminance DC table of the JPEG standard's Annex K.
constexpr uint8_t kDcBits[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
constexpr uint8_t kDcValues[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
// AC terms: a flat block has none, so the table holds the end of block alone (code "0").
constexpr uint8_t kAcBits[16] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr uint8_t kAcValues[1] = {0x00};

struct Code {
  uint16_t bits = 0;
  int length = 0;
};

// Canonical Huffman codes of a table given by its code counts per length.
std::vector<Code> CanonicalCodes(const uint8_t (&counts)[16], size_t symbols) {
  std::vector<Code> codes(symbols);
  uint16_t code = 0;
  size_t k = 0;
  for (int length = 1; length <= 16; ++length) {
    for (int n = 0; n < counts[length - 1]; ++n) codes[k++] = {code++, length};
    code = static_cast<uint16_t>(code << 1);
  }
  return codes;
}

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Put(uint32_t bits, int length) {
    for (int k = length - 1; k >= 0; --k) {
      acc_ = static_cast<uint8_t>((acc_ << 1) | ((bits >> k) & 1));
      if (++filled_ == 8) Emit();
    }
  }
  // Pads the last byte with 1 bits.
  void Flush() {
    while (filled_ != 0) Put(1, 1);
  }

 private:
  void Emit() {
    out_.push_back(acc_);
    if (acc_ == 0xFF) out_.push_back(0x00);  // byte stuffing
    acc_ = 0;
    filled_ = 0;
  }
  std::vector<uint8_t>& out_;
  uint8_t acc_ = 0;
  int filled_ = 0;
};

void PutU16(std::vector<uint8_t>& out, int value) {
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value));
}

void PutMarker(std::vector<uint8_t>& out, uint8_t marker, int payload) {
  out.push_back(0xFF);
  out.push_back(marker);
  PutU16(out, payload + 2);
}

template <size_t N>
void PutHuffmanTable(std::vector<uint8_t>& out, uint8_t classAndId, const uint8_t (&counts)[16],
                     const uint8_t (&values)[N]) {
  PutMarker(out, 0xC4, 1 + 16 + static_cast<int>(N));
  out.push_back(classAndId);
  out.insert(out.end(), counts, counts + 16);
  out.insert(out.end(), values, values + N);
}

uint8_t Clamp(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

int Category(int value) {
  int magnitude = value < 0 ? -value : value;
  int category = 0;
  while (magnitude > 0) {
    ++category;
    magnitude >>= 1;
  }
  return category;
}

}  // namespace

std::vector<uint8_t> EncodeFlatJpeg(int width, int height, uint8_t red, uint8_t green,
                                    uint8_t blue) {
  width = std::clamp(width, 1, 65535);
  height = std::clamp(height, 1, 65535);
  const double r = red;
  const double g = green;
  const double b = blue;
  const uint8_t samples[3] = {
      Clamp(0.299 * r + 0.587 * g + 0.114 * b),
      Clamp(128.0 - 0.168736 * r - 0.331264 * g + 0.5 * b),
      Clamp(128.0 + 0.5 * r - 0.418688 * g - 0.081312 * b),
  };

  std::vector<uint8_t> out = {0xFF, 0xD8};  // SOI
  PutMarker(out, 0xE0, 14);                 // APP0: JFIF 1.01, no density, no thumbnail
  const uint8_t jfif[14] = {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
  out.insert(out.end(), jfif, jfif + 14);
  PutMarker(out, 0xDB, 65);  // DQT: table 0, every step 1
  out.push_back(0x00);
  out.insert(out.end(), 64, 1);
  PutMarker(out, 0xC0, 15);  // SOF0: 8-bit samples, three components, no subsampling
  out.push_back(8);
  PutU16(out, height);
  PutU16(out, width);
  out.push_back(3);
  for (uint8_t id = 1; id <= 3; ++id) {
    out.push_back(id);
    out.push_back(0x11);
    out.push_back(0);
  }
  PutHuffmanTable(out, 0x00, kDcBits, kDcValues);
  PutHuffmanTable(out, 0x10, kAcBits, kAcValues);
  PutMarker(out, 0xDA, 10);  // SOS: all three components with tables 0/0, full spectrum
  out.push_back(3);
  for (uint8_t id = 1; id <= 3; ++id) {
    out.push_back(id);
    out.push_back(0x00);
  }
  out.push_back(0);
  out.push_back(63);
  out.push_back(0);

  const std::vector<Code> dc = CanonicalCodes(kDcBits, sizeof(kDcValues));
  const std::vector<Code> ac = CanonicalCodes(kAcBits, sizeof(kAcValues));
  // A flat block's DC coefficient is eight times its level-shifted sample.
  int coefficient[3];
  for (int c = 0; c < 3; ++c) coefficient[c] = 8 * (samples[c] - 128);

  BitWriter bits(out);
  int predictor[3] = {0, 0, 0};
  const long blocks = static_cast<long>((width + 7) / 8) * ((height + 7) / 8);
  for (long block = 0; block < blocks; ++block) {
    for (int c = 0; c < 3; ++c) {
      const int diff = coefficient[c] - predictor[c];
      predictor[c] = coefficient[c];
      const int category = Category(diff);
      bits.Put(dc[static_cast<size_t>(category)].bits, dc[static_cast<size_t>(category)].length);
      if (category > 0) {
        const int value = diff < 0 ? diff + (1 << category) - 1 : diff;
        bits.Put(static_cast<uint32_t>(value), category);
      }
      bits.Put(ac[0].bits, ac[0].length);  // end of block
    }
  }
  bits.Flush();
  out.push_back(0xFF);
  out.push_back(0xD9);  // EOI
  return out;
}

}  // namespace pel::standin
