#pragma once

#include <cstdint>

namespace pel {

// Sends the relay request for `module` with output state `state` (its low eight bits) and reads
// the answer with HttpGetSized (over TLS for `tlsHost` when one is given): the byte count, or
// its negative failure code.
int SetRelayOutputs(int32_t module, const char* serverAddress, int32_t serverPort, uint8_t state,
                    const char* userId, const char* password, char* buffer, int bufferSize,
                    const char* proxyAddress, int32_t proxyPort, const char* tlsHost = nullptr);

}  // namespace pel
