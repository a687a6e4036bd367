#include "trust/SiteLock.h"

#include <algorithm>

#include "trust/HostName.h"
#include "trust/RefusalText.h"

namespace pel {

namespace {
// What a host stands for once normalised: a name is looked up as the start sequence looks it
// up, an address stays as it is. Nothing for text that is not a plain host.
std::optional<std::string> NormalisedAddress(const std::string& canonical, HostKind kind,
                                             const NameResolver& resolve) {
  if (kind != HostKind::Name) return canonical;
  std::string address;
  int port = 0;
  if (ResolveServerAddress(canonical, address, port, nullptr, nullptr, resolve) != 0) {
    return std::nullopt;
  }
  return address;
}

bool SameHost(const PageSite& page, std::string_view serverHost, bool emptyIsPage,
              const NameResolver& resolve) {
  if (page.kind != PageKind::Web) return false;
  if (serverHost.empty()) return emptyIsPage;
  const std::optional<CanonicalHost> server = CanonicaliseHost(serverHost);
  const std::optional<CanonicalHost> pageHost = CanonicaliseHost(page.host);
  if (!server || !pageHost) return false;
  if (server->text == pageHost->text) return true;
  const std::optional<std::string> serverAddress =
      NormalisedAddress(server->text, server->kind, resolve);
  if (!serverAddress) return false;
  const std::optional<std::string> pageAddress =
      NormalisedAddress(pageHost->text, pageHost->kind, resolve);
  return pageAddress && !pageAddress->empty() && *pageAddress == *serverAddress;
}

bool ZoneAllows(int zone, const std::optional<AllowedSites>& setting) {
  if (!setting) return zone == kZoneLocalMachine || zone == kZoneIntranet || zone == kZoneTrusted;
  return setting->intranet && (zone == kZoneLocalMachine || zone == kZoneIntranet);
}

SiteGround Ground(const SiteLockInputs& inputs, const PageSite& page, std::string_view serverHost,
                  bool emptyIsPage, const NameResolver& resolve) {
  if (!inputs.pageUrl) return SiteGround::NoBrowser;
  const std::optional<AllowedSites>& setting = inputs.allowedSites;
  if (setting && setting->any) return SiteGround::Any;
  if (setting && std::any_of(setting->sites.begin(), setting->sites.end(),
                             [&](const AllowedSite& site) { return SiteMatches(site, page); })) {
    return SiteGround::ListedSite;
  }
  if (inputs.zone == kZoneRestricted) return SiteGround::Refused;
  if (page.kind == PageKind::LocalFile && inputs.zone != kZoneInternet) {
    return SiteGround::LocalFile;
  }
  if (ZoneAllows(inputs.zone, setting)) return SiteGround::Zone;
  if ((!setting || setting->sameOrigin) && SameHost(page, serverHost, emptyIsPage, resolve)) {
    return SiteGround::SameOrigin;
  }
  return SiteGround::Refused;
}

SiteDecision Decide(const SiteLockInputs& inputs, std::string_view serverHost, bool emptyIsPage,
                    const NameResolver& resolve) {
  SiteDecision decision;
  const PageSite page = inputs.pageUrl ? ReadPageSite(*inputs.pageUrl) : PageSite{};
  decision.ground = Ground(inputs, page, serverHost, emptyIsPage, resolve);
  decision.allowed = decision.ground != SiteGround::Refused;
  if (inputs.pageUrl) decision.site = DescribePageSite(page);
  if (!decision.allowed) decision.refusal = RefusalLine(page);
  return decision;
}
}  // namespace

SiteDecision DecideSiteLock(const SiteLockInputs& inputs, const NameResolver& resolve) {
  return Decide(inputs, inputs.serverHost, true, resolve);
}

bool AllowRequestTo(const SiteLockInputs& inputs, std::string_view host,
                    const NameResolver& resolve) {
  return Decide(inputs, host, false, resolve).allowed;
}

}  // namespace pel
