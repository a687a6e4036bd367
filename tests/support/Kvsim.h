#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>
namespace pel::test {
// One scenario loaded into the running kvsim (control port from TestEnv's KvsimControlPort());
// unloaded when this object goes away.
class KvsimScenario {
 public:
  explicit KvsimScenario(const std::string& scenarioText);  // on failure: ADD_FAILURE with
                                                             // kvsim's message, port() == 0
  ~KvsimScenario();
  KvsimScenario(const KvsimScenario&) = delete;
  KvsimScenario& operator=(const KvsimScenario&) = delete;
  uint16_t port() const;
  // The UDP audio port of a scenario with a udp section; 0 without one.
  uint16_t udpPort() const;
  std::vector<std::string> requests() const;  // bytes of each recorded request, in order
  // Every datagram the UDP side received, byte for byte, in order.
  std::vector<std::string> datagrams() const;
  // datagrams() once at least `count` arrived, or what arrived within timeoutMs.
  std::vector<std::string> waitForDatagrams(std::size_t count, int timeoutMs = 5000) const;
  void clearRequests();  // forgets the recorded requests and datagrams
  bool audio(const std::string& answer) const;  // AUDIO normal/silent/spoof; false if refused
 private:
  std::vector<std::string> records(const char* command) const;
  uint16_t port_ = 0;
  uint16_t udpPort_ = 0;
};
// Base64 of text, for building expected Authorization lines independently of the core.
std::string TestBase64(const std::string& text);
}  // namespace pel::test
