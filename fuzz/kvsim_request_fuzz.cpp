// kvsim's readers of what clients send: the HTTP header block (end, request line, headers,
// Basic credentials) and the control port's command line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "../tools/kvsim/ControlCommand.cpp"
#include "../tools/kvsim/HttpRequest.cpp"
#include "../tools/kvsim/Text.cpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);

  std::size_t end = kvsim::FindHeaderEnd(bytes);
  if (end > bytes.size()) __builtin_trap();
  kvsim::HttpRequest request;
  if (kvsim::ParseRequest(bytes.substr(0, end == 0 ? bytes.size() : end), request)) {
    if (request.path.empty() || request.path.front() != '/') __builtin_trap();
    if (request.authorization) kvsim::BasicCredentials(*request.authorization);
  }

  std::string error;
  auto command = kvsim::ParseControlCommand(bytes.substr(0, bytes.find('\n')), error);
  if (!command && error.empty()) __builtin_trap();
  return 0;
}
