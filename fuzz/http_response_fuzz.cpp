// Feeds arbitrary bytes to the response path of the HTTP client: the header-end recogniser,
// the Content-Length reading that ends a kept-alive response, the status code reading, and a
// proxy's answer to a tunnel request.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "net/HeaderEndRecogniser.h"
#include "net/HttpStatus.h"
#include "net/ProxyTunnel.h"
#include "net/ResponseLength.h"

using namespace pel;

namespace {

// The header's length when the whole input is there at once: the yardstick for the response
// read in pieces.
size_t HeaderEndOf(const char* data, size_t length) {
  HeaderEndRecogniser recogniser;
  for (size_t i = 0; i < length; ++i) {
    if (recogniser.Feed(data[i])) return i + 1;
  }
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An area of exactly the input's size, so that any read past it is caught.
  auto area = std::make_unique<char[]>(size == 0 ? 1 : size);
  if (size > 0) std::memcpy(area.get(), data, size);
  const char* response = area.get();

  const size_t headerLength = HeaderEndOf(response, size);
  if (headerLength > size) std::abort();

  const long long announced = ContentLengthOf(response, headerLength);
  if (announced < -1 || announced > kContentLengthCap) std::abort();
  if (headerLength == 0 && announced != -1) std::abort();

  // The response as it would arrive, in pieces of varying size.
  ResponseProgress progress;
  size_t received = 0;
  bool complete = false;
  while (received < size && !complete) {
    const size_t piece = 1 + static_cast<unsigned char>(response[received]) % 7;
    received = received + piece > size ? size : received + piece;
    complete = progress.Complete(response, received);
  }
  if (progress.HeaderLength() != 0 && progress.HeaderLength() != headerLength) std::abort();
  if (complete) {
    if (announced < 0) std::abort();
    if (static_cast<long long>(received) < static_cast<long long>(headerLength) + announced) {
      std::abort();
    }
  }

  const int status = ReadHttpStatusCode(response, size);
  if (size < 12 && status != 0) std::abort();

  // A tunnel opens only on a 2xx status line, whatever the header's length.
  if (TunnelAccepted(response, headerLength) && (status < 200 || status > 299)) std::abort();
  char connect[kTunnelAnswerArea];
  const std::string host(response, size < 300 ? size : 300);
  const int connectLength = MakeConnectRequest(host.c_str(), 443, connect, sizeof connect);
  if (connectLength >= static_cast<int>(sizeof connect)) std::abort();
  return 0;
}
