#include "trust/AllowedSites.h"

#include <optional>

#include "trust/HostName.h"
#include "trust/PageSite.h"

namespace pel {

namespace {
constexpr std::string_view kSchemeEnd = "://";
constexpr std::string_view kWildcard = "*.";

bool IsBlank(char16_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Lower-case ASCII, or nothing when a unit is outside printable ASCII.
std::optional<std::string> LowerAscii(std::u16string_view text) {
  std::string out;
  for (char16_t unit : text) {
    if (unit < 0x21 || unit > 0x7e) return std::nullopt;
    char c = static_cast<char>(unit);
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    out.push_back(c);
  }
  return out;
}

std::optional<AllowedSite> ReadSite(std::string_view entry) {
  const std::size_t schemeEnd = entry.find(kSchemeEnd);
  if (schemeEnd == std::string_view::npos) return std::nullopt;
  AllowedSite site;
  site.scheme = std::string(entry.substr(0, schemeEnd));
  if (site.scheme != "http" && site.scheme != "https") return std::nullopt;

  std::string_view authority = entry.substr(schemeEnd + kSchemeEnd.size());
  if (!authority.empty() && authority.back() == '/') authority.remove_suffix(1);
  if (authority.substr(0, kWildcard.size()) == kWildcard) {
    site.subdomains = true;
    authority.remove_prefix(kWildcard.size());
  }
  // Everything else that is not a plain host and port is refused by ReadHostAndPort.
  std::optional<HostAndPort> read = ReadHostAndPort(authority);
  if (!read) return std::nullopt;
  if (site.subdomains &&
      (read->host.kind != HostKind::Name || read->host.text.find('.') == std::string::npos)) {
    return std::nullopt;
  }
  site.host = std::move(read->host.text);
  site.port = read->port != 0 ? read->port : DefaultPort(site.scheme);
  return site;
}

void AddEntry(std::u16string_view raw, AllowedSites& out) {
  const std::u16string_view trimmed = Trim(raw);
  if (trimmed.empty()) return;
  if (out.sites.size() + out.sameOrigin + out.intranet + out.any >= kMaxAllowedEntries ||
      trimmed.size() > kMaxEntryChars) {
    ++out.ignored;
    return;
  }
  const std::optional<std::string> entry = LowerAscii(trimmed);
  if (!entry) {
    ++out.ignored;
  } else if (*entry == "same-origin") {
    out.sameOrigin = true;
  } else if (*entry == "intranet") {
    out.intranet = true;
  } else if (*entry == "any") {
    out.any = true;
  } else if (std::optional<AllowedSite> site = ReadSite(*entry)) {
    out.sites.push_back(std::move(*site));
  } else {
    ++out.ignored;
  }
}

void AddEntries(std::u16string_view text, AllowedSites& out) {
  for (;;) {
    const std::size_t semicolon = text.find(u';');
    AddEntry(text.substr(0, semicolon), out);
    if (semicolon == std::u16string_view::npos) return;
    text.remove_prefix(semicolon + 1);
  }
}
}  // namespace

bool SiteMatches(const AllowedSite& site, const PageSite& page) {
  if (page.kind != PageKind::Web || page.scheme != site.scheme || page.port != site.port) {
    return false;
  }
  if (!site.subdomains) return page.host == site.host;
  const std::size_t suffix = site.host.size() + 1;
  return page.host.size() > suffix &&
         page.host.compare(page.host.size() - suffix, suffix, "." + site.host) == 0;
}

AllowedSites ParseAllowedSites(const std::vector<std::u16string>& entries) {
  AllowedSites out;
  std::size_t units = 0;
  for (const std::u16string& entry : entries) {
    if (units + entry.size() > kMaxSettingUnits) {
      ++out.ignored;
      break;
    }
    units += entry.size();
    AddEntries(entry, out);
  }
  return out;
}

AllowedSites ParseAllowedSites(std::u16string_view text) {
  AllowedSites out;
  if (text.size() > kMaxSettingUnits) {
    // Only whole entries: a cut one could name another site ("https://example.c").
    const std::size_t lastWhole = text.rfind(u';', kMaxSettingUnits);
    text = text.substr(0, lastWhole == std::u16string_view::npos ? 0 : lastWhole);
    ++out.ignored;
  }
  AddEntries(text, out);
  return out;
}

}  // namespace pel
