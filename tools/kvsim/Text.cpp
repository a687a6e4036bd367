#include "Text.h"

namespace kvsim {

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::optional<uint64_t> ParseDecimal(std::string_view s, uint64_t limit) {
  if (s.empty() || s.size() > 19) return std::nullopt;  // 19 digits cannot overflow
  uint64_t value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > limit) return std::nullopt;
  return value;
}

}  // namespace kvsim
