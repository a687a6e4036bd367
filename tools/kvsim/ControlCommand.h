#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "HttpFault.h"

namespace kvsim {

// One command line of the control protocol (a CR before the LF is tolerated):
//   LOAD <n> | REQUESTS <port> | DATAGRAMS <port> | CLEAR <port> | UNLOAD <port>
//   FAULT <port> none|stall <ms>|cut <n>|reset <n>|garbage|refuse
//   RESTART <port> [down <ms>]
//   AUDIO <port> silent|normal|spoof
// How the UDP side answers after AUDIO: as its scenario says, not at all, or as its scenario
// says but from another port of its own (a sender the client never wrote to).
enum class AudioAnswer { kNormal, kSilent, kSpoof };

struct ControlCommand {
  enum class Verb { kLoad, kRequests, kDatagrams, kClear, kUnload, kFault, kRestart, kAudio };
  Verb verb = Verb::kLoad;
  uint64_t number = 0;  // the byte count of LOAD, else the port
  HttpFault fault;      // FAULT
  uint64_t downMs = 0;  // RESTART
  AudioAnswer audio = AudioAnswer::kNormal;  // AUDIO
};

// The command, or nothing with a reason in error.
std::optional<ControlCommand> ParseControlCommand(std::string_view line, std::string& error);

// "<n>\n" then the bytes, for each entry after "OK <count>\n" (requests or datagrams).
std::string FormatRequests(const std::vector<std::string>& requests);

}  // namespace kvsim
