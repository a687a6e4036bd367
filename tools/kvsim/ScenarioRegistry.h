#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "HttpListener.h"

namespace kvsim {

// The scenarios loaded through the control port, each by the port of its listener. Control
// connections run on their own threads, so every operation holds the lock; a listener that is
// unloaded while another thread still reads its log lives until that thread lets it go.
class ScenarioRegistry {
 public:
  // Parses text and starts a listener for it: its port, or nothing with error filled.
  std::optional<uint16_t> load(std::string_view text, std::string& error);
  std::optional<std::vector<std::string>> requests(uint16_t port) const;
  bool clear(uint16_t port);
  bool unload(uint16_t port);
  void unloadAll();

 private:
  std::shared_ptr<HttpListener> find(uint16_t port) const;

  mutable std::mutex mutex_;
  std::map<uint16_t, std::shared_ptr<HttpListener>> listeners_;
};

}  // namespace kvsim
