#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "net/ResolveServerAddress.h"
#include "trust/AllowedSites.h"

// The site lock: whether the page the control is on may use it. The decision is made here from
// inputs that the Windows shell gathers and nothing else:
//   - pageUrl: the hosting browser's LocationURL as it is; nothing when there is no hosting
//     browser (script hosts, forms: programs the user runs). A browser that answers no URL or
//     fails to answer is given an empty text, which is refused like any unreadable address.
//   - zone: MapUrlToZone for that URL, from the site's service provider when it offers an
//     IInternetSecurityManager, else urlmon's; kZoneUnknown when neither answers.
//   - serverHost: strIpAddr after the start sequence's normalisation. Before the start (in
//     SetInterfaceSafetyOptions) it is left empty: the address is not known yet, and the
//     decision then answers for a page whose own host will be the server.
//   - allowedSites: the AllowedSites value, parsed, from the first of
//     HKLM\Software\Policies\Pelioran, HKCU\Software\Policies\Pelioran, HKLM\Software\Pelioran
//     that holds it; nothing when none does. A value of another type than REG_MULTI_SZ or
//     REG_SZ, or one that cannot be read, is there all the same: pass AllowedSites{} (empty).
// The shell asks DecideSiteLock in SetInterfaceSafetyOptions (refused: E_FAIL) and again at the
// start with the normalised address (refused: no reads, no connection, no message box, the
// refusal line in the window), and AllowRequestTo before each later request.

namespace pel {

enum SecurityZone : int {
  kZoneUnknown = -1,
  kZoneLocalMachine = 0,
  kZoneIntranet = 1,
  kZoneTrusted = 2,
  kZoneInternet = 3,
  kZoneRestricted = 4,
};

struct SiteLockInputs {
  std::optional<std::u16string> pageUrl;
  int zone = kZoneUnknown;
  std::string serverHost;
  std::optional<AllowedSites> allowedSites;
};

// Why a page was allowed.
enum class SiteGround { Refused, NoBrowser, Any, ListedSite, LocalFile, Zone, SameOrigin };

struct SiteDecision {
  bool allowed = false;
  SiteGround ground = SiteGround::Refused;
  std::string site;     // the page's site as DescribePageSite names it
  std::string refusal;  // the one line the control's window shows; empty when allowed
};

// The rules, in order:
//   1. No hosting browser: allowed.
//   2. `any` in the value: allowed.
//   3. A site listed in the value: allowed, also in the restricted zone (the administrator's
//      word outranks the zone map).
//   4. The restricted sites zone: refused.
//   5. A local file (PageSite.h: a drive letter, no other machine): allowed unless the zone is
//      internet (a saved page marked as coming from the web). With or without the value: a file
//      on the user's own disk is the user's own.
//   6. Zones: without the value, local machine, local intranet and trusted sites; with it, only
//      when it holds `intranet`, the local machine and local intranet zones.
//   7. Same origin, without the value or when it holds `same-origin`: an http or https page
//      whose host is the server's host (ports may differ). Hosts are compared canonical, and a
//      name as the normalisation turns it into an address (ResolveServerAddress), so that a page
//      from "camera.example" and a server written "camera.example" agree; a name stands for
//      what the resolver answers now, as it does for the start sequence's own lookup. An empty
//      serverHost qualifies for such a page: the server's address then comes from the page.
// A refused page's unreadable URL is named by no entry; only zones and `any` can allow it.
SiteDecision DecideSiteLock(const SiteLockInputs& inputs,
                            const NameResolver& resolve = LookupHostIPv4);

// Whether a later request to `host` (the host text the request connects to, e.g. strIpAddr as a
// script rewrote it) is allowed: the same rules with `host` as the server. An empty host or one
// that is not a plain host qualifies for no same-origin rule.
bool AllowRequestTo(const SiteLockInputs& inputs, std::string_view host,
                    const NameResolver& resolve = LookupHostIPv4);

}  // namespace pel
