#include "ControlCommand.h"

#include "Text.h"

namespace kvsim {

namespace {
// A scenario text is small; larger counts are refused before any byte is read.
constexpr uint64_t kMaxScenarioBytes = 16u << 20;

}  // namespace

std::optional<ControlCommand> ParseControlCommand(std::string_view line, std::string& error) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::size_t space = line.find(' ');
  std::string_view verb = line.substr(0, space);
  std::string_view argument = space == std::string_view::npos ? "" : line.substr(space + 1);
  static const struct {
    const char* word;
    ControlCommand::Verb verb;
  } kVerbs[] = {
      {"LOAD", ControlCommand::Verb::kLoad},
      {"REQUESTS", ControlCommand::Verb::kRequests},
      {"DATAGRAMS", ControlCommand::Verb::kDatagrams},
      {"CLEAR", ControlCommand::Verb::kClear},
      {"UNLOAD", ControlCommand::Verb::kUnload},
  };
  for (const auto& known : kVerbs) {
    if (verb != known.word) continue;
    bool isLoad = known.verb == ControlCommand::Verb::kLoad;
    auto number = ParseDecimal(argument, isLoad ? kMaxScenarioBytes : 65535);
    if (!number || (!isLoad && *number == 0)) {
      error = isLoad ? "LOAD needs a byte count of at most 16777216" : "bad port";
      return std::nullopt;
    }
    return ControlCommand{known.verb, *number};
  }
  error = "unknown command";
  return std::nullopt;
}

std::string FormatRequests(const std::vector<std::string>& requests) {
  std::string out = "OK " + std::to_string(requests.size()) + "\n";
  for (const std::string& request : requests) {
    out += std::to_string(request.size()) + "\n";
    out += request;
  }
  return out;
}

}  // namespace kvsim
