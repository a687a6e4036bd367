#include "UdpSession.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

#include "JesBuilder.h"

namespace kvsim {

namespace {

// Client packets waiting to be echoed; beyond this they are dropped.
constexpr std::size_t kMaxEchoQueue = 256;
// Behind the pace by more than this (after a wait or an idle echo), the schedule starts anew
// instead of catching up in one burst.
constexpr auto kMaxLag = std::chrono::milliseconds(50);

// Garbage datagram k: k % 100 bytes (the first one empty), never starting with 0x7E.
std::string GarbageDatagram(uint64_t k) {
  std::string bytes(static_cast<std::size_t>(k % 100), '\0');
  for (std::size_t j = 0; j < bytes.size(); ++j) {
    bytes[j] = static_cast<char>((k * 31 + j * 7 + 1) & 0xFF);
  }
  if (!bytes.empty() && static_cast<uint8_t>(bytes[0]) == kRecordMark) bytes[0] = 0;
  return bytes;
}

}  // namespace

UdpSession::UdpSession(const std::atomic<int>& socket, const sockaddr_in& peer,
                       const UdpScenario& scenario)
    : socket_(socket), peer_(peer), scenario_(scenario), scheduleStart_(Clock::now()) {}

void UdpSession::stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
  }
  wake_.notify_all();
}

bool UdpSession::stopped() {
  std::lock_guard<std::mutex> lock(mutex_);
  return stopped_;
}

void UdpSession::offerEcho(std::string_view packet) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopped_ || echoQueue_.size() >= kMaxEchoQueue) return;
    echoQueue_.emplace_back(packet);
  }
  wake_.notify_all();
}

bool UdpSession::sleepUntil(Clock::time_point when) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !wake_.wait_until(lock, when, [this] { return stopped_; });
}

bool UdpSession::send(std::string_view datagram) {
  if (scenario_.pace > 0) {
    const auto now = Clock::now();
    auto due =
        scheduleStart_ + std::chrono::nanoseconds(scheduled_ * 1000000000ull / scenario_.pace);
    if (now > due + kMaxLag) {
      scheduleStart_ = now;
      scheduled_ = 0;
      due = now;
    }
    // Sleeping for every datagram would cost more than the pace allows: datagrams due
    // within a millisecond go at once.
    if (due > now + std::chrono::milliseconds(1) && !sleepUntil(due)) return false;
    ++scheduled_;
  } else if (stopped()) {
    return false;
  }
  for (;;) {
    const int socket = socket_.load();
    const ssize_t n = ::sendto(socket, datagram.data(), datagram.size(), MSG_NOSIGNAL,
                               reinterpret_cast<const sockaddr*>(&peer_), sizeof peer_);
    if (n >= 0) return true;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return true;  // lost, as UDP may lose it
    pollfd out{socket, POLLOUT, 0};
    ::poll(&out, 1, 100);
    if (stopped()) return false;
  }
}

bool UdpSession::sendPacket(std::string_view packet) {
  bool going = true;
  ForEachRecord(packet, [&](const std::string& record) {
    if (going) going = send(record);
  });
  return going;
}

bool UdpSession::echo() {
  for (;;) {
    std::string packet;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stopped_ || !echoQueue_.empty(); });
      if (stopped_) return false;
      packet = std::move(echoQueue_.front());
      echoQueue_.pop_front();
    }
    if (!sendPacket(packet)) return false;
  }
}

void UdpSession::run() {
  for (const UdpStep& step : scenario_.steps) {
    bool going = true;
    switch (step.kind) {
      case UdpStep::Kind::kWait:
        going = sleepUntil(Clock::now() + std::chrono::milliseconds(step.value));
        break;
      case UdpStep::Kind::kPackets:
        for (uint64_t pass = 0; going && pass < step.value; ++pass) {
          for (const std::string& packet : step.packets) {
            if (!(going = sendPacket(packet))) break;
          }
        }
        break;
      case UdpStep::Kind::kCounter:
        for (uint64_t n = 0; going && n < step.value; ++n) {
          going = sendPacket(BuildJesPacket(step.mode, CounterPayload(n, step.size)));
        }
        break;
      case UdpStep::Kind::kDatagram:
        going = send(step.bytes);
        break;
      case UdpStep::Kind::kGarbage:
        for (uint64_t k = 0; going && k < step.value; ++k) going = send(GarbageDatagram(k));
        break;
      case UdpStep::Kind::kLogoutAck:
        going = send(MakeRecord(kKindLogoutAck, 0));
        break;
      case UdpStep::Kind::kEcho:
        going = echo();
        break;
    }
    if (!going) return;
  }
}

}  // namespace kvsim
