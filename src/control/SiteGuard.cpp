#include "control/SiteGuard.h"

namespace pel {

const SiteDecision& SiteGuard::DecideAtStart(SiteLockInputs inputs, const std::string& serverHost,
                                             const std::string& browserProxy) {
  ReadPolicy();
  inputs_ = std::move(inputs);
  inputs_.serverHost = serverHost;
  browserProxy_ = browserProxy;
  decision_ = DecideSiteLock(inputs_, resolve_);
  return decision_;
}

bool SiteGuard::AllowRequest(const std::string& host, const std::string& proxyHost) {
  if (!decision_.allowed) return false;
  if (!host.empty() && !AllowRequestTo(inputs_, host, resolve_)) return false;
  return proxyHost.empty() || proxyHost == browserProxy_ ||
         AllowRequestTo(inputs_, proxyHost, resolve_);
}

}  // namespace pel
