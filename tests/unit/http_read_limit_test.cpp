// A server that trickles its answer, one byte a second, so that no wait for the next byte
// ever runs out: the whole read still ends at the request's time limit, as a timed-out read.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "net/HttpClient.h"
#include "support/HttpPeers.h"
#include "support/LoopbackClient.h"

namespace pel {
namespace {

using Clock = std::chrono::steady_clock;
using HttpRead = int (*)(const char*, const char*, unsigned short, const char*, const char*,
                         char*, int, const char*, unsigned short);

struct ReadOutcome {
  int result = 0;
  int error = 0;
  double seconds = 0;
};

ReadOutcome TimedRead(HttpRead read, unsigned short port) {
  std::vector<char> buffer(4096, '\0');
  const auto start = Clock::now();
  ReadOutcome outcome;
  outcome.result = read("/a", "127.0.0.1", port, "", "", buffer.data(),
                        static_cast<int>(buffer.size()), "", 0);
  outcome.error = errno;
  outcome.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return outcome;
}

TEST(HttpReadLimit, TricklingServerFailsTheReadAtTheLimit) {
  PEL_REQUIRE_PEER(test::KvsimControlPort(), "kvsim");
  // 44 bytes at one a second: without the limit both reads would succeed after 44 s.
  test::KvsimScenario kvsim("route /a\nbody\nA=1\nend\n");
  ASSERT_NE(kvsim.port(), 0);
  ASSERT_EQ(test::ExchangeWithLoopback(test::KvsimControlPort(),
                                       "FAULT " + std::to_string(kvsim.port()) + " trickle 1000\n"),
            "OK\n");

  auto whole = std::async(std::launch::async, TimedRead, &HttpGet, kvsim.port());
  auto sized = std::async(std::launch::async, TimedRead, &HttpGetSized, kvsim.port());
  for (const ReadOutcome& outcome : {whole.get(), sized.get()}) {
    EXPECT_EQ(outcome.result, HTTP_GET_FAILED);
    EXPECT_EQ(outcome.error, SOCK_ERR_TIMEOUT);
    EXPECT_GE(outcome.seconds, kHttpReadLimitSeconds - 1);
    EXPECT_LT(outcome.seconds, kHttpReadLimitSeconds + 5);
  }
  EXPECT_EQ(kvsim.requests().size(), 2u);
}

}  // namespace
}  // namespace pel
