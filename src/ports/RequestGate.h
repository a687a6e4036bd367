#pragma once

#include <string>

namespace pel {

// The site lock's word on each request after the start: whether a request may go to `host`,
// through the web proxy `proxyHost` (empty: none). A request held back is not sent and nothing
// is shown. The control implements it; the pane hands it to the relay and audio dialogs.
class IRequestGate {
 public:
  virtual ~IRequestGate() = default;
  virtual bool AllowRequest(const std::string& host, const std::string& proxyHost) = 0;
  // Whether policy forbids sending credentials over plain http (RequireTls).
  virtual bool RefusesPlainCredentials() const { return false; }
};

// Whether a read must be refused before anything is sent: it would carry credentials (`user` or
// `password` not empty) over plain http (no `tlsHost`) while `gate` refuses that.
inline bool RefusesCredentialsOverPlainHttp(const IRequestGate* gate, const std::string& user,
                                            const std::string& password,
                                            const std::string& tlsHost) {
  return gate != nullptr && (!user.empty() || !password.empty()) && tlsHost.empty() &&
         gate->RefusesPlainCredentials();
}

}  // namespace pel
