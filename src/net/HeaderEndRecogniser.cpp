#include "net/HeaderEndRecogniser.h"

namespace pel {

size_t FindHeaderEnd(const char* data, size_t length) {
  if (data == nullptr) return 0;
  HeaderEndRecogniser recogniser;
  for (size_t i = 0; i < length; ++i) {
    if (recogniser.Feed(data[i])) return i + 1;
  }
  return 0;
}

}  // namespace pel
