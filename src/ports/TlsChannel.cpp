#include "ports/TlsChannel.h"

#include <atomic>
#include <utility>

namespace pel {

namespace {
std::atomic<ITlsChannelFactory*> g_factory{nullptr};
}  // namespace

ITlsChannelFactory* SetTlsChannelFactory(ITlsChannelFactory* factory) {
  return g_factory.exchange(factory);
}

TlsOpenResult OpenTlsSession(SocketHandle sock, const std::string& host, int seconds,
                             sock_clock::time_point deadline) {
  ITlsChannelFactory* const factory = g_factory.load();
  if (factory == nullptr) return TlsOpenResult{};
  return factory->Open(std::move(sock), host, seconds, deadline);
}

}  // namespace pel
