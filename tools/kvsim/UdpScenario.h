#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kvsim {

// How the UDP audio side answers a login record.
enum class LoginAnswer {
  kCheck,      // accepted for a configured user (or anyone when none is configured), else denied
  kAccept,     // accepted whoever logs in
  kDeny,       // a login reply with the deny status
  kWrongKind,  // a record of another kind
  kWrongMark,  // a reply whose first byte is not 0x7E
  kSilent,     // nothing
};

// One thing a session does, in order, after an accepted login.
struct UdpStep {
  enum class Kind {
    kWait,       // value: milliseconds
    kPackets,    // packets, sent `value` times over
    kCounter,    // value packets with numbered payloads of `size` bytes
    kDatagram,   // bytes, as one datagram (a record built by the scenario)
    kGarbage,    // value datagrams that are not records
    kLogoutAck,  // an unasked logout acknowledgement
    kEcho,       // from now on, every Jes packet the client sends goes back as records
  };
  Kind kind = Kind::kWait;
  uint64_t value = 0;
  uint64_t size = 0;
  int mode = 2;                      // codec mode of the packets kvsim builds
  std::vector<std::string> packets;  // whole Jes packets
  std::string bytes;
};

// The `udp` section of a scenario. Read-only once parsed.
struct UdpScenario {
  std::vector<std::pair<std::string, std::string>> users;
  LoginAnswer login = LoginAnswer::kCheck;
  uint8_t denyStatus = 0;
  bool acknowledgeLogout = true;
  uint64_t pace = 0;  // datagrams a second a session sends; 0: as fast as it can
  std::vector<UdpStep> steps;

  bool accepts(std::string_view user, std::string_view password) const;
  bool echoes() const;
};

// Parses the lines between "udp" and "end"; firstLine is the number of the first of them.
// On failure returns false with the reason in error and its line in errorLine.
bool ParseUdpSection(const std::vector<std::string_view>& lines, int firstLine, UdpScenario& out,
                     std::string& error, int& errorLine);

}  // namespace kvsim
