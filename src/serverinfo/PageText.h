#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pel {

// The received bytes of a server's key=value page (status line, header and body as they came).
// There are no lines: a key is the first place anywhere in the bytes where its text occurs,
// case-sensitive, and its value starts right after it. Every read stays inside the received
// bytes, so a page that filled its buffer to the last byte (and so has no terminator) is read
// safely.
class PageText {
 public:
  PageText(const char* data, size_t length) : data_(data), length_(data ? length : 0) {}

  const char* data() const { return data_; }
  size_t length() const { return length_; }

  // Offset of the first occurrence of the terminated `key`.
  std::optional<size_t> Find(const char* key) const;

  // ParseNumber of the bytes from `offset` to the end; 0 when `offset` is past the end.
  int32_t NumberAt(size_t offset) const;

  // The number right after `key`, or `absent` when the key does not occur.
  int32_t NumberAfter(const char* key, int32_t absent) const;

  // The byte at `offset`, NUL past the end.
  char CharAt(size_t offset) const { return offset < length_ ? data_[offset] : '\0'; }

  // The bytes between the end of `key` (which ends in an opening quote) and the next double
  // quote; nothing when the key or the closing quote is missing. Cut at a NUL byte, since the
  // text goes on as a terminated string, and to `maxChars`.
  std::optional<std::string> QuotedAfter(const char* key, size_t maxChars) const;

 private:
  const char* data_;
  size_t length_;
};

}  // namespace pel
