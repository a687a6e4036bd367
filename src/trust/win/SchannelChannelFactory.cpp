// The control's and pelprobe's TLS provider: Schannel through SSPI.
#include <utility>

#include "ports/TlsChannel.h"
#include "trust/win/SchannelSession.h"

namespace pel {

namespace {

class SchannelChannelFactory : public ITlsChannelFactory {
 public:
  TlsOpenResult Open(SocketHandle sock, const std::string& host, int seconds,
                     sock_clock::time_point deadline) override {
    return SchannelSession::Open(std::move(sock), host, seconds, deadline);
  }
};

}  // namespace

// Called once the module or program is loaded; the factory lives as long as the process.
void UseSchannelForTls() {
  static SchannelChannelFactory factory;
  SetTlsChannelFactory(&factory);
}

}  // namespace pel
