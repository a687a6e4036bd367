#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Common/SockUtil/SocketHandle.h"

namespace pel::test {

// A plain UDP socket on 127.0.0.1 for tests that talk to kvsim's audio port byte for byte.
class LoopbackUdp {
 public:
  LoopbackUdp();  // bound to a free port; ADD_FAILURE when that fails
  bool sendTo(int port, const std::string& bytes);
  // The next datagram, or nothing within timeoutMs.
  std::optional<std::string> receive(int timeoutMs);
  // Every datagram until none came for quietMs.
  std::vector<std::string> receiveUntilQuiet(int quietMs);

 private:
  SocketHandle socket_;
};

}  // namespace pel::test
