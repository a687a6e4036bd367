#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ControlCommand.h"
#include "HttpListener.h"
#include "UdpAudioServer.h"

namespace kvsim {

// The scenarios loaded through the control port, each by the port of its HTTP listener.
// Control connections run on their own threads, so every operation holds the lock; a scenario
// that is unloaded while another thread still reads its logs lives until that thread lets it go.
class ScenarioRegistry {
 public:
  struct Ports {
    uint16_t http = 0;
    uint16_t udp = 0;  // 0: the scenario has no udp section
  };

  // Parses text and starts its listener (and its UDP side): the ports, or nothing with error
  // filled.
  std::optional<Ports> load(std::string_view text, std::string& error);
  std::optional<std::vector<std::string>> requests(uint16_t port) const;
  std::optional<std::vector<std::string>> datagrams(uint16_t port) const;
  // Forgets the recorded requests and datagrams.
  bool clear(uint16_t port);
  bool unload(uint16_t port);
  void unloadAll();

  // Faults on a loaded server, on the port its clients know; false with error filled.
  bool fault(uint16_t port, HttpFault fault, std::string& error);
  // Every connection closed and the listener with them, down for the time sleep waits (it
  // answers false when kvsim stops meanwhile), then listening again on the same port; the UDP
  // side answers nothing meanwhile and forgets its sessions.
  bool restart(uint16_t port, uint64_t downMs, const std::function<bool(int)>& sleep,
               std::string& error);
  // silent: the UDP side records but answers nothing and forgets its sessions; back to
  // normal, it answers logins again. spoof: it answers as normal, but from another port.
  bool audio(uint16_t port, AudioAnswer answer, std::string& error);

 private:
  struct Loaded {
    std::shared_ptr<HttpListener> http;
    std::shared_ptr<UdpAudioServer> udp;
  };
  std::optional<Loaded> find(uint16_t port) const;

  mutable std::mutex mutex_;
  std::map<uint16_t, Loaded> loaded_;
};

}  // namespace kvsim
