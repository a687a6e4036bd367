#include "ScenarioRegistry.h"

namespace kvsim {

std::optional<uint16_t> ScenarioRegistry::load(std::string_view text, std::string& error) {
  Scenario scenario;
  if (!ParseScenario(text, scenario, error)) return std::nullopt;
  std::shared_ptr<HttpListener> listener = HttpListener::Start(std::move(scenario), 0, error);
  if (!listener) return std::nullopt;
  uint16_t port = listener->port();
  std::lock_guard<std::mutex> lock(mutex_);
  listeners_[port] = std::move(listener);
  return port;
}

std::shared_ptr<HttpListener> ScenarioRegistry::find(uint16_t port) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = listeners_.find(port);
  return it == listeners_.end() ? nullptr : it->second;
}

std::optional<std::vector<std::string>> ScenarioRegistry::requests(uint16_t port) const {
  std::shared_ptr<HttpListener> listener = find(port);
  if (!listener) return std::nullopt;
  return listener->log().snapshot();
}

bool ScenarioRegistry::clear(uint16_t port) {
  std::shared_ptr<HttpListener> listener = find(port);
  if (!listener) return false;
  listener->log().clear();
  return true;
}

bool ScenarioRegistry::unload(uint16_t port) {
  std::shared_ptr<HttpListener> listener;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = listeners_.find(port);
    if (it == listeners_.end()) return false;
    listener = std::move(it->second);
    listeners_.erase(it);
  }
  // Stopping joins the listener's threads: done outside the lock.
  listener.reset();
  return true;
}

void ScenarioRegistry::unloadAll() {
  std::map<uint16_t, std::shared_ptr<HttpListener>> all;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    all.swap(listeners_);
  }
  all.clear();
}

}  // namespace kvsim
