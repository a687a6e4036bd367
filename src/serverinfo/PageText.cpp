#include "serverinfo/PageText.h"

#include <cstring>

#include "net/FindInBuffer.h"
#include "net/ParseNumber.h"

namespace pel {

std::optional<size_t> PageText::Find(const char* key) const {
  const char* match = FindInBuffer(data_, key, length_);
  if (match == nullptr) return std::nullopt;
  return static_cast<size_t>(match - data_);
}

int32_t PageText::NumberAt(size_t offset) const {
  if (offset >= length_) return 0;
  return ParseNumber(data_ + offset, length_ - offset);
}

int32_t PageText::NumberAfter(const char* key, int32_t absent) const {
  const std::optional<size_t> at = Find(key);
  if (!at) return absent;
  return NumberAt(*at + std::strlen(key));
}

std::optional<std::string> PageText::QuotedAfter(const char* key, size_t maxChars) const {
  const std::optional<size_t> at = Find(key);
  if (!at) return std::nullopt;
  const size_t start = *at + std::strlen(key);
  const void* close = start < length_ ? std::memchr(data_ + start, '"', length_ - start) : nullptr;
  if (close == nullptr) return std::nullopt;
  size_t length = static_cast<const char*>(close) - (data_ + start);
  const void* nul = std::memchr(data_ + start, '\0', length);
  if (nul != nullptr) length = static_cast<const char*>(nul) - (data_ + start);
  if (length > maxChars) length = maxChars;
  return std::string(data_ + start, length);
}

}  // namespace pel
