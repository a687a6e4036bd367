#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kvsim {

// The length of the header block up to and including its empty line (lines may end in CR LF
// or a bare LF), or 0 while the block is not complete.
std::size_t FindHeaderEnd(std::string_view bytes);

struct HttpRequest {
  std::string method;
  std::string target;                        // as sent: "/p?q" or "http://host:port/p?q"
  std::string version;                       // "HTTP/1.1"
  std::string path;                          // the path and query that routes are matched against
  std::optional<std::string> authorization;  // value of the first Authorization header
};

// Parses a complete header block; false when it is not a well-formed HTTP/1.x request.
bool ParseRequest(std::string_view head, HttpRequest& out);

// The credentials of an Authorization value "Basic <credentials>", or nothing for any other
// form.
std::optional<std::string> BasicCredentials(std::string_view authorization);

}  // namespace kvsim
