#pragma once

#include "Socket.h"

namespace kvsim {

// A flag that every waiting thread can poll together with its socket: once triggered, its
// descriptor stays readable for good, so each wait of each thread ends at once.
class StopSignal {
 public:
  StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  bool ok() const { return readEnd_.valid(); }
  void trigger();
  bool triggered() const;
  int fd() const { return readEnd_.get(); }

 private:
  Fd readEnd_;
  Fd writeEnd_;
};

}  // namespace kvsim
