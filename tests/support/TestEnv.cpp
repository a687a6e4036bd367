#include "support/TestEnv.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#ifdef _WIN32
#include <winsock2.h>
#endif

namespace pel::test {

namespace {
std::map<std::string, std::string>& Peers() {
  static std::map<std::string, std::string> values;
  return values;
}

int PeerInt(const char* key) {
  auto it = Peers().find(key);
  return it == Peers().end() ? 0 : std::atoi(it->second.c_str());
}

std::string PeerText(const char* key) {
  auto it = Peers().find(key);
  return it == Peers().end() ? std::string() : it->second;
}
}  // namespace

std::string HostPath(const std::string& unixPath) {
#ifdef _WIN32
  if (!unixPath.empty() && unixPath[0] == '/') return "Z:" + unixPath;
#endif
  return unixPath;
}

void InitTestEnvironment() {
#ifdef _WIN32
  // A child run that checks who starts Winsock asks for a process without it.
  if (std::getenv("PEL_TEST_NO_WINSOCK") == nullptr) {
    static WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
#endif
  const char* file = std::getenv("PEL_PEERS");
  if (file == nullptr) return;
  std::ifstream in(HostPath(file));
  std::string line;
  while (std::getline(in, line)) {
    auto eq = line.find('=');
    if (eq != std::string::npos) Peers()[line.substr(0, eq)] = line.substr(eq + 1);
  }
}

int KvsimControlPort() { return PeerInt("KVSIM_CONTROL_PORT"); }
int ProxyPort() { return PeerInt("PROXY_PORT"); }
int NginxPort() { return PeerInt("NGINX_PORT"); }
std::string NginxPagePath() { return "/page.txt"; }

std::string NginxPageBytes() {
  std::ifstream in(HostPath(PeerText("NGINX_ROOT") + "/page.txt"), std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

std::string SharedPath(const std::string& relative) {
  return HostPath(std::string(PEL_SHARED_DIR) + "/" + relative);
}

}  // namespace pel::test
