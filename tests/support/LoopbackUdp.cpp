#include "support/LoopbackUdp.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#endif

namespace pel::test {

namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<unsigned short>(port));
  address.sin_addr.s_addr = htonl(0x7F000001);
  return address;
}

bool WaitReadable(sock_t sock, int timeoutMs) {
#ifdef _WIN32
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(sock, &readable);
  timeval wait{};
  wait.tv_sec = timeoutMs / 1000;
  wait.tv_usec = (timeoutMs % 1000) * 1000;
  return ::select(0, &readable, nullptr, nullptr, &wait) > 0;
#else
  pollfd p{sock, POLLIN, 0};
  return ::poll(&p, 1, timeoutMs) > 0;
#endif
}

}  // namespace

LoopbackUdp::LoopbackUdp() : socket_(::socket(AF_INET, SOCK_DGRAM, 0)) {
  // Room for every datagram a test's server sends: on a busy machine the reader falls behind,
  // and the default buffer (256 short datagrams on Linux) drops the rest.
  const int bufferBytes = 1 << 20;
  ::setsockopt(socket_.get(), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bufferBytes),
               sizeof bufferBytes);
  const sockaddr_in any = Loopback(0);
  if (!socket_.valid() ||
      ::bind(socket_.get(), reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
    ADD_FAILURE() << "cannot bind a UDP socket on 127.0.0.1";
  }
}

bool LoopbackUdp::sendTo(int port, const std::string& bytes) {
  const sockaddr_in to = Loopback(port);
  return ::sendto(socket_.get(), bytes.data(), static_cast<int>(bytes.size()), 0,
                  reinterpret_cast<const sockaddr*>(&to),
                  sizeof to) == static_cast<int>(bytes.size());
}

std::optional<std::string> LoopbackUdp::receive(int timeoutMs) {
  if (!WaitReadable(socket_.get(), timeoutMs)) return std::nullopt;
  char buffer[65536];
  const int got = static_cast<int>(::recv(socket_.get(), buffer, sizeof buffer, 0));
  if (got < 0) return std::nullopt;
  return std::string(buffer, static_cast<size_t>(got));
}

std::vector<std::string> LoopbackUdp::receiveUntilQuiet(int quietMs) {
  std::vector<std::string> all;
  while (auto datagram = receive(quietMs)) all.push_back(std::move(*datagram));
  return all;
}

}  // namespace pel::test
