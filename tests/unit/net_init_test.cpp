#include <gtest/gtest.h>

#include "Common/SockUtil/NetInit.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace pel {
namespace {

TEST(EnsureSocketLibraryTest, SocketsCanBeMadeAfterwards) {
  ASSERT_TRUE(EnsureSocketLibrary());
#ifdef _WIN32
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  EXPECT_NE(s, INVALID_SOCKET);
  if (s != INVALID_SOCKET) closesocket(s);
#else
  const int s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  EXPECT_GE(s, 0);
  if (s >= 0) close(s);
#endif
}

}  // namespace
}  // namespace pel
