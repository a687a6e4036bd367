#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kvsim {

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }
std::string_view TrimLeft(std::string_view s);
std::string_view TrimRight(std::string_view s);
inline std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

// Plain decimal digits, nothing else, at most limit; nothing for anything else.
std::optional<uint64_t> ParseDecimal(std::string_view s, uint64_t limit);

}  // namespace kvsim
