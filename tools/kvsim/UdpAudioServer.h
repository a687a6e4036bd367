#pragma once

#include <netinet/in.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "RequestLog.h"
#include "Socket.h"
#include "StopSignal.h"
#include "ThreadGroup.h"
#include "UdpScenario.h"
#include "UdpSession.h"

namespace kvsim {

// The server's UDP audio port on 127.0.0.1: answers logins and logouts as the scenario says,
// runs a session for each logged-in client and records every datagram it receives, byte for
// byte, in order. It can be made quiet (silent, or down for a restart): it still records what
// comes, but answers nothing and forgets its sessions, as a server that hangs or restarts; back
// again, it answers logins anew. Spoofing, it answers from a second socket of its own, so
// that the client sees its answers come from a port it never wrote to. Going away stops every
// session and closes the sockets.
class UdpAudioServer {
 public:
  // port 0: a free port. Null, with error filled, when it cannot bind.
  static std::unique_ptr<UdpAudioServer> Start(UdpScenario scenario, uint16_t port,
                                               std::string& error);
  ~UdpAudioServer();
  UdpAudioServer(const UdpAudioServer&) = delete;
  UdpAudioServer& operator=(const UdpAudioServer&) = delete;

  uint16_t port() const { return port_; }
  RequestLog& log() { return log_; }

  void setSilent(bool silent);
  void setDown(bool down);
  void setSpoof(bool spoof);

 private:
  explicit UdpAudioServer(UdpScenario scenario) : scenario_(std::move(scenario)) {}
  void receiveLoop();
  void handle(const sockaddr_in& peer, std::string_view datagram);
  void answerLogin(const sockaddr_in& peer, std::string_view datagram);
  void reply(const sockaddr_in& peer, const std::string& datagram);
  void startSession(const sockaddr_in& peer);
  std::shared_ptr<UdpSession> session(const sockaddr_in& peer, bool remove);
  bool quiet() const { return silent_ || down_; }
  void forgetSessions();

  const UdpScenario scenario_;
  Fd socket_;
  Fd spoofSocket_;
  // The socket every answer leaves from: socket_, or spoofSocket_ while spoofing.
  std::atomic<int> answerSocket_{-1};
  uint16_t port_ = 0;
  RequestLog log_;
  std::atomic<bool> silent_{false};
  std::atomic<bool> down_{false};
  StopSignal stop_;
  std::mutex sessionsMutex_;
  std::map<uint64_t, std::shared_ptr<UdpSession>> sessions_;
  ThreadGroup senders_;
  std::thread receiver_;
};

}  // namespace kvsim
