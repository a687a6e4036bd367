#include "net/ResolveServerAddress.h"

namespace pel {

namespace {
constexpr int kDefaultPort = 80;
constexpr int kMaxPort = 65535;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Leading blanks skipped, digits up to the first non-digit, 0 without digits. A number above
// the largest port is refused rather than wrapped into some other port.
bool ParsePort(std::string_view text, int& port) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kMaxPort) return false;
  }
  port = static_cast<int>(value);
  return true;
}

int Fail(std::string& host, int& port, std::string* user, std::string* password) {
  host.clear();
  port = 0;
  if (user != nullptr) user->clear();
  if (password != nullptr) password->clear();
  return -1;
}
}  // namespace

int ResolveServerAddress(std::string_view text, std::string& host, int& port,
                         std::string* user, std::string* password,
                         const NameResolver& resolve) {
  text = text.substr(0, text.find('\0'));
  if (text.empty()) return Fail(host, port, user, password);

  const std::size_t at = text.find('@');
  const std::size_t colon = text.find(':');
  std::string_view userText;
  std::string_view passwordText;
  std::string_view hostPart = text;
  if (at != std::string_view::npos) {
    // Credentials only when the first ":" comes before the "@"; otherwise whatever stands
    // before the "@" is dropped.
    if (colon < at) {
      userText = text.substr(0, colon);
      passwordText = text.substr(colon + 1, at - colon - 1);
    }
    hostPart = text.substr(at + 1);
  }

  const std::size_t separator = hostPart.find(':');
  int portValue = kDefaultPort;
  if (separator != std::string_view::npos &&
      !ParsePort(hostPart.substr(separator + 1), portValue)) {
    return Fail(host, port, user, password);
  }
  const std::string_view hostText = hostPart.substr(0, separator);
  if (hostText.size() > kMaxHostChars) return Fail(host, port, user, password);
  const bool wantCredentials = user != nullptr || password != nullptr;
  if (wantCredentials && userText.size() + passwordText.size() > kMaxCredentialChars) {
    return Fail(host, port, user, password);
  }

  std::string hostResult(hostText);
  if (!hostText.empty() && IsAsciiLetter(hostText.front())) {
    std::optional<std::string> dotted = resolve ? resolve(hostResult) : std::nullopt;
    if (!dotted) return Fail(host, port, user, password);
    hostResult = std::move(*dotted);
  }

  host = std::move(hostResult);
  port = portValue;
  if (user != nullptr) user->assign(userText);
  if (password != nullptr) password->assign(passwordText);
  return 0;
}

}  // namespace pel
