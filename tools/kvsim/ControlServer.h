#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "LoopbackServer.h"
#include "ScenarioRegistry.h"

namespace kvsim {

class Channel;

// The control port: one command per connection (ControlCommand.h), answered and closed.
// Going away unloads every scenario.
class ControlServer {
 public:
  static std::unique_ptr<ControlServer> Start(std::string& error);
  ~ControlServer();
  ControlServer(const ControlServer&) = delete;
  ControlServer& operator=(const ControlServer&) = delete;

  uint16_t port() const { return server_->port(); }

 private:
  ControlServer() = default;
  void serve(Channel& channel);
  std::string execute(Channel& channel, std::string& received);

  ScenarioRegistry registry_;
  std::unique_ptr<LoopbackServer> server_;
};

}  // namespace kvsim
