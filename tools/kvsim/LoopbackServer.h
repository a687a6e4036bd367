#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "Socket.h"
#include "StopSignal.h"
#include "ThreadGroup.h"

namespace kvsim {

// A TCP server on 127.0.0.1 that serves each connection on its own thread. For each accepted
// connection, accept runs on the accepting thread (so whatever it takes, it takes in the order
// the connections came) and returns the work that serves the connection on a thread of its own.
// It gets the descriptor of the server's stop signal, which every wait of that work must watch.
// Going away stops accepting, wakes every connection thread and joins them all.
class LoopbackServer {
 public:
  using Work = std::function<void()>;
  using Accept = std::function<Work(Fd connection, int stopFd)>;

  // port 0: a free port. Null, with error filled, when it cannot listen.
  static std::unique_ptr<LoopbackServer> Start(uint16_t port, std::size_t maxConnections,
                                               Accept accept, std::string& error);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  uint16_t port() const { return port_; }

 private:
  LoopbackServer(Fd listenSocket, std::size_t maxConnections, Accept accept);
  void acceptLoop();
  void acceptPending();

  Fd listen_;
  uint16_t port_;
  std::size_t maxConnections_;
  Accept accept_;
  StopSignal stop_;
  ThreadGroup workers_;
  std::thread acceptor_;
};

}  // namespace kvsim
