#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "trust/PageSite.h"

namespace pel {

// One site an administrator allows: "http://host", "https://host:8443", "https://*.example.com".
struct AllowedSite {
  std::string scheme;       // "http" or "https"
  std::string host;         // canonical (see HostName.h); for a wildcard the domain after "*."
  bool subdomains = false;  // "*.": every name ending in "." + host, not host itself
  int port = 0;             // the port written, else the scheme's own
};

// The AllowedSites value. Its presence replaces the default rules; the words restore them one
// by one: `same-origin` the page served by the server's own host, `intranet` the local machine
// and local intranet zones (not trusted sites), `any` every page.
struct AllowedSites {
  std::vector<AllowedSite> sites;
  bool sameOrigin = false;
  bool intranet = false;
  bool any = false;
  std::size_t ignored = 0;  // entries refused as malformed or beyond the limits
};

// Limits of what is read: further entries and characters are ignored (and counted).
constexpr std::size_t kMaxAllowedEntries = 256;
constexpr std::size_t kMaxEntryChars = 300;
constexpr std::size_t kMaxSettingUnits = 64 * 1024;

// Entry rules. Spaces and tabs around an entry are dropped, empty entries skipped, scheme, host
// and words compared without case, one trailing "/" allowed. Ignored as malformed, so that the
// value allows less rather than more: a scheme other than http or https; a missing scheme (also
// "*.example.com": a site without its scheme would allow plain http, which anyone on the way can
// alter); a path, query, fragment, credentials, "%" or a backslash; "*" other than one leading
// "*." before a domain name of at least two labels ("*.com", "*", "*.10.0.0.1" are ignored);
// a port that is empty, 0 or above 65535; any character outside printable ASCII (international
// names are written in their "xn--" form).
AllowedSites ParseAllowedSites(const std::vector<std::u16string>& entries);  // REG_MULTI_SZ
AllowedSites ParseAllowedSites(std::u16string_view text);                    // REG_SZ

// Whether an entry names the page's site: the same scheme and port, and the same host or, for
// a wildcard, a name ending in "." and the entry's domain ("evil-example.com" is not one).
bool SiteMatches(const AllowedSite& site, const PageSite& page);

}  // namespace pel
