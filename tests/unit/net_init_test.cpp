// The HTTP client starts the socket library itself. The test program starts Winsock for every
// other test, so the page read runs in a child process of this program that does not (the
// test main leaves Winsock alone when PEL_TEST_NO_WINSOCK is set): there nothing but the
// client can start it.
#ifdef _WIN32
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "net/HttpClient.h"
#include "support/ChildProcess.h"
#include "support/HttpPeers.h"

namespace pel {
namespace {

constexpr char kChildFlag[] = "PEL_TEST_NO_WINSOCK";
constexpr char kPortVariable[] = "PEL_TEST_PAGE_PORT";
constexpr char kPage[] =
    "route /asp-get/kvsvrinf.asp\n"
    "status 200 OK\n"
    "body\n"
    "UDPPORT=32001\n"
    "end\n";

std::string ThisProgram() {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, n);
}

// In the child: Winsock is not started yet, then one page read against the parent's kvsim.
void ReadThePageWithoutWinsock() {
  const SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  ASSERT_EQ(probe, INVALID_SOCKET) << "Winsock runs already: the child proves nothing";
  ASSERT_EQ(WSAGetLastError(), WSANOTINITIALISED);

  const char* port = std::getenv(kPortVariable);
  ASSERT_NE(port, nullptr);
  char buffer[1024] = {};
  const int n = HttpGet("/asp-get/kvsvrinf.asp", "127.0.0.1",
                        static_cast<unsigned short>(std::atoi(port)), "", "", buffer,
                        sizeof buffer, "", 0);
  ASSERT_GT(n, 0);
  EXPECT_EQ(std::string(buffer, static_cast<size_t>(n)),
            "HTTP/1.1 200 OK\r\nContent-Length: 15\r\n\r\nUDPPORT=32001\r\n");
}

TEST(HttpClientSocketLibrary, ReadsAPageInAProcessWhereNothingElseStartedWinsock) {
  if (std::getenv(kChildFlag) != nullptr) return ReadThePageWithoutWinsock();

  PEL_REQUIRE_PEER(test::KvsimControlPort(), "kvsim");
  test::KvsimScenario kvsim(kPage);
  ASSERT_NE(kvsim.port(), 0);
  SetEnvironmentVariableA(kChildFlag, "1");
  SetEnvironmentVariableA(kPortVariable, std::to_string(kvsim.port()).c_str());
  const test::ProcessResult child = test::RunProcess(
      ThisProgram(), {"--gtest_filter=HttpClientSocketLibrary.*"});
  SetEnvironmentVariableA(kChildFlag, nullptr);
  SetEnvironmentVariableA(kPortVariable, nullptr);

  ASSERT_TRUE(child.started);
  EXPECT_EQ(child.exitStatus, 0) << child.out;
  EXPECT_NE(child.out.find("[  PASSED  ] 1 test"), std::string::npos) << child.out;
  EXPECT_EQ(kvsim.requests().size(), 1u);
}

}  // namespace
}  // namespace pel
#endif
