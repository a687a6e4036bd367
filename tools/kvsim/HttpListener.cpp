#include "HttpListener.h"

#include <memory>

#include "Channel.h"
#include "HttpConnection.h"

namespace kvsim {

namespace {
constexpr std::size_t kMaxConnections = 256;
}  // namespace

std::unique_ptr<HttpListener> HttpListener::Start(Scenario scenario, uint16_t port,
                                                  std::string& error) {
  std::unique_ptr<HttpListener> listener(new HttpListener(std::move(scenario)));
  HttpListener* self = listener.get();
  listener->server_ = LoopbackServer::Start(
      port, kMaxConnections,
      [self](Fd connection, int stopFd) -> LoopbackServer::Work {
        // The entry is made here, on the accepting thread, so the log keeps arrival order.
        auto socket = std::make_shared<Fd>(std::move(connection));
        RequestLog::Entry entry = self->log_.open();
        return [self, socket, stopFd, entry] {
          Channel channel(std::move(*socket), stopFd);
          HttpConnection(channel, self->scenario_, self->log_, entry).run();
        };
      },
      error);
  if (!listener->server_) return nullptr;
  return listener;
}

}  // namespace kvsim
