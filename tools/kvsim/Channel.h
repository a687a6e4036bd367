#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "Socket.h"

namespace kvsim {

// One accepted connection. Every wait also watches the owner's stop signal, so that unloading
// a scenario or ending kvsim never waits for a slow or silent client.
class Channel {
 public:
  enum class Io { kData, kClosed, kTimeout, kStopped, kError };

  Channel(Fd socket, int stopFd) : socket_(std::move(socket)), stopFd_(stopFd) {}

  // Waits up to timeoutMs (negative: no limit) for bytes and appends at most max of them.
  Io receive(std::string& into, std::size_t max, int timeoutMs);
  // Sends every byte; false when the peer is gone, the send stalls for too long or the owner
  // stops.
  bool sendAll(std::string_view bytes);
  // Ends our sending side, so the client sees the end of the answer at once, then reads until
  // the client closes or lingerMs pass, handing what arrives to onBytes. Closing without this
  // wait could turn unread client bytes into a reset that costs the client the answer.
  void finish(int lingerMs, const std::function<void(std::string_view)>& onBytes);
  // Waits timeoutMs without reading; false when the owner stops meanwhile.
  bool sleep(int timeoutMs) const;
  // Closes with a reset instead of the orderly end: the client's next read fails.
  void abort();

 private:
  enum class Ready { kYes, kTimeout, kStopped, kError };
  Ready waitFor(short events, int timeoutMs) const;

  Fd socket_;
  int stopFd_;
};

}  // namespace kvsim
