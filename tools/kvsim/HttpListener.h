#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "HttpFault.h"
#include "LoopbackServer.h"
#include "RequestLog.h"
#include "Scenario.h"

namespace kvsim {

// Serves one scenario over HTTP on a loopback port and records what every connection sent.
// A fault put on it changes every answer from then on; the port stays its own while the
// listener is closed (a refusing server, a restart), so clients find it again at the same port.
// Going away stops it and closes all its connections.
class HttpListener {
 public:
  // port 0: a free port. Null, with error filled, when it cannot listen.
  static std::unique_ptr<HttpListener> Start(Scenario scenario, uint16_t port, std::string& error);
  ~HttpListener();
  HttpListener(const HttpListener&) = delete;
  HttpListener& operator=(const HttpListener&) = delete;

  uint16_t port() const { return port_; }
  RequestLog& log() { return log_; }

  // kRefuse closes the listener and its connections; any other fault opens it again when it
  // was closed. False, with error filled, when the port cannot be listened on again.
  bool setFault(HttpFault fault, std::string& error);
  // Closes the listener and every connection, as a server that goes down.
  void close();
  // Listens again on the same port, unless the fault is kRefuse.
  bool reopen(std::string& error);

 private:
  explicit HttpListener(Scenario scenario) : scenario_(std::move(scenario)) {}
  bool listen(uint16_t port, std::string& error);

  const Scenario scenario_;
  RequestLog log_;
  FaultState fault_;
  uint16_t port_ = 0;
  std::mutex serverMutex_;  // held while the listener is closed or opened
  // Last, so that it stops, and its threads end, before the scenario and log they use go.
  std::unique_ptr<LoopbackServer> server_;
};

}  // namespace kvsim
