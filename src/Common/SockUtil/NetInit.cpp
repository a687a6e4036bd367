#include "Common/SockUtil/NetInit.h"

#ifdef _WIN32
#include <winsock2.h>
#endif

namespace pel {

#ifdef _WIN32
namespace {
// Started once and never cleaned up: the control lives in a DLL, and WSACleanup must not run
// from DLL detach under the loader lock. The process's exit releases Winsock.
bool StartWinsock() {
  WSADATA data{};
  return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}
}  // namespace

bool EnsureSocketLibrary() {
  static const bool started = StartWinsock();
  return started;
}
#else
bool EnsureSocketLibrary() { return true; }
#endif

}  // namespace pel
