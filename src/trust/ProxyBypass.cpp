#include "trust/ProxyBypass.h"

#include "trust/HostName.h"

namespace pel {

namespace {
constexpr std::string_view kLocal = "<local>";
constexpr std::string_view kSchemeEnd = "://";
constexpr std::size_t kMaxPortDigits = 5;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// "*" matches any run of characters; on a mismatch the last "*" takes one more character.
// Both texts are bounded, so the retries are too.
bool WildcardMatch(std::string_view pattern, std::string_view text) {
  std::size_t p = 0;
  std::size_t t = 0;
  std::size_t star = std::string_view::npos;
  std::size_t starText = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      starText = t;
    } else if (p < pattern.size() && Lower(pattern[p]) == Lower(text[t])) {
      ++p;
      ++t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++starText;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool IsLoopback(std::string_view address) {
  const std::optional<CanonicalHost> host = CanonicaliseHost(address);
  return host && host->kind == HostKind::IPv4 && host->text.compare(0, 4, "127.") == 0;
}

bool IsLocal(const BypassTarget& target) {
  const bool dotless = !target.writtenHost.empty() &&
                       target.writtenHost.find('.') == std::string_view::npos;
  return dotless || SameText(target.writtenHost, "localhost") || IsLoopback(target.address);
}

// A trailing ":digits" is the entry's port; nothing when the entry names none. -1 for a port
// that cannot be one, so that the entry names nothing.
int SplitPort(std::string_view& entry) {
  const std::size_t colon = entry.rfind(':');
  if (colon == std::string_view::npos) return 0;
  const std::string_view digits = entry.substr(colon + 1);
  if (digits.empty() || digits.size() > kMaxPortDigits) return -1;
  int port = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    port = port * 10 + (c - '0');
  }
  entry = entry.substr(0, colon);
  return port == 0 ? -1 : port;
}

bool EntryNames(std::string_view entry, const BypassTarget& target) {
  if (SameText(entry, kLocal)) return IsLocal(target);
  const std::size_t schemeEnd = entry.find(kSchemeEnd);
  if (schemeEnd != std::string_view::npos) {
    if (!SameText(entry.substr(0, schemeEnd), target.tls ? "https" : "http")) return false;
    entry.remove_prefix(schemeEnd + kSchemeEnd.size());
  }
  const int port = SplitPort(entry);
  if (port < 0 || (port > 0 && port != target.port) || entry.empty()) return false;
  return (!target.writtenHost.empty() && WildcardMatch(entry, target.writtenHost)) ||
         (!target.address.empty() && WildcardMatch(entry, target.address));
}
}  // namespace

bool ProxyBypassed(std::string_view list, const BypassTarget& target) {
  for (std::size_t count = 0; !list.empty() && count < kMaxBypassEntries; ++count) {
    const std::size_t end = list.find(';');
    const std::string_view entry = Trim(list.substr(0, end));
    if (!entry.empty() && entry.size() <= kMaxBypassEntryChars && EntryNames(entry, target)) {
      return true;
    }
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  return false;
}

}  // namespace pel
