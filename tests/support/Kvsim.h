#pragma once
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
  std::vector<std::string> requests() const;  // bytes of each recorded request, in order
  void clearRequests();
 private:
  uint16_t port_ = 0;
};
// Base64 of text, for building expected Authorization lines independently of the core.
std::string TestBase64(const std::string& text);
}  // namespace pel::test
