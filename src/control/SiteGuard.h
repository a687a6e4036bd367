#pragma once

#include <string>
#include <utility>

#include "net/ResolveServerAddress.h"
#include "ports/RequestGate.h"
#include "trust/SiteLock.h"

namespace pel {

// The site lock as the control holds it: the inputs the Windows shell gathered, the start's
// decision, and the gate every later request passes. Until a start has decided, the control
// counts as hosted by no browser: everything is allowed.
class SiteGuard final : public IRequestGate {
 public:
  explicit SiteGuard(NameResolver resolve) : resolve_(std::move(resolve)) {}

  // The start's decision, for the normalised server address. `browserProxy`: the proxy host
  // taken from the browser's own setting, which requests may always use (empty when the page
  // wrote its own proxy, or there is none).
  const SiteDecision& DecideAtStart(SiteLockInputs inputs, const std::string& serverHost,
                                    const std::string& browserProxy);

  bool allowed() const { return decision_.allowed; }
  const SiteDecision& decision() const { return decision_; }

  // Nothing after a refused start. Otherwise the host must pass AllowRequestTo, and so must a
  // proxy the page wrote: a proxy receives the request, credentials and all. An empty host
  // passes: no connection can be made to it, and the client reports its failure as before.
  bool AllowRequest(const std::string& host, const std::string& proxyHost) override;

 private:
  NameResolver resolve_;
  SiteLockInputs inputs_;
  SiteDecision decision_{true, SiteGround::NoBrowser, {}, {}};
  std::string browserProxy_;
};

}  // namespace pel
