#include "net/FindInBuffer.h"

#include <cstring>

#include "Common/SockUtil/sock_util.h"

namespace pel {

const char* FindInBuffer(const char* buffer, const char* text, size_t length) {
  if (text == nullptr) return nullptr;
  return mem_find(buffer, length, text, std::strlen(text));
}

}  // namespace pel
