#pragma once

#include "ports/BrowserProxySetting.h"

namespace pel::win {

// The browser proxy values of the current user, read from the registry at each call.
class RegistryProxySetting final : public IBrowserProxySetting {
 public:
  std::optional<Value> ReadValue(const std::string& name) override;
};

}  // namespace pel::win
