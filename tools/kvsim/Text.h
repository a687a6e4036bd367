#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kvsim {

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }
std::string_view TrimLeft(std::string_view s);
std::string_view TrimRight(std::string_view s);
inline std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

// Plain decimal digits, nothing else, at most limit; nothing for anything else.
std::optional<uint64_t> ParseDecimal(std::string_view s, uint64_t limit);

// Splits "word rest" at the first run of blanks; rest keeps its trailing blanks.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view s);

// The value of a hexadecimal digit, or -1.
int HexValue(char c);

// Pairs of hexadecimal digits, blanks allowed between pairs; nothing for anything else.
std::optional<std::string> ParseHexBytes(std::string_view text);

}  // namespace kvsim
