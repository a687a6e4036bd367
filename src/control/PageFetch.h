#pragma once

#include <cstddef>
#include <vector>

#include "control/ControlProperties.h"
#include "ports/RequestGate.h"
#include "ports/UserMessages.h"
#include "serverinfo/PageReadOutcome.h"
#include "serverinfo/PageText.h"

namespace pel {

// Size of the buffer a server page is read into.
constexpr size_t kPageBufferSize = 10240;

// A page as received: a cleared buffer of kPageBufferSize bytes and how many arrived.
struct PageBuffer {
  std::vector<char> bytes = std::vector<char>(kPageBufferSize, '\0');
  size_t received = 0;

  PageText Text() const { return PageText(bytes.data(), received); }
};

// Reads the page at `path` from the server the properties name (through their proxy when one
// is set), with their credentials. After a failure its message has been shown: "GetAspWp (%s)
// read failed." when the request failed, the status check's message when the status is not a
// success; over TLS (ServerTlsHost), a failed secure connection shows its own message naming
// the host. A request the gate (the control's site lock; none for tools) holds back is not sent
// and shows nothing: kNotRead. When the gate refuses credentials over plain http, a read that
// would carry them is not sent either and shows that: kNotRead.
PageReadOutcome FetchPage(const char* path, const ControlProperties& props,
                          IUserMessages& messages, PageBuffer& page,
                          IRequestGate* gate = nullptr);

}  // namespace pel
