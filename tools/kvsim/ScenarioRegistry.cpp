#include "ScenarioRegistry.h"

namespace kvsim {

std::optional<ScenarioRegistry::Ports> ScenarioRegistry::load(std::string_view text,
                                                              std::string& error) {
  Scenario scenario;
  if (!ParseScenario(text, scenario, error)) return std::nullopt;
  Loaded loaded;
  if (scenario.udp) {
    loaded.udp = UdpAudioServer::Start(std::move(*scenario.udp), 0, error);
    if (!loaded.udp) return std::nullopt;
    scenario.udp.reset();
  }
  loaded.http = HttpListener::Start(std::move(scenario), 0, error);
  if (!loaded.http) return std::nullopt;
  Ports ports{loaded.http->port(), loaded.udp ? loaded.udp->port() : uint16_t{0}};
  std::lock_guard<std::mutex> lock(mutex_);
  loaded_[ports.http] = std::move(loaded);
  return ports;
}

std::optional<ScenarioRegistry::Loaded> ScenarioRegistry::find(uint16_t port) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = loaded_.find(port);
  if (it == loaded_.end()) return std::nullopt;
  return it->second;
}

std::optional<std::vector<std::string>> ScenarioRegistry::requests(uint16_t port) const {
  auto loaded = find(port);
  if (!loaded) return std::nullopt;
  return loaded->http->log().snapshot();
}

std::optional<std::vector<std::string>> ScenarioRegistry::datagrams(uint16_t port) const {
  auto loaded = find(port);
  if (!loaded) return std::nullopt;
  if (!loaded->udp) return std::vector<std::string>();
  return loaded->udp->log().snapshot();
}

bool ScenarioRegistry::clear(uint16_t port) {
  auto loaded = find(port);
  if (!loaded) return false;
  loaded->http->log().clear();
  if (loaded->udp) loaded->udp->log().clear();
  return true;
}

bool ScenarioRegistry::unload(uint16_t port) {
  Loaded loaded;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = loaded_.find(port);
    if (it == loaded_.end()) return false;
    loaded = std::move(it->second);
    loaded_.erase(it);
  }
  // Stopping joins the servers' threads: done outside the lock.
  return true;
}

bool ScenarioRegistry::fault(uint16_t port, HttpFault fault, std::string& error) {
  auto loaded = find(port);
  if (!loaded) {
    error = "no scenario on port " + std::to_string(port);
    return false;
  }
  return loaded->http->setFault(fault, error);
}

bool ScenarioRegistry::restart(uint16_t port, uint64_t downMs,
                               const std::function<bool(int)>& sleep, std::string& error) {
  auto loaded = find(port);
  if (!loaded) {
    error = "no scenario on port " + std::to_string(port);
    return false;
  }
  if (loaded->udp) loaded->udp->setDown(true);
  loaded->http->close();
  const bool slept = downMs == 0 || sleep(static_cast<int>(downMs));
  const bool listening = loaded->http->reopen(error);
  if (loaded->udp) loaded->udp->setDown(false);
  if (!slept) error = "kvsim stops";
  return slept && listening;
}

bool ScenarioRegistry::audio(uint16_t port, AudioAnswer answer, std::string& error) {
  auto loaded = find(port);
  if (!loaded) {
    error = "no scenario on port " + std::to_string(port);
    return false;
  }
  if (!loaded->udp) {
    error = "no udp section on port " + std::to_string(port);
    return false;
  }
  loaded->udp->setSpoof(answer == AudioAnswer::kSpoof);
  loaded->udp->setSilent(answer == AudioAnswer::kSilent);
  return true;
}

void ScenarioRegistry::unloadAll() {
  std::map<uint16_t, Loaded> all;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    all.swap(loaded_);
  }
  all.clear();
}

}  // namespace kvsim
