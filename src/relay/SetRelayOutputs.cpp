#include "relay/SetRelayOutputs.h"

#include <string>

#include "net/HttpClient.h"
#include "relay/RelayStatePage.h"

namespace pel {

int SetRelayOutputs(int32_t module, const char* serverAddress, int32_t serverPort, uint8_t state,
                    const char* userId, const char* password, char* buffer, int bufferSize,
                    const char* proxyAddress, int32_t proxyPort, const char* tlsHost) {
  const std::string path = RelayRequestPath(module, state);
  return HttpGetSized(path.c_str(), serverAddress, static_cast<unsigned short>(serverPort), userId,
                      password, buffer, bufferSize, proxyAddress,
                      static_cast<unsigned short>(proxyPort), tlsHost);
}

}  // namespace pel
