#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "support/Kvsim.h"
#include "support/TestEnv.h"

// Fails the running test when its loopback peer is not running (port 0 in the peers file).
// The test run starts every peer, so a missing one is a fault of the run: a skip would count
// as a pass.
#define PEL_REQUIRE_PEER(port, name)                                                   \
  do {                                                                                 \
    if ((port) == 0) GTEST_FAIL() << name << " is not running (no port in PEL_PEERS)"; \
  } while (0)

namespace pel::test {

// kvsim records each connection from a thread of its own: the requests once at least `count`
// connections are recorded, waiting up to two seconds.
std::vector<std::string> WaitForRequests(const KvsimScenario& scenario, std::size_t count);

// The request HttpGet sends for `path` to `address`:`port` (the address as dotted text),
// ending with the given authorization line (empty, or a whole line with its CR LF).
std::string ExpectedRequest(const std::string& path, const std::string& address, unsigned port,
                            const std::string& authorizationLine = "");

// "Authorization: Basic <base64 of user:password>\r\n", built independently of the client.
std::string AuthorizationLine(const std::string& user, const std::string& password);

}  // namespace pel::test
