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

}  // namespace pel::fuzz
