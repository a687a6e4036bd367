#include "trust/Ipv6Text.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace pel {

namespace {
using Groups = std::array<std::uint16_t, 8>;

constexpr std::size_t kMaxIpv6Chars = 45;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The dotted IPv4 tail of an address into two groups: four decimal parts 0..255 without
// leading zeros.
bool ParseIpv4Tail(std::string_view text, std::uint16_t& high, std::uint16_t& low) {
  std::array<unsigned, 4> parts{};
  std::size_t i = 0;
  for (std::size_t n = 0; n < parts.size(); ++n) {
    if (n > 0) {
      if (i >= text.size() || text[i] != '.') return false;
      ++i;
    }
    const std::size_t start = i;
    unsigned value = 0;
    while (i < text.size() && IsDigit(text[i]) && i - start < 3) {
      value = value * 10 + static_cast<unsigned>(text[i++] - '0');
    }
    const std::size_t digits = i - start;
    if (digits == 0 || value > 255 || (digits > 1 && text[start] == '0')) return false;
    parts[n] = value;
  }
  if (i != text.size()) return false;
  high = static_cast<std::uint16_t>(parts[0] << 8 | parts[1]);
  low = static_cast<std::uint16_t>(parts[2] << 8 | parts[3]);
  return true;
}

// Groups of one to four hex digits separated by ":", at most one "::" standing for one or more
// zero groups, an IPv4 tail in place of the last two groups.
std::optional<Groups> ParseGroups(std::string_view text) {
  Groups groups{};
  std::size_t count = 0;
  std::optional<std::size_t> gap;
  std::size_t i = 0;
  if (text.substr(0, 2) == "::") {
    gap = 0;
    i = 2;
  } else if (text.empty() || text[0] == ':') {
    return std::nullopt;
  }
  while (i < text.size()) {
    if (count == groups.size()) return std::nullopt;
    if (text[i] == ':') {
      if (gap) return std::nullopt;
      gap = count;
      ++i;
      continue;
    }
    const std::size_t start = i;
    unsigned value = 0;
    while (i < text.size() && i - start < 4 && HexValue(text[i]) >= 0) {
      value = value * 16 + static_cast<unsigned>(HexValue(text[i++]));
    }
    if (i == start) return std::nullopt;
    if (i < text.size() && text[i] == '.') {
      if (count + 2 > groups.size()) return std::nullopt;
      if (!ParseIpv4Tail(text.substr(start), groups[count], groups[count + 1])) return std::nullopt;
      count += 2;
      i = text.size();
      break;
    }
    groups[count++] = static_cast<std::uint16_t>(value);
    if (i < text.size()) {
      if (text[i] != ':' || i + 1 == text.size()) return std::nullopt;
      ++i;
    }
  }
  if (!gap) {
    if (count != groups.size()) return std::nullopt;
    return groups;
  }
  if (count == groups.size()) return std::nullopt;  // "::" must stand for at least one group
  // The groups after the gap move to the end.
  const std::size_t after = count - *gap;
  Groups placed{};
  for (std::size_t n = 0; n < *gap; ++n) placed[n] = groups[n];
  for (std::size_t n = 0; n < after; ++n) placed[groups.size() - after + n] = groups[*gap + n];
  return placed;
}

std::string Format(const Groups& groups) {
  // The first longest run of at least two zero groups.
  std::size_t bestStart = groups.size();
  std::size_t bestLength = 1;
  for (std::size_t n = 0; n < groups.size();) {
    if (groups[n] != 0) {
      ++n;
      continue;
    }
    std::size_t end = n;
    while (end < groups.size() && groups[end] == 0) ++end;
    if (end - n > bestLength) {
      bestStart = n;
      bestLength = end - n;
    }
    n = end;
  }
  std::string text;
  for (std::size_t n = 0; n < groups.size(); ++n) {
    if (n == bestStart) {
      text += "::";
      n += bestLength - 1;
      continue;
    }
    if (!text.empty() && text.back() != ':') text += ':';
    char group[8];
    std::snprintf(group, sizeof group, "%x", static_cast<unsigned>(groups[n]));
    text += group;
  }
  return text;
}
}  // namespace

std::optional<std::string> CanonicalIpv6(std::string_view text) {
  if (text.size() > kMaxIpv6Chars) return std::nullopt;
  const std::optional<Groups> groups = ParseGroups(text);
  if (!groups) return std::nullopt;
  return Format(*groups);
}

}  // namespace pel
