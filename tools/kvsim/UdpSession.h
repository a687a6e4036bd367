#pragma once

#include <netinet/in.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>

#include "UdpScenario.h"

namespace kvsim {

// What kvsim sends one logged-in client: the scenario's steps in order, on a thread of its
// own, paced at the scenario's datagrams a second, until the steps end, the client logs out or
// kvsim stops it.
class UdpSession {
 public:
  // `socket` is read before every datagram: the server may change it meanwhile.
  UdpSession(const std::atomic<int>& socket, const sockaddr_in& peer,
             const UdpScenario& scenario);
  UdpSession(const UdpSession&) = delete;
  UdpSession& operator=(const UdpSession&) = delete;

  void run();
  // Ends run() soon, from any thread.
  void stop();
  // A Jes packet the client sent; it goes back once the session echoes.
  void offerEcho(std::string_view packet);

 private:
  using Clock = std::chrono::steady_clock;

  bool stopped();
  // False when stopped meanwhile.
  bool sleepUntil(Clock::time_point when);
  bool send(std::string_view datagram);
  bool sendPacket(std::string_view packet);
  bool echo();

  const std::atomic<int>& socket_;
  sockaddr_in peer_;
  const UdpScenario& scenario_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopped_ = false;
  std::deque<std::string> echoQueue_;
  Clock::time_point scheduleStart_;
  uint64_t scheduled_ = 0;
};

}  // namespace kvsim
