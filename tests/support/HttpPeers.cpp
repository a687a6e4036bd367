#include "support/HttpPeers.h"

#include <chrono>
#include <thread>

namespace pel::test {

std::vector<std::string> WaitForRequests(const KvsimScenario& scenario, std::size_t count) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  std::vector<std::string> requests = scenario.requests();
  while (requests.size() < count && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    requests = scenario.requests();
  }
  return requests;
}

std::string ExpectedRequest(const std::string& path, const std::string& address, unsigned port,
                            const std::string& authorizationLine) {
  return "GET http://" + address + ":" + std::to_string(port) + path + " HTTP/1.1\r\n" +
         "Host: " + address + "\r\nConnection: Keep-Alive\r\n" + authorizationLine + "\r\n";
}

std::string AuthorizationLine(const std::string& user, const std::string& password) {
  return "Authorization: Basic " + TestBase64(user + ":" + password) + "\r\n";
}

}  // namespace pel::test
