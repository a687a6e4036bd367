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

std::pair<std::string_view, std::string_view> SplitWord(std::string_view s) {
  std::size_t end = 0;
  while (end < s.size() && !IsBlank(s[end])) ++end;
  return {s.substr(0, end), TrimLeft(s.substr(end))};
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> ParseHexBytes(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (IsBlank(text[i])) {
      ++i;
      continue;
    }
    if (i + 1 >= text.size()) return std::nullopt;
    const int high = HexValue(text[i]);
    const int low = HexValue(text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

}  // namespace kvsim
