#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "net/ResolveServerAddress.h"

namespace pel::test {

// A name resolver with a fixed table of answers that records every name it was asked for;
// for checking which names reach the lookup without sending queries anywhere.
class RecordingResolver {
 public:
  void Answer(const std::string& name, const std::string& dotted) { answers_[name] = dotted; }
  const std::vector<std::string>& asked() const { return asked_; }

  NameResolver AsResolver() {
    return [this](const std::string& name) -> std::optional<std::string> {
      asked_.push_back(name);
      auto it = answers_.find(name);
      if (it == answers_.end()) return std::nullopt;
      return it->second;
    };
  }

 private:
  std::map<std::string, std::string> answers_;
  std::vector<std::string> asked_;
};

}  // namespace pel::test
