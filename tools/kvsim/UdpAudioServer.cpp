#include "UdpAudioServer.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdio>

#include "JesBuilder.h"

namespace kvsim {

namespace {

constexpr std::size_t kMaxSessions = 64;
constexpr std::size_t kUserOffset = 4;
constexpr std::size_t kPasswordOffset = 36;
constexpr std::size_t kFieldBytes = 32;

uint64_t PeerKey(const sockaddr_in& peer) {
  return (static_cast<uint64_t>(ntohl(peer.sin_addr.s_addr)) << 16) | ntohs(peer.sin_port);
}

// A NUL-terminated field of a login record; missing bytes count as zero.
std::string_view Field(std::string_view record, std::size_t offset) {
  if (record.size() <= offset) return {};
  std::string_view field = record.substr(offset, kFieldBytes);
  return field.substr(0, field.find('\0'));
}

}  // namespace

std::unique_ptr<UdpAudioServer> UdpAudioServer::Start(UdpScenario scenario, uint16_t port,
                                                      std::string& error) {
  std::unique_ptr<UdpAudioServer> server(new UdpAudioServer(std::move(scenario)));
  server->socket_ = BindUdpLoopback(port, error);
  if (!server->socket_.valid()) return nullptr;
  server->spoofSocket_ = BindUdpLoopback(0, error);
  if (!server->spoofSocket_.valid()) return nullptr;
  server->answerSocket_ = server->socket_.get();
  if (!server->stop_.ok()) {
    error = "cannot create a pipe";
    return nullptr;
  }
  server->port_ = LocalPort(server->socket_.get());
  UdpAudioServer* self = server.get();
  server->receiver_ = std::thread([self] { self->receiveLoop(); });
  return server;
}

UdpAudioServer::~UdpAudioServer() {
  stop_.trigger();
  if (receiver_.joinable()) receiver_.join();
  forgetSessions();
  senders_.joinAll();
}

void UdpAudioServer::forgetSessions() {
  std::map<uint64_t, std::shared_ptr<UdpSession>> ended;
  {
    std::lock_guard<std::mutex> lock(sessionsMutex_);
    ended.swap(sessions_);
  }
  for (auto& entry : ended) entry.second->stop();
}

void UdpAudioServer::setSilent(bool silent) {
  silent_ = silent;
  if (silent) forgetSessions();
}

void UdpAudioServer::setDown(bool down) {
  down_ = down;
  if (down) forgetSessions();
}

void UdpAudioServer::setSpoof(bool spoof) {
  answerSocket_ = spoof ? spoofSocket_.get() : socket_.get();
}

void UdpAudioServer::receiveLoop() {
  std::string buffer(65536, '\0');
  for (;;) {
    pollfd fds[2] = {{socket_.get(), POLLIN, 0}, {stop_.fd(), POLLIN, 0}};
    const int n = ::poll(fds, 2, -1);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || fds[1].revents != 0) return;
    for (;;) {
      sockaddr_in peer{};
      socklen_t peerLength = sizeof peer;
      const ssize_t got = ::recvfrom(socket_.get(), buffer.data(), buffer.size(), 0,
                                     reinterpret_cast<sockaddr*>(&peer), &peerLength);
      if (got < 0) break;  // drained (or a reported error: the next poll goes on)
      const std::string_view datagram(buffer.data(), static_cast<std::size_t>(got));
      log_.add(datagram);
      handle(peer, datagram);
    }
  }
}

void UdpAudioServer::handle(const sockaddr_in& peer, std::string_view datagram) {
  if (quiet()) return;
  if (datagram.size() >= 2 && static_cast<uint8_t>(datagram[0]) == kRecordMark) {
    const auto kind = static_cast<uint8_t>(datagram[1]);
    if (kind == kKindLogin) {
      answerLogin(peer, datagram);
    } else if (kind == kKindLogout) {
      if (scenario_.acknowledgeLogout) reply(peer, MakeRecord(kKindLogoutAck, 0));
      if (auto ended = session(peer, true)) ended->stop();
    }
    return;
  }
  if (!scenario_.echoes()) return;
  if (auto current = session(peer, false)) current->offerEcho(datagram);
}

void UdpAudioServer::answerLogin(const sockaddr_in& peer, std::string_view datagram) {
  switch (scenario_.login) {
    case LoginAnswer::kSilent:
      return;
    case LoginAnswer::kWrongKind:
      reply(peer, MakeRecord(kKindLogoutAck + 1, 1));
      return;
    case LoginAnswer::kWrongMark: {
      std::string record = MakeRecord(kKindLoginReply, 1);
      record[0] = 'X';
      reply(peer, record);
      return;
    }
    case LoginAnswer::kDeny:
      reply(peer, MakeRecord(kKindLoginReply, scenario_.denyStatus));
      return;
    case LoginAnswer::kAccept:
    case LoginAnswer::kCheck:
      break;
  }
  const bool accepted =
      scenario_.login == LoginAnswer::kAccept ||
      scenario_.accepts(Field(datagram, kUserOffset), Field(datagram, kPasswordOffset));
  reply(peer, MakeRecord(kKindLoginReply, accepted ? 1 : scenario_.denyStatus));
  if (accepted) startSession(peer);
}

void UdpAudioServer::reply(const sockaddr_in& peer, const std::string& datagram) {
  // A reply the socket cannot take at once is lost, as a datagram may be.
  ::sendto(answerSocket_.load(), datagram.data(), datagram.size(), MSG_NOSIGNAL,
           reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
}

std::shared_ptr<UdpSession> UdpAudioServer::session(const sockaddr_in& peer, bool remove) {
  std::lock_guard<std::mutex> lock(sessionsMutex_);
  auto it = sessions_.find(PeerKey(peer));
  if (it == sessions_.end()) return nullptr;
  std::shared_ptr<UdpSession> found = it->second;
  if (remove) sessions_.erase(it);
  return found;
}

void UdpAudioServer::startSession(const sockaddr_in& peer) {
  if (auto previous = session(peer, true)) previous->stop();
  if (scenario_.steps.empty()) return;
  auto fresh = std::make_shared<UdpSession>(answerSocket_, peer, scenario_);
  if (!senders_.start([fresh] { fresh->run(); }, kMaxSessions)) {
    std::fprintf(stderr, "kvsim: more than %zu UDP sessions at once, one refused\n", kMaxSessions);
    return;
  }
  std::lock_guard<std::mutex> lock(sessionsMutex_);
  // Gone quiet since the login was answered: the session is forgotten at once.
  if (quiet()) {
    fresh->stop();
    return;
  }
  sessions_[PeerKey(peer)] = std::move(fresh);
}

}  // namespace kvsim
