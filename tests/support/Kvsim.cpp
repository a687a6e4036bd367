#include "support/Kvsim.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

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

// Reads a decimal number that ends in `end` at pos; advances pos past the end character.
bool ReadCount(const std::string& text, std::size_t& pos, std::size_t& value, char end = '\n') {
  std::size_t lf = text.find(end, pos);
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
  // "OK <port>\n", or "OK <port> <udp port>\n" for a scenario with a udp section.
  std::size_t pos = 3;
  std::size_t port = 0;
  std::size_t udpPort = 0;
  const bool withUdp = FirstLine(answer).find(' ', 3) != std::string::npos;
  if (answer.compare(0, 3, "OK ") != 0 || !ReadCount(answer, pos, port, withUdp ? ' ' : '\n') ||
      (withUdp && !ReadCount(answer, pos, udpPort)) || port == 0 || port > 65535 ||
      udpPort > 65535 || (withUdp && udpPort == 0)) {
    ADD_FAILURE() << "kvsim did not load the scenario: " << FirstLine(answer);
    return;
  }
  port_ = static_cast<uint16_t>(port);
  udpPort_ = static_cast<uint16_t>(udpPort);
}

KvsimScenario::~KvsimScenario() {
  if (port_ == 0) return;
  std::string answer = Control("UNLOAD " + std::to_string(port_) + "\n");
  if (answer != "OK\n")
    ADD_FAILURE() << "kvsim did not unload port " << port_ << ": " << FirstLine(answer);
}

uint16_t KvsimScenario::port() const { return port_; }

uint16_t KvsimScenario::udpPort() const { return udpPort_; }

bool KvsimScenario::audio(const std::string& answer) const {
  return Control("AUDIO " + std::to_string(port_) + " " + answer + "\n") == "OK\n";
}

std::vector<std::string> KvsimScenario::requests() const { return records("REQUESTS"); }

std::vector<std::string> KvsimScenario::datagrams() const { return records("DATAGRAMS"); }

std::vector<std::string> KvsimScenario::waitForDatagrams(std::size_t count, int timeoutMs) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    std::vector<std::string> got = datagrams();
    if (got.size() >= count || std::chrono::steady_clock::now() >= deadline) return got;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::vector<std::string> KvsimScenario::records(const char* command) const {
  std::string answer = Control(std::string(command) + " " + std::to_string(port_) + "\n");
  std::vector<std::string> requests;
  std::size_t pos = 3;
  std::size_t count = 0;
  if (answer.compare(0, 3, "OK ") != 0 || !ReadCount(answer, pos, count)) {
    ADD_FAILURE() << "kvsim did not list the " << command << ": " << FirstLine(answer);
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
