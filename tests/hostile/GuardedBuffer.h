#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hostile {

// Bytes placed so that they end exactly where an inaccessible page begins: a reader that
// goes one byte past them faults at once (and the crash report names the call), instead of
// reading something that merely happens to be there.
class GuardedBuffer {
 public:
  explicit GuardedBuffer(const std::vector<uint8_t>& bytes);
  GuardedBuffer(const GuardedBuffer&) = delete;
  GuardedBuffer& operator=(const GuardedBuffer&) = delete;
  ~GuardedBuffer();

  uint8_t* Data() { return data_; }
  size_t Size() const { return size_; }

 private:
  void* base_ = nullptr;
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace hostile
