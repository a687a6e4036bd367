// kvsim's scenario reader: directives, blocks, escapes and the answers built from them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "../tools/kvsim/Base64.cpp"
#include "../tools/kvsim/JesBuilder.cpp"
#include "../tools/kvsim/Response.cpp"
#include "../tools/kvsim/Scenario.cpp"
#include "../tools/kvsim/ScenarioParser.cpp"
#include "../tools/kvsim/Text.cpp"
#include "../tools/kvsim/TextEscape.cpp"
#include "../tools/kvsim/UdpScenarioParser.cpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Large bodies are legal (body-repeat); keep each run small instead.
  if (size > 4096) return 0;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  kvsim::Scenario scenario;
  std::string error;
  if (kvsim::ParseScenario(text, scenario, error)) {
    for (const kvsim::Route& route : scenario.routes) {
      if (scenario.find(route.path) == nullptr) __builtin_trap();
    }
  } else if (error.compare(0, 5, "line ") != 0) {
    __builtin_trap();
  }
  return 0;
}
