#include "Numbers.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

namespace hostkit {
namespace {

bool Digit(char c) { return c >= '0' && c <= '9'; }

// Decimal, or hexadecimal after 0x (never octal).
int Base(std::string_view digits) {
  return digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X') ? 16
                                                                                          : 10;
}

// strtoll/strtoull on a copy (a view is not NUL-terminated), which must end where the text
// does and stay in range.
template <typename T, typename Convert>
bool Whole(std::string_view text, bool sign, Convert convert, T* out) {
  std::string_view digits = text;
  if (sign && !digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
  if (digits.empty() || !Digit(digits[0])) return false;
  const std::string copy(text);
  char* end = nullptr;
  errno = 0;
  const T value = convert(copy.c_str(), &end, Base(digits));
  if (errno == ERANGE || end != copy.c_str() + copy.size()) return false;
  *out = value;
  return true;
}

}  // namespace

bool ParseInt(std::string_view text, int* out) {
  long long value = 0;
  if (!Whole(text, true, std::strtoll, &value) || value < INT_MIN || value > INT_MAX) {
    return false;
  }
  *out = static_cast<int>(value);
  return true;
}

bool ParseUnsigned(std::string_view text, unsigned long long* out) {
  return Whole(text, false, std::strtoull, out);
}

bool ParseIntPair(std::string_view text, char separator, int* a, int* b) {
  // Searched after the first character, so that "-1,2" splits after "-1".
  const size_t at = text.find(separator, 1);
  return at != text.npos && ParseInt(text.substr(0, at), a) && ParseInt(text.substr(at + 1), b);
}

}  // namespace hostkit
