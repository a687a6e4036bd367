#include "trust/HostName.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "trust/Ipv6Text.h"

namespace pel {

namespace {
constexpr std::size_t kMaxNameChars = 253;
constexpr std::size_t kMaxLabelChars = 63;
constexpr std::size_t kMaxPortDigits = 5;
constexpr int kMaxPort = 65535;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f'); }
bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || IsDigit(c) || c == '-' || c == '_' || c == '.';
}

std::vector<std::string_view> Labels(std::string_view name) {
  std::vector<std::string_view> labels;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = name.find('.', start);
    labels.push_back(name.substr(start, dot - start));
    if (dot == std::string_view::npos) return labels;
    start = dot + 1;
  }
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// What a browser would read as a number: decimal digits, or "0x" and hex digits.
bool LooksNumeric(std::string_view label) {
  if (AllDigits(label)) return true;
  if (label.substr(0, 2) != "0x") return false;
  for (char c : label.substr(2)) {
    if (!IsHexDigit(c)) return false;
  }
  return true;
}

bool IsDottedQuad(const std::vector<std::string_view>& labels) {
  if (labels.size() != 4) return false;
  for (std::string_view label : labels) {
    if (!AllDigits(label) || label.size() > 3 || (label.size() > 1 && label[0] == '0')) {
      return false;
    }
    unsigned value = 0;
    for (char c : label) value = value * 10 + static_cast<unsigned>(c - '0');
    if (value > 255) return false;
  }
  return true;
}
}  // namespace

std::optional<CanonicalHost> CanonicaliseHost(std::string_view text) {
  if (text.empty() || text.size() > kMaxHostTextChars) return std::nullopt;
  if (text.front() == '[') {
    if (text.back() != ']') return std::nullopt;
    std::optional<std::string> address = CanonicalIpv6(text.substr(1, text.size() - 2));
    if (!address) return std::nullopt;
    return CanonicalHost{HostKind::IPv6, "[" + *address + "]"};
  }

  std::string name;
  for (char c : text) {
    const char lower = Lower(c);
    if (!IsNameChar(lower)) return std::nullopt;
    name.push_back(lower);
  }
  if (name.back() == '.') name.pop_back();
  if (name.empty() || name.size() > kMaxNameChars) return std::nullopt;

  const std::vector<std::string_view> labels = Labels(name);
  for (std::string_view label : labels) {
    if (label.empty() || label.size() > kMaxLabelChars) return std::nullopt;
  }
  if (LooksNumeric(labels.back())) {
    if (!IsDottedQuad(labels)) return std::nullopt;
    return CanonicalHost{HostKind::IPv4, name};
  }
  return CanonicalHost{HostKind::Name, name};
}

std::optional<HostAndPort> ReadHostAndPort(std::string_view authority) {
  std::size_t hostEnd = authority.size();
  if (!authority.empty() && authority.front() == '[') {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    hostEnd = close + 1;
  } else {
    hostEnd = std::min(authority.find(':'), authority.size());
  }
  std::optional<CanonicalHost> host = CanonicaliseHost(authority.substr(0, hostEnd));
  if (!host) return std::nullopt;
  HostAndPort result{std::move(*host), 0};
  if (hostEnd == authority.size()) return result;

  const std::string_view port = authority.substr(hostEnd);
  if (port.size() < 2 || port.size() > kMaxPortDigits + 1 || port[0] != ':') return std::nullopt;
  int value = 0;
  for (char c : port.substr(1)) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value == 0 || value > kMaxPort) return std::nullopt;
  result.port = value;
  return result;
}

}  // namespace pel
