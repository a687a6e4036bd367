#include "StopSignal.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace kvsim {

StopSignal::StopSignal() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
    readEnd_.reset(fds[0]);
    writeEnd_.reset(fds[1]);
  }
}

void StopSignal::trigger() {
  if (!writeEnd_.valid()) return;
  const char byte = 1;
  // The byte is never read back; one is enough and later ones may find the pipe full.
  ssize_t ignored = ::write(writeEnd_.get(), &byte, 1);
  (void)ignored;
}

bool StopSignal::triggered() const {
  pollfd p{readEnd_.get(), POLLIN, 0};
  return ::poll(&p, 1, 0) > 0;
}

}  // namespace kvsim
