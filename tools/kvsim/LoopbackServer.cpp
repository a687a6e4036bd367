#include "LoopbackServer.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdio>

namespace kvsim {

std::unique_ptr<LoopbackServer> LoopbackServer::Start(uint16_t port, std::size_t maxConnections,
                                                      Accept accept, std::string& error) {
  Fd socket = ListenLoopback(port, error);
  if (!socket.valid()) return nullptr;
  std::unique_ptr<LoopbackServer> server(
      new LoopbackServer(std::move(socket), maxConnections, std::move(accept)));
  if (!server->stop_.ok()) {
    error = "cannot create a pipe";
    return nullptr;
  }
  LoopbackServer* self = server.get();
  server->acceptor_ = std::thread([self] { self->acceptLoop(); });
  return server;
}

LoopbackServer::LoopbackServer(Fd listenSocket, std::size_t maxConnections, Accept accept)
    : listen_(std::move(listenSocket)),
      port_(LocalPort(listen_.get())),
      maxConnections_(maxConnections),
      accept_(std::move(accept)) {}

LoopbackServer::~LoopbackServer() {
  // The port refuses before any connection ends, so that a client that sees its connection
  // close cannot reach the backlog of a listener that is going (a listening socket shut down
  // stops listening at once).
  ::shutdown(listen_.get(), SHUT_RDWR);
  stop_.trigger();
  if (acceptor_.joinable()) acceptor_.join();
  listen_.reset();
  workers_.joinAll();
}

void LoopbackServer::acceptLoop() {
  for (;;) {
    pollfd fds[2] = {{listen_.get(), POLLIN, 0}, {stop_.fd(), POLLIN, 0}};
    int n = ::poll(fds, 2, -1);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || fds[1].revents != 0) return;
    acceptPending();
  }
}

void LoopbackServer::acceptPending() {
  for (;;) {
    Fd socket = AcceptConnection(listen_.get());
    if (!socket.valid()) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) {
        // Out of descriptors or memory: give the open connections a moment to end.
        pollfd stop{stop_.fd(), POLLIN, 0};
        ::poll(&stop, 1, 100);
      }
      return;
    }
    if (!workers_.start(accept_(std::move(socket), stop_.fd()), maxConnections_)) {
      std::fprintf(stderr, "kvsim: more than %zu connections at once, one refused\n",
                   maxConnections_);
    }
  }
}

}  // namespace kvsim
