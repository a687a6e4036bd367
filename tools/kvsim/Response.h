#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvsim {

enum class ContentLength { kAuto, kNone, kFixed };

// The pieces of an ordinary response: status line, the route's headers in order, then the
// Content-Length header where one is sent, the empty line and the body.
struct ResponseParts {
  std::string statusLine = "HTTP/1.1 200 OK";
  std::vector<std::string> headers;
  ContentLength contentLength = ContentLength::kAuto;
  uint64_t announcedLength = 0;  // for kFixed
  std::string body;
};

std::string ComposeResponse(const ResponseParts& parts);

// kvsim's own answers (400, 401, 404): a short text body with its length, then close.
std::string PlainResponse(std::string_view statusLine, std::string_view body,
                          std::vector<std::string> extraHeaders = {});

}  // namespace kvsim
