#include "Numbers.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

namespace hostkit {
namespace {

template <typename Char>
bool StartsLikeNumber(std::basic_string_view<Char> text, bool signAllowed) {
  if (text.empty()) return false;
  const Char first = text[0];
  if (first >= '0' && first <= '9') return true;
  return signAllowed && (first == '-' || first == '+') && text.size() > 1 && text[1] >= '0' &&
         text[1] <= '9';
}

// Decimal, or hexadecimal after 0x (never octal: "010" is ten).
template <typename Char>
int Base(std::basic_string_view<Char> text) {
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') ? 16 : 10;
}

// strtoll/wcstoll on a copy: the views are not NUL-terminated.
long long ToLongLong(const std::string& s, char** end, int base) {
  return std::strtoll(s.c_str(), end, base);
}
long long ToLongLong(const std::wstring& s, wchar_t** end, int base) {
  return std::wcstoll(s.c_str(), end, base);
}

template <typename Char>
bool Signed(std::basic_string_view<Char> text, long long* out) {
  if (!StartsLikeNumber(text, true)) return false;
  const std::basic_string<Char> copy(text);
  Char* end = nullptr;
  errno = 0;
  const long long value = ToLongLong(copy, &end, Base(text));
  if (errno == ERANGE || end != copy.c_str() + copy.size()) return false;
  *out = value;
  return true;
}

template <typename Char>
bool Pair(std::basic_string_view<Char> text, Char separator, long long* a, long long* b) {
  // The separator is searched after the first character, so that "-1,2" splits after "-1".
  const size_t at = text.find(separator, 1);
  return at != text.npos && Signed(text.substr(0, at), a) && Signed(text.substr(at + 1), b);
}

}  // namespace

bool ParseNumber(std::wstring_view text, long long* out) { return Signed(text, out); }
bool ParseNumber(std::string_view text, long long* out) { return Signed(text, out); }

bool ParseUnsigned(std::wstring_view text, unsigned long long* out) {
  if (!StartsLikeNumber(text, false)) return false;
  const std::wstring copy(text);
  wchar_t* end = nullptr;
  errno = 0;
  const unsigned long long value = std::wcstoull(copy.c_str(), &end, Base(text));
  if (errno == ERANGE || end != copy.c_str() + copy.size()) return false;
  *out = value;
  return true;
}

bool ParsePair(std::wstring_view text, wchar_t separator, long long* a, long long* b) {
  return Pair(text, separator, a, b);
}
bool ParsePair(std::string_view text, char separator, long long* a, long long* b) {
  return Pair(text, separator, a, b);
}

bool ParseInt(std::string_view text, int* out) {
  long long value = 0;
  if (!ParseNumber(text, &value) || value < INT_MIN || value > INT_MAX) return false;
  *out = static_cast<int>(value);
  return true;
}

bool ParseIntPair(std::string_view text, char separator, int* a, int* b) {
  long long x = 0;
  long long y = 0;
  if (!ParsePair(text, separator, &x, &y) || x < INT_MIN || x > INT_MAX || y < INT_MIN ||
      y > INT_MAX) {
    return false;
  }
  *a = static_cast<int>(x);
  *b = static_cast<int>(y);
  return true;
}

}  // namespace hostkit
