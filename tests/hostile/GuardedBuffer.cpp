#include "GuardedBuffer.h"

#include <windows.h>

#include <cstring>

namespace hostile {

GuardedBuffer::GuardedBuffer(const std::vector<uint8_t>& bytes) : size_(bytes.size()) {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  const size_t page = info.dwPageSize;
  const size_t pages = (size_ + page - 1) / page + 1;
  base_ = VirtualAlloc(nullptr, pages * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!base_) return;
  auto* guard = static_cast<uint8_t*>(base_) + (pages - 1) * page;
  DWORD old = 0;
  VirtualProtect(guard, page, PAGE_NOACCESS, &old);
  data_ = guard - size_;
  if (size_ > 0) std::memcpy(data_, bytes.data(), size_);
}

GuardedBuffer::~GuardedBuffer() {
  if (base_) VirtualFree(base_, 0, MEM_RELEASE);
}

}  // namespace hostile
