#include "Scenario.h"

#include <algorithm>

namespace kvsim {

const Route* Scenario::find(std::string_view path) const {
  const Route* fallback = nullptr;
  for (const Route& route : routes) {
    if (route.path == path) return &route;
    if (route.path == "*") fallback = &route;
  }
  return fallback;
}

bool Scenario::authorized(std::string_view basicCredentials) const {
  return credentials.empty() ||
         std::find(credentials.begin(), credentials.end(), basicCredentials) != credentials.end();
}

}  // namespace kvsim
