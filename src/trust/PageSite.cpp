#include "trust/PageSite.h"

#include <optional>

#include "trust/HostName.h"

namespace pel {

namespace {
constexpr std::size_t kMaxSchemeChars = 32;
constexpr char kNotAscii = '\x7f';

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Every unit outside ASCII becomes a character that no rule accepts.
std::string Narrow(std::u16string_view url) {
  std::string text;
  text.reserve(url.size());
  for (char16_t unit : url) text.push_back(unit < 0x80 ? static_cast<char>(unit) : kNotAscii);
  return text;
}

std::optional<std::string> ReadScheme(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == 0 || colon == std::string_view::npos || colon > kMaxSchemeChars) return std::nullopt;
  if (!IsAlpha(text[0])) return std::nullopt;
  for (char c : text.substr(0, colon)) {
    if (!IsAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
      return std::nullopt;
    }
  }
  return Lower(text.substr(0, colon));
}

// "C:" or "C|", alone or before a separator.
bool StartsWithDrive(std::string_view path) {
  return path.size() >= 2 && IsAlpha(path[0]) && (path[1] == ':' || path[1] == '|') &&
         (path.size() == 2 || IsSeparator(path[2]));
}

PageSite WebSite(std::string scheme, std::string_view rest, bool truncated) {
  PageSite page;
  if (rest.substr(0, 2) != "//") return page;
  rest.remove_prefix(2);
  const std::size_t end = rest.find_first_of("/?#\\");
  if ((end == std::string_view::npos && truncated) ||
      (end != std::string_view::npos && rest[end] == '\\')) {
    return page;
  }
  std::optional<HostAndPort> authority = ReadHostAndPort(rest.substr(0, end));
  if (!authority) return page;
  page.kind = PageKind::Web;
  page.port = authority->port != 0 ? authority->port : DefaultPort(scheme);
  page.scheme = std::move(scheme);
  page.host = std::move(authority->host.text);
  return page;
}

// Local only with a drive letter: "file:///C:/", "file://localhost/C:/", "file://C:/",
// "file:C:/". Two separators where a path should begin name another machine, however they
// are spelt ("file:////server/share", "file:\\\\server\\share").
PageSite FileSite(std::string_view rest) {
  PageSite page;
  page.scheme = "file";
  page.kind = PageKind::Other;
  if (rest.size() >= 2 && IsSeparator(rest[0]) && IsSeparator(rest[1])) {
    rest.remove_prefix(2);
    const std::size_t end = std::min(rest.find_first_of("/\\?#"), rest.size());
    const std::string_view authority = rest.substr(0, end);
    if (StartsWithDrive(rest)) {
      page.kind = PageKind::LocalFile;
      return page;
    }
    if (!authority.empty() && Lower(authority) != "localhost") {
      std::optional<CanonicalHost> host = CanonicaliseHost(authority);
      if (!host) page.kind = PageKind::Unreadable;
      else page.host = std::move(host->text);
      return page;
    }
    rest.remove_prefix(end);
  }
  if (!rest.empty() && IsSeparator(rest[0])) rest.remove_prefix(1);
  if (StartsWithDrive(rest)) page.kind = PageKind::LocalFile;
  return page;
}
}  // namespace

int DefaultPort(std::string_view scheme) {
  if (scheme == "http") return 80;
  if (scheme == "https") return 443;
  return 0;
}

PageSite ReadPageSite(std::u16string_view url) {
  const bool truncated = url.size() > kMaxPageUrlUnits;
  const std::string text = Narrow(url.substr(0, kMaxPageUrlUnits));
  std::optional<std::string> scheme = ReadScheme(text);
  if (!scheme) return {};
  const std::string_view rest = std::string_view(text).substr(scheme->size() + 1);
  if (*scheme == "http" || *scheme == "https") return WebSite(std::move(*scheme), rest, truncated);
  if (*scheme == "file") return FileSite(rest);
  PageSite page;
  page.kind = PageKind::Other;
  page.scheme = std::move(*scheme);
  return page;
}

std::string DescribePageSite(const PageSite& page) {
  switch (page.kind) {
    case PageKind::Web: {
      std::string site = page.scheme + "://" + page.host;
      if (page.port != DefaultPort(page.scheme)) site += ":" + std::to_string(page.port);
      return site;
    }
    case PageKind::LocalFile:
      return "file://";
    case PageKind::Other:
      return page.host.empty() ? page.scheme + ":" : page.scheme + "://" + page.host;
    case PageKind::Unreadable:
      break;
  }
  return {};
}

}  // namespace pel
