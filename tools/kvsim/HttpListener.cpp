#include "HttpListener.h"

#include <chrono>
#include <memory>
#include <thread>

#include "Channel.h"
#include "HttpConnection.h"

namespace kvsim {

namespace {
constexpr std::size_t kMaxConnections = 256;
// The port was ours a moment ago; a listener that has just closed may hold it briefly.
constexpr int kRelistenTries = 20;
constexpr auto kRelistenPause = std::chrono::milliseconds(50);
}  // namespace

std::unique_ptr<HttpListener> HttpListener::Start(Scenario scenario, uint16_t port,
                                                  std::string& error) {
  std::unique_ptr<HttpListener> listener(new HttpListener(std::move(scenario)));
  if (!listener->listen(port, error)) return nullptr;
  listener->port_ = listener->server_->port();
  return listener;
}

HttpListener::~HttpListener() { close(); }

bool HttpListener::listen(uint16_t port, std::string& error) {
  HttpListener* self = this;
  server_ = LoopbackServer::Start(
      port, kMaxConnections,
      [self](Fd connection, int stopFd) -> LoopbackServer::Work {
        // The entry is made here, on the accepting thread, so the log keeps arrival order.
        auto socket = std::make_shared<Fd>(std::move(connection));
        RequestLog::Entry entry = self->log_.open();
        return [self, socket, stopFd, entry] {
          Channel channel(std::move(*socket), stopFd);
          HttpConnection(channel, self->scenario_, self->fault_, self->log_, entry).run();
        };
      },
      error);
  return server_ != nullptr;
}

void HttpListener::close() {
  std::lock_guard<std::mutex> lock(serverMutex_);
  server_.reset();
}

bool HttpListener::reopen(std::string& error) {
  std::lock_guard<std::mutex> lock(serverMutex_);
  if (server_ || fault_.get().kind == HttpFault::Kind::kRefuse) return true;
  for (int attempt = 1;; ++attempt) {
    if (listen(port_, error)) return true;
    if (attempt == kRelistenTries) return false;
    std::this_thread::sleep_for(kRelistenPause);
  }
}

bool HttpListener::setFault(HttpFault fault, std::string& error) {
  fault_.set(fault);
  if (fault.kind == HttpFault::Kind::kRefuse) {
    close();
    return true;
  }
  return reopen(error);
}

}  // namespace kvsim
