#pragma once

#include <cstdint>
#include <mutex>
#include <string>

namespace kvsim {

// A misbehaviour put on a whole running server, over whatever its routes say, so that a test
// can break a server that a client already knows by its port and mend it again.
struct HttpFault {
  enum class Kind {
    kNone,     // the routes' own answers
    kStall,    // every answer waits value ms before its first byte
    kCut,      // every answer ends after its first value bytes: the connection is closed
    kReset,    // the same, then the connection is reset instead of closed
    kTrickle,  // every answer goes one byte at a time, each after a wait of value ms
    kGarbage,  // every answer is GarbageAnswer() instead
    kRefuse,   // the listener is closed: connections are refused
  };
  Kind kind = Kind::kNone;
  uint64_t value = 0;
};

// Bytes that are no HTTP answer at all: no status line, no digits where a status would be.
const std::string& GarbageAnswer();

// The fault a listener's connections read when they answer; set from control threads.
class FaultState {
 public:
  void set(HttpFault fault) {
    std::lock_guard<std::mutex> lock(mutex_);
    fault_ = fault;
  }
  HttpFault get() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return fault_;
  }

 private:
  mutable std::mutex mutex_;
  HttpFault fault_;
};

}  // namespace kvsim
