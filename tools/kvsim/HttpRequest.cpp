#include "HttpRequest.h"

#include <cstring>
#include <vector>

#include "Text.h"

namespace kvsim {

namespace {

bool IsTokenChar(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return c != '\0' && std::strchr("!#$%&'*+-.^_`|~", c) != nullptr;
}

bool IsToken(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (!IsTokenChar(c)) return false;
  }
  return true;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool IsVersion(std::string_view v) {
  return v.size() == 8 && v.substr(0, 5) == "HTTP/" && v[5] >= '0' && v[5] <= '9' && v[6] == '.' &&
         v[7] >= '0' && v[7] <= '9';
}

bool IsTargetChar(char c) { return c > ' ' && c < 0x7f; }

// The path and query of an origin-form or absolute-form ("http://host:port/p?q") target.
std::optional<std::string> TargetPath(std::string_view target) {
  for (char c : target) {
    if (!IsTargetChar(c)) return std::nullopt;
  }
  if (!target.empty() && target.front() == '/') return std::string(target);
  const std::string_view scheme = "http://";
  if (target.size() <= scheme.size() || !EqualsNoCase(target.substr(0, scheme.size()), scheme)) {
    return std::nullopt;
  }
  std::string_view rest = target.substr(scheme.size());
  std::size_t pathStart = rest.find_first_of("/?");
  if (pathStart == 0) return std::nullopt;  // no host
  if (pathStart == std::string_view::npos) return std::string("/");
  std::string path(rest.substr(pathStart));
  if (path.front() == '?') path.insert(0, "/");
  return path;
}

std::vector<std::string_view> SplitLines(std::string_view head) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < head.size()) {
    std::size_t end = head.find('\n', start);
    if (end == std::string_view::npos) end = head.size();
    std::string_view line = head.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::size_t FindHeaderEnd(std::string_view bytes) {
  for (std::size_t lf = bytes.find('\n'); lf != std::string_view::npos;
       lf = bytes.find('\n', lf + 1)) {
    if (lf + 1 < bytes.size() && bytes[lf + 1] == '\n') return lf + 2;
    if (lf + 2 < bytes.size() && bytes[lf + 1] == '\r' && bytes[lf + 2] == '\n') return lf + 3;
  }
  return 0;
}

bool ParseRequest(std::string_view head, HttpRequest& out) {
  std::vector<std::string_view> lines = SplitLines(head);
  if (lines.empty()) return false;

  std::string_view requestLine = lines[0];
  std::size_t sp1 = requestLine.find(' ');
  std::size_t sp2 = sp1 == std::string_view::npos ? sp1 : requestLine.find(' ', sp1 + 1);
  if (sp2 == std::string_view::npos) return false;
  std::string_view method = requestLine.substr(0, sp1);
  std::string_view target = requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
  std::string_view version = requestLine.substr(sp2 + 1);
  if (!IsToken(method) || !IsVersion(version)) return false;
  std::optional<std::string> path = TargetPath(target);
  if (!path) return false;

  HttpRequest request;
  request.method = std::string(method);
  request.target = std::string(target);
  request.version = std::string(version);
  request.path = std::move(*path);

  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (line.empty()) break;  // the end of the block
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || !IsToken(line.substr(0, colon))) return false;
    if (EqualsNoCase(line.substr(0, colon), "Authorization") && !request.authorization) {
      request.authorization = std::string(Trim(line.substr(colon + 1)));
    }
  }
  out = std::move(request);
  return true;
}

std::optional<std::string> BasicCredentials(std::string_view authorization) {
  authorization = Trim(authorization);
  std::size_t blank = authorization.find_first_of(" \t");
  if (blank == std::string_view::npos || !EqualsNoCase(authorization.substr(0, blank), "Basic")) {
    return std::nullopt;
  }
  std::string_view credentials = Trim(authorization.substr(blank));
  if (credentials.empty() || credentials.find_first_of(" \t") != std::string_view::npos) {
    return std::nullopt;
  }
  return std::string(credentials);
}

}  // namespace kvsim
