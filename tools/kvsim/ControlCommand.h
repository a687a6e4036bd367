#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvsim {

// One command line of the control protocol: "LOAD <n>", "REQUESTS <port>", "DATAGRAMS <port>",
// "CLEAR <port>" or "UNLOAD <port>" (a CR before the LF is tolerated).
struct ControlCommand {
  enum class Verb { kLoad, kRequests, kDatagrams, kClear, kUnload };
  Verb verb;
  uint64_t number;  // the byte count of LOAD, else the port
};

// The command, or nothing with a reason in error.
std::optional<ControlCommand> ParseControlCommand(std::string_view line, std::string& error);

// "<n>\n" then the bytes, for each entry after "OK <count>\n" (requests or datagrams).
std::string FormatRequests(const std::vector<std::string>& requests);

}  // namespace kvsim
