#include "net/ParseNumber.h"

#include <cstdint>

namespace pel {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Two's complement reading of a 32-bit pattern, without relying on a narrowing conversion.
int32_t ToSigned(uint32_t value) {
  if (value <= static_cast<uint32_t>(INT32_MAX)) return static_cast<int32_t>(value);
  return static_cast<int32_t>(value - 0x80000000u) + INT32_MIN;
}

}  // namespace

int32_t ParseNumber(const char* text, size_t available) {
  if (text == nullptr) return 0;
  size_t i = 0;
  uint32_t value = 0;
  if (available >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    for (i = 2; i < available; ++i) {
      const int digit = HexDigit(text[i]);
      if (digit < 0) break;
      value = value * 16u + static_cast<uint32_t>(digit);
    }
    return ToSigned(value);
  }
  while (i < available && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < available && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  for (; i < available && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
  }
  return ToSigned(negative ? 0u - value : value);
}

int32_t ParseNumber(const char* text) {
  // The terminator stops every reading, so no length is needed.
  return ParseNumber(text, SIZE_MAX);
}

}  // namespace pel
