#include "support/Kvsim.h"

#include <gtest/gtest.h>

#include "support/LoopbackClient.h"
#include "support/TestEnv.h"

namespace pel::test {

namespace {

// One command to kvsim's control port; kvsim answers and closes.
std::string Control(const std::string& command) {
  const int port = KvsimControlPort();
  if (port == 0) return "ERR no kvsim control port in the peers file (PEL_PEERS)\n";
  std::string answer = ExchangeWithLoopback(port, command);
  return answer.empty() ? "ERR no answer from kvsim's control port\n" : answer;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// Reads a decimal number that ends in LF at pos; advances pos past the LF.
bool ReadCount(const std::string& text, std::size_t& pos, std::size_t& value) {
  std::size_t lf = text.find('\n', pos);
  if (lf == std::string::npos || lf == pos || lf - pos > 10) return false;
  value = 0;
  for (std::size_t i = pos; i < lf; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + static_cast<std::size_t>(text[i] - '0');
  }
  pos = lf + 1;
  return true;
}

}  // namespace

KvsimScenario::KvsimScenario(const std::string& scenarioText) {
  std::string answer = Control("LOAD " + std::to_string(scenarioText.size()) + "\n" + scenarioText);
  std::size_t pos = 3;
  std::size_t port = 0;
  if (answer.compare(0, 3, "OK ") != 0 || !ReadCount(answer, pos, port) || port == 0 ||
      port > 65535) {
    ADD_FAILURE() << "kvsim did not load the scenario: " << FirstLine(answer);
    return;
  }
  port_ = static_cast<uint16_t>(port);
}

KvsimScenario::~KvsimScenario() {
  if (port_ == 0) return;
  std::string answer = Control("UNLOAD " + std::to_string(port_) + "\n");
  if (answer != "OK\n")
    ADD_FAILURE() << "kvsim did not unload port " << port_ << ": " << FirstLine(answer);
}

uint16_t KvsimScenario::port() const { return port_; }

std::vector<std::string> KvsimScenario::requests() const {
  std::string answer = Control("REQUESTS " + std::to_string(port_) + "\n");
  std::vector<std::string> requests;
  std::size_t pos = 3;
  std::size_t count = 0;
  if (answer.compare(0, 3, "OK ") != 0 || !ReadCount(answer, pos, count)) {
    ADD_FAILURE() << "kvsim did not list the requests: " << FirstLine(answer);
    return requests;
  }
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t size = 0;
    if (!ReadCount(answer, pos, size) || answer.size() - pos < size) {
      ADD_FAILURE() << "kvsim's request list breaks off in entry " << i;
      return requests;
    }
    requests.push_back(answer.substr(pos, size));
    pos += size;
  }
  if (pos != answer.size()) ADD_FAILURE() << "kvsim's request list has bytes after its last entry";
  return requests;
}

void KvsimScenario::clearRequests() {
  std::string answer = Control("CLEAR " + std::to_string(port_) + "\n");
  if (answer != "OK\n")
    ADD_FAILURE() << "kvsim did not clear port " << port_ << ": " << FirstLine(answer);
}

std::string TestBase64(const std::string& text) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  unsigned bits = 0;
  int pending = 0;  // bits held in the low end of bits
  for (unsigned char c : text) {
    bits = (bits << 8) | c;
    pending += 8;
    while (pending >= 6) {
      pending -= 6;
      out += kDigits[(bits >> pending) & 63];
    }
  }
  if (pending > 0) out += kDigits[(bits << (6 - pending)) & 63];
  while (out.size() % 4 != 0) out += '=';
  return out;
}

}  // namespace pel::test
