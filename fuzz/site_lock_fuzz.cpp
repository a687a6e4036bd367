// Feeds arbitrary bytes to the site lock: the input is split at 0xFF bytes into the page URL
// (bytes widened to UTF-16 units, or two bytes a unit), the server host, the AllowedSites value
// (one string split at ";", or a list split at NUL bytes) and a later request's host; the first
// byte chooses the zone, the URL's width, the value's form and whether there is a hosting
// browser or a value at all. Names resolve offline. Checks what the shell relies on: a refusal
// always has its line, the line and the site name nothing but the page's scheme, host and port,
// `any` allows every page, adding the site a refusal names allows the page, and a later request
// to the start's own server host gets the start's answer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "trust/SiteLock.h"
#include "FuzzParts.h"

using namespace pel;

namespace {
std::optional<std::string> OfflineResolver(const std::string& name) {
  if (name.empty() || name.find_first_of(":@/\\ ") != std::string::npos) std::abort();
  if (name.size() % 3 == 0) return std::nullopt;
  return "10.2.0." + std::to_string(name.size() % 7);
}

void Check(bool condition) {
  if (!condition) std::abort();
}

std::vector<std::u16string> SplitAtNul(const std::u16string& text) {
  std::vector<std::u16string> out(1);
  for (char16_t unit : text) {
    if (unit == 0) out.emplace_back();
    else out.back().push_back(unit);
  }
  return out;
}

// Only what a site name may hold: lower-case letters, digits, "-", "_", ".", ":", brackets and
// the "//" after the scheme; never credentials, a path, a query or a backslash.
bool PlainSite(const std::string& site) {
  const size_t schemeEnd = site.find("://");
  const std::string rest = schemeEnd == std::string::npos ? site : site.substr(schemeEnd + 3);
  return rest.find_first_of("@/\\?#% ") == std::string::npos &&
         site.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t flags = data[0];
  const std::vector<std::string> parts = pel::fuzz::SplitParts(data, size, 4);

  SiteLockInputs inputs;
  if (!(flags & 1)) inputs.pageUrl = pel::fuzz::Widen(parts[0], flags & 2);
  inputs.zone = static_cast<int>((flags >> 2) & 7) - 1;  // -1 to 6: unknown, the zones, others
  inputs.serverHost = parts[1];
  if (flags & 32) {
    const std::u16string value = pel::fuzz::Widen(parts[2], flags & 2);
    inputs.allowedSites =
        (flags & 64) ? ParseAllowedSites(SplitAtNul(value)) : ParseAllowedSites(value);
    Check(inputs.allowedSites->sites.size() <= kMaxAllowedEntries);
  }

  const SiteDecision decision = DecideSiteLock(inputs, OfflineResolver);
  Check(decision.allowed == (decision.ground != SiteGround::Refused));
  Check(decision.allowed == decision.refusal.empty());
  Check(PlainSite(decision.site));
  if (!inputs.pageUrl) Check(decision.ground == SiteGround::NoBrowser);
  if (!decision.allowed) {
    Check(decision.refusal.find('\n') == std::string::npos);
    Check(decision.refusal.find(decision.site) != std::string::npos);
    for (char c : decision.refusal) Check(c >= 0x20 && c < 0x7F);
  }

  if (!inputs.serverHost.empty()) {
    Check(AllowRequestTo(inputs, inputs.serverHost, OfflineResolver) == decision.allowed);
  }
  const bool later = AllowRequestTo(inputs, parts[3], OfflineResolver);
  if (decision.allowed && decision.ground != SiteGround::SameOrigin) Check(later);

  // Following the refusal's advice works: the site it names, added to the value, allows the page.
  if (!decision.allowed && ReadPageSite(*inputs.pageUrl).kind == PageKind::Web) {
    AllowedSites advised = inputs.allowedSites.value_or(AllowedSites{});
    advised.sites.clear();
    const AllowedSites named =
        ParseAllowedSites(std::u16string(decision.site.begin(), decision.site.end()));
    Check(named.sites.size() == 1 && named.ignored == 0);
    advised.sites = named.sites;
    inputs.allowedSites = advised;
    Check(DecideSiteLock(inputs, OfflineResolver).ground == SiteGround::ListedSite);
  }

  inputs.allowedSites = ParseAllowedSites(u"any");
  Check(DecideSiteLock(inputs, OfflineResolver).allowed);
  return 0;
}
