#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "UdpScenario.h"

namespace kvsim {

// What a route does with the connection around its response.
enum class AfterMode {
  kClose,        // respond, close
  kKeepOpen,     // respond, keep open until the client closes
  kStallBefore,  // wait value ms, respond, close
  kStallMiddle,  // send the first half, wait value ms, send the rest, close
  kEarlyClose,   // send only the first value bytes, close
  kSilent,       // send nothing, keep open until the client closes
};

struct After {
  AfterMode mode = AfterMode::kClose;
  uint64_t value = 0;  // milliseconds or bytes, by mode
};

struct Route {
  std::string path;      // compared exactly with the request's path and query; "*" is the fallback
  std::string response;  // every byte sent, in order
  After after;
};

// One loaded scenario. Built once by ParseScenario and read-only afterwards, so every
// connection thread may read it without locking.
struct Scenario {
  // "Basic" credentials accepted, as their Base64 text; empty: no authorization needed.
  std::vector<std::string> credentials;
  std::vector<Route> routes;
  // The UDP audio side, when the scenario has a `udp` section.
  std::optional<UdpScenario> udp;

  // The route for a request path: the exact one, else "*", else null.
  const Route* find(std::string_view path) const;
  bool authorized(std::string_view basicCredentials) const;
};

// Parses scenario text. On failure returns false and error names the line ("line 7: ...").
bool ParseScenario(std::string_view text, Scenario& out, std::string& error);

}  // namespace kvsim
