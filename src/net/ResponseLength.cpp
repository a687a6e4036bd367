#include "net/ResponseLength.h"

#include "Common/SockUtil/sock_util.h"

namespace pel {

namespace {
constexpr char kContentLength[] = "Content-Length:";
constexpr size_t kContentLengthSize = sizeof kContentLength - 1;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

long long ContentLengthOf(const char* header, size_t headerLength) {
  const char* field = mem_find(header, headerLength, kContentLength, kContentLengthSize);
  if (field == nullptr) return -1;
  const char* end = header + headerLength;
  const char* p = field + kContentLengthSize;
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  if (p == end || !IsDigit(*p)) return -1;
  long long value = 0;
  for (; p < end && IsDigit(*p); ++p) {
    value = value * 10 + (*p - '0');
    if (value > kContentLengthCap) value = kContentLengthCap;
  }
  return value;
}

bool ResponseProgress::Complete(const char* buffer, size_t received) {
  while (headerLength_ == 0 && scanned_ < received) {
    if (recogniser_.Feed(buffer[scanned_++])) {
      headerLength_ = scanned_;
      const long long body = ContentLengthOf(buffer, headerLength_);
      if (body >= 0) total_ = static_cast<long long>(headerLength_) + body;
    }
  }
  return total_ >= 0 && static_cast<long long>(received) >= total_;
}

}  // namespace pel
