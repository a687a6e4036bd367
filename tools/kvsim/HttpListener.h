#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "LoopbackServer.h"
#include "RequestLog.h"
#include "Scenario.h"

namespace kvsim {

// Serves one scenario over HTTP on a loopback port and records what every connection sent.
// Going away stops it and closes all its connections.
class HttpListener {
 public:
  // port 0: a free port. Null, with error filled, when it cannot listen.
  static std::unique_ptr<HttpListener> Start(Scenario scenario, uint16_t port, std::string& error);
  HttpListener(const HttpListener&) = delete;
  HttpListener& operator=(const HttpListener&) = delete;

  uint16_t port() const { return server_->port(); }
  RequestLog& log() { return log_; }

 private:
  explicit HttpListener(Scenario scenario) : scenario_(std::move(scenario)) {}

  const Scenario scenario_;
  RequestLog log_;
  // Last, so that it stops, and its threads end, before the scenario and log they use go.
  std::unique_ptr<LoopbackServer> server_;
};

}  // namespace kvsim
