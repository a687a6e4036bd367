// Feeds arbitrary bytes to the page readers' value and key search: ParseNumber over an
// unterminated area, and FindInBuffer / mem_find with a pattern taken from the input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "Common/SockUtil/sock_util.h"
#include "net/FindInBuffer.h"
#include "net/ParseNumber.h"

using namespace pel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto area = std::make_unique<char[]>(size == 0 ? 1 : size);
  if (size > 0) std::memcpy(area.get(), data, size);
  const char* text = area.get();

  const int32_t bounded = ParseNumber(text, size);
  if (std::memchr(text, '\0', size) == nullptr) {
    const std::string terminated(text, size);
    if (ParseNumber(terminated.c_str()) != bounded) std::abort();
  }

  if (size == 0) return 0;
  // First byte: pattern length; then the pattern; the rest is the buffer.
  const size_t patternLength = std::min<size_t>(static_cast<unsigned char>(text[0]) % 16, size - 1);
  const char* pattern = text + 1;
  const char* buffer = pattern + patternLength;
  const size_t length = size - 1 - patternLength;

  const char* found = mem_find(buffer, length, pattern, patternLength);
  const char* expected = nullptr;
  if (length > 0 && length >= patternLength) {
    const char* hit = std::search(buffer, buffer + length, pattern, pattern + patternLength);
    if (hit != buffer + length || patternLength == 0) expected = hit;
  }
  if (found != expected) std::abort();

  const std::string key(pattern, patternLength);
  const char* byText = FindInBuffer(buffer, key.c_str(), length);
  if (key.find('\0') == std::string::npos && byText != found) std::abort();
  return 0;
}
