#pragma once

namespace pel {

// Makes sure the socket library can be used by this thread's caller: on Windows, Winsock 2.2 is
// started once per process (the first call does it, thread-safe); elsewhere nothing is needed.
// False only when Winsock could not be started.
bool EnsureSocketLibrary();

}  // namespace pel
