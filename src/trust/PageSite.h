#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pel {

// What the site lock knows of the page a hosting browser shows.
enum class PageKind {
  Web,         // http or https with a readable host
  LocalFile,   // file: on a local drive ("file:///C:/...", "file://localhost/C:/...")
  Other,       // any other scheme, a file on another machine ("file://server/share/...")
  Unreadable,  // no scheme, or an address that browsers and this reader might read apart
};

struct PageSite {
  PageKind kind = PageKind::Unreadable;
  std::string scheme;  // lower case
  std::string host;    // canonical (see HostName.h); Web and files on another machine only
  int port = 0;        // Web only: the port written, else the scheme's own
};

// How many UTF-16 units of a page URL are looked at; an origin that does not end within them
// is unreadable.
constexpr std::size_t kMaxPageUrlUnits = 512;

// Reads the origin of a page URL (the hosting browser's LocationURL). Only the scheme and the
// authority are read; the path counts only for telling a local drive from another machine.
// Unreadable (refused by every rule that names a site): characters outside printable ASCII in
// the scheme or authority (no byte of a wider character is taken for an ASCII one), credentials
// ("http://trusted@evil/"), a backslash ending the authority, "%" in the host, a port that is
// empty, 0 or above 65535, a missing "//" after http or https, and a host that
// CanonicaliseHost refuses.
PageSite ReadPageSite(std::u16string_view url);

// The page's site as the control's window names it: "scheme://host[:port]" with the port only
// when it is not the scheme's own, "file:" for a local file, "scheme:" for other schemes;
// empty when unreadable. Never a path, query or credentials.
std::string DescribePageSite(const PageSite& page);

// The port a scheme uses when an address gives none: 80 for http, 443 for https, else 0.
int DefaultPort(std::string_view scheme);

}  // namespace pel
