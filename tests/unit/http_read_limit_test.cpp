// A server that trickles its answer, one byte a second, so that no wait for the next byte
// ever runs out: the whole read still ends at the request's time limit, as a timed-out read.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <future>
#include <vector>

#include "net/HttpClient.h"
#include "support/HttpPeers.h"
#include "support/LoopbackClient.h"

namespace pel {
namespace {

TEST(HttpReadLimit, TricklingServerFailsTheReadAtTheLimit) {
  PEL_REQUIRE_PEER(test::KvsimControlPort(), "kvsim");
  // 44 bytes at one a second: without the limit both reads would succeed after 44 s.
  test::KvsimScenario kvsim("route /a\nbody\nA=1\nend\n");
  ASSERT_EQ(test::ExchangeWithLoopback(test::KvsimControlPort(),
                                       "FAULT " + std::to_string(kvsim.port()) + " trickle 1000\n"),
            "OK\n");
  const auto read = [&](decltype(&HttpGet) get) {
    std::vector<char> buffer(4096);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(get("/a", "127.0.0.1", kvsim.port(), "", "", buffer.data(), 4096, "", 0, nullptr),
              HTTP_GET_FAILED);
    EXPECT_EQ(errno, SOCK_ERR_TIMEOUT);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took.count(), kHttpReadLimitSeconds - 1);
    EXPECT_LT(took.count(), kHttpReadLimitSeconds + 5);
  };
  auto sized = std::async(std::launch::async, read, &HttpGetSized);
  read(&HttpGet);
  sized.get();
  EXPECT_EQ(kvsim.requests().size(), 2u);
}

}  // namespace
}  // namespace pel
