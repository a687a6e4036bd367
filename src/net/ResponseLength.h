#pragma once

#include <cstddef>

#include "net/HeaderEndRecogniser.h"

namespace pel {

// Values above this are cut to it; no buffer the client reads into is that large.
constexpr long long kContentLengthCap = 0x80000000LL;

// The decimal value after "Content-Length:" (exact case, blanks skipped) within the first
// `headerLength` bytes, capped at kContentLengthCap; -1 when the field is missing or has no
// digits.
long long ContentLengthOf(const char* header, size_t headerLength);

// Follows a response as it arrives and tells when it is complete although the connection
// stays open: once the header has ended and announced "Content-Length:", the response ends
// that many bytes after the header. Without the field the end is only known from the close.
class ResponseProgress {
 public:
  // `buffer` holds the `received` bytes of the response so far (a growing prefix).
  bool Complete(const char* buffer, size_t received);

  // Header length including its empty line, 0 while the header has not ended.
  size_t HeaderLength() const { return headerLength_; }

 private:
  HeaderEndRecogniser recogniser_;
  size_t scanned_ = 0;
  size_t headerLength_ = 0;
  long long total_ = -1;
};

}  // namespace pel
