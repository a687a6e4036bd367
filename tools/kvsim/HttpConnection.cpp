#include "HttpConnection.h"

#include <chrono>

#include "HttpRequest.h"
#include "Response.h"

namespace kvsim {

namespace {

constexpr std::size_t kMaxHeadBytes = 64 * 1024;
// What one connection may send in all before kvsim stops reading it.
constexpr std::size_t kMaxRecordedBytes = 1024 * 1024;
constexpr int kHeadIdleMs = 30000;
// After the answer, how long kvsim waits for the client to close before it closes itself.
constexpr int kLingerMs = 1000;
// Before a reset, time for the bytes already sent to reach the client, so that it fails in
// the middle of the answer rather than before it.
constexpr int kBeforeResetMs = 50;

const std::string& BadRequest() {
  static const std::string bytes = PlainResponse("HTTP/1.1 400 Bad Request", "Bad Request");
  return bytes;
}

const std::string& Unauthorized() {
  static const std::string bytes = PlainResponse("HTTP/1.1 401 Unauthorized", "Unauthorized",
                                                 {"WWW-Authenticate: Basic realm=\"kvsim\""});
  return bytes;
}

const std::string& NotFound() {
  static const std::string bytes = PlainResponse("HTTP/1.1 404 Not Found", "Not Found");
  return bytes;
}

}  // namespace

HttpConnection::HttpConnection(Channel& channel, const Scenario& scenario,
                               const FaultState& fault, RequestLog& log, RequestLog::Entry entry)
    : channel_(channel), scenario_(scenario), fault_(fault), log_(log), entry_(std::move(entry)) {}

Channel::Io HttpConnection::receive(int timeoutMs) {
  if (recorded_ >= kMaxRecordedBytes) return Channel::Io::kError;
  scratch_.clear();
  std::size_t room = kMaxRecordedBytes - recorded_;
  if (headEnd_ == 0 && kMaxHeadBytes > head_.size()) room = kMaxHeadBytes - head_.size();
  Channel::Io io = channel_.receive(scratch_, room, timeoutMs);
  if (io == Channel::Io::kData) {
    record(scratch_);
    if (headEnd_ == 0) head_ += scratch_;
  }
  return io;
}

HttpConnection::Head HttpConnection::readHead() {
  std::size_t scanned = 0;
  for (;;) {
    // Only the bytes that can complete a new empty line are scanned again.
    std::size_t from = scanned > 3 ? scanned - 3 : 0;
    if (std::size_t end = FindHeaderEnd(std::string_view(head_).substr(from))) {
      headEnd_ = from + end;
      return Head::kComplete;
    }
    scanned = head_.size();
    if (head_.size() >= kMaxHeadBytes) return Head::kTooLarge;
    switch (receive(kHeadIdleMs)) {
      case Channel::Io::kData:
        break;
      case Channel::Io::kClosed:
        clientDone_ = true;
        return Head::kClientClosed;
      default:
        return Head::kAbort;
    }
  }
}

void HttpConnection::drainAvailable() {
  while (!clientDone_) {
    Channel::Io io = receive(0);
    if (io == Channel::Io::kData) continue;
    if (io != Channel::Io::kTimeout) clientDone_ = true;
    return;
  }
}

std::string_view HttpConnection::chooseResponse(Head head, After& after) const {
  after = After{};
  HttpRequest request;
  if (head != Head::kComplete ||
      !ParseRequest(std::string_view(head_).substr(0, headEnd_), request)) {
    return BadRequest();
  }
  if (!scenario_.credentials.empty()) {
    auto credentials =
        request.authorization ? BasicCredentials(*request.authorization) : std::nullopt;
    if (!credentials || !scenario_.authorized(*credentials)) return Unauthorized();
  }
  const Route* route = scenario_.find(request.path);
  if (route == nullptr) return NotFound();
  after = route->after;
  return route->response;
}

bool HttpConnection::send(std::string_view bytes) { return channel_.sendAll(bytes); }

bool HttpConnection::pause(int ms) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return true;
    if (clientDone_) return channel_.sleep(static_cast<int>(left.count()));
    switch (receive(static_cast<int>(left.count()))) {
      case Channel::Io::kData:
      case Channel::Io::kTimeout:
        break;
      case Channel::Io::kStopped:
        return false;
      default:
        clientDone_ = true;
        break;
    }
  }
}

bool HttpConnection::trickle(std::string_view bytes, int everyMs) {
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    if (!pause(everyMs) || !send(bytes.substr(at, 1))) return false;
  }
  return true;
}

void HttpConnection::holdOpen() {
  while (!clientDone_) {
    Channel::Io io = receive(-1);
    if (io != Channel::Io::kData && io != Channel::Io::kTimeout) clientDone_ = true;
  }
}

void HttpConnection::record(std::string_view bytes) {
  std::size_t room = recorded_ < kMaxRecordedBytes ? kMaxRecordedBytes - recorded_ : 0;
  bytes = bytes.substr(0, room);
  log_.append(entry_, bytes);
  recorded_ += bytes.size();
}

void HttpConnection::finish() {
  if (clientDone_) return;
  channel_.finish(kLingerMs, [this](std::string_view bytes) { record(bytes); });
}

void HttpConnection::run() {
  Head head = readHead();
  if (head == Head::kAbort) return;
  if (head == Head::kClientClosed && head_.empty()) return;  // nothing was asked
  if (head == Head::kComplete) drainAvailable();

  After after;
  std::string_view response = chooseResponse(head, after);
  const HttpFault fault = fault_.get();
  switch (fault.kind) {
    case HttpFault::Kind::kStall:
      after = After{AfterMode::kStallBefore, fault.value};
      break;
    case HttpFault::Kind::kCut:
      after = After{AfterMode::kEarlyClose, fault.value};
      break;
    case HttpFault::Kind::kGarbage:
      response = GarbageAnswer();
      after = After{};
      break;
    case HttpFault::Kind::kTrickle:
      if (trickle(response, static_cast<int>(fault.value))) finish();
      return;
    case HttpFault::Kind::kReset:
      if (send(response.substr(0, fault.value)) && channel_.sleep(kBeforeResetMs)) {
        channel_.abort();
      }
      return;
    case HttpFault::Kind::kNone:
    case HttpFault::Kind::kRefuse:
      break;
  }
  switch (after.mode) {
    case AfterMode::kClose:
      if (send(response)) finish();
      return;
    case AfterMode::kKeepOpen:
      if (send(response)) holdOpen();
      return;
    case AfterMode::kSilent:
      holdOpen();
      return;
    case AfterMode::kStallBefore:
      if (pause(static_cast<int>(after.value)) && send(response)) finish();
      return;
    case AfterMode::kStallMiddle: {
      std::string_view first = response.substr(0, response.size() / 2);
      if (send(first) && pause(static_cast<int>(after.value)) &&
          send(response.substr(first.size()))) {
        finish();
      }
      return;
    }
    case AfterMode::kEarlyClose:
      if (send(response.substr(0, after.value))) finish();
      return;
  }
}

}  // namespace kvsim
