#include "Response.h"

namespace kvsim {

std::string ComposeResponse(const ResponseParts& parts) {
  std::string out = parts.statusLine + "\r\n";
  for (const std::string& header : parts.headers) out += header + "\r\n";
  if (parts.contentLength == ContentLength::kAuto) {
    out += "Content-Length: " + std::to_string(parts.body.size()) + "\r\n";
  } else if (parts.contentLength == ContentLength::kFixed) {
    out += "Content-Length: " + std::to_string(parts.announcedLength) + "\r\n";
  }
  out += "\r\n";
  out += parts.body;
  return out;
}

std::string PlainResponse(std::string_view statusLine, std::string_view body,
                          std::vector<std::string> extraHeaders) {
  ResponseParts parts;
  parts.statusLine = std::string(statusLine);
  parts.headers = std::move(extraHeaders);
  parts.headers.push_back("Content-Type: text/plain");
  parts.headers.push_back("Connection: close");
  parts.body = std::string(body) + "\r\n";
  return ComposeResponse(parts);
}

}  // namespace kvsim
