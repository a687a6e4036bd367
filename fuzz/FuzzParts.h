#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pel::fuzz {

// A fuzz input after its flags byte, split at 0xFF into exactly `count` parts (the last part
// keeps any further 0xFF bytes; missing parts are empty).
inline std::vector<std::string> SplitParts(const uint8_t* data, size_t size, size_t count) {
  std::vector<std::string> parts(1);
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == 0xFF && parts.size() < count) {
      parts.emplace_back();
    } else {
      parts.back().push_back(static_cast<char>(data[i]));
    }
  }
  parts.resize(count);
  return parts;
}

// Bytes as UTF-16 text: one unit a byte, or two bytes (little-endian) a unit so that units
// above 0xFF reach the reader too.
inline std::u16string Widen(const std::string& bytes, bool twoBytesAUnit) {
  std::u16string out;
  if (!twoBytesAUnit) {
    for (unsigned char c : bytes) out.push_back(c);
    return out;
  }
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                        static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return out;
}

}  // namespace pel::fuzz
