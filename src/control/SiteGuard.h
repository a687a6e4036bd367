#pragma once

#include <functional>
#include <string>
#include <utility>

#include "net/ResolveServerAddress.h"
#include "ports/RequestGate.h"
#include "trust/SiteLock.h"

namespace pel {

// Reads the machine's policy that forbids credentials over plain http (the Windows shell: the
// RequireTls value); empty: no such policy.
using RequireTlsReader = std::function<bool()>;

// The site lock as the control holds it: the inputs the Windows shell gathered, the start's
// decision, and the gate every later request passes. Until a start has decided, the control
// counts as hosted by no browser: everything is allowed.
class SiteGuard final : public IRequestGate {
 public:
  // The policy is read here already, so that it holds before the first start.
  explicit SiteGuard(NameResolver resolve, RequireTlsReader readRequireTls = {})
      : resolve_(std::move(resolve)), readRequireTls_(std::move(readRequireTls)) {
    ReadPolicy();
  }

  // The start's decision, for the normalised server address; the policy is read again.
  // `browserProxy`: the proxy host taken from the browser's own setting, which requests may
  // always use (empty when the page wrote its own proxy, or there is none).
  const SiteDecision& DecideAtStart(SiteLockInputs inputs, const std::string& serverHost,
                                    const std::string& browserProxy);

  bool allowed() const { return decision_.allowed; }
  const SiteDecision& decision() const { return decision_; }

  // Nothing after a refused start. Otherwise the host must pass AllowRequestTo, and so must a
  // proxy the page wrote: a proxy receives the request, credentials and all. An empty host
  // passes: no connection can be made to it, and the client reports its failure as before.
  bool AllowRequest(const std::string& host, const std::string& proxyHost) override;

  // The policy as last read, whatever the container: it binds the machine, not a page.
  bool RefusesPlainCredentials() const override { return requireTls_; }

 private:
  void ReadPolicy() { requireTls_ = readRequireTls_ && readRequireTls_(); }

  NameResolver resolve_;
  RequireTlsReader readRequireTls_;
  bool requireTls_ = false;
  SiteLockInputs inputs_;
  SiteDecision decision_{true, SiteGround::NoBrowser, {}, {}};
  std::string browserProxy_;
};

}  // namespace pel
