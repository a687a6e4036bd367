#include "ControlCommand.h"

#include <tuple>

#include "Text.h"

namespace kvsim {

namespace {
// A scenario text is small; larger counts are refused before any byte is read.
constexpr uint64_t kMaxScenarioBytes = 16u << 20;
// The longest stall a fault holds an answer (as a route's waits), and the longest restart.
constexpr uint64_t kMaxStallMs = 600000;
constexpr uint64_t kMaxDownMs = 60000;
constexpr uint64_t kMaxCutBytes = 64u << 20;

// The words after the port of FAULT, RESTART and AUDIO; false with error filled.
bool ParseOptions(std::string_view rest, ControlCommand& command, std::string& error) {
  auto [word, more] = SplitWord(rest);
  auto [number, extra] = SplitWord(more);
  auto numberUpTo = [number = number](uint64_t limit, uint64_t& into) {
    auto value = ParseDecimal(number, limit);
    if (value) into = *value;
    return value.has_value();
  };
  switch (command.verb) {
    case ControlCommand::Verb::kFault: {
      using Kind = HttpFault::Kind;
      HttpFault& fault = command.fault;
      if (word == "none" || word == "garbage" || word == "refuse") {
        fault.kind = word == "none"      ? Kind::kNone
                     : word == "garbage" ? Kind::kGarbage
                                         : Kind::kRefuse;
        if (more.empty()) return true;
      } else if (word == "stall") {
        fault.kind = Kind::kStall;
        if (numberUpTo(kMaxStallMs, fault.value) && extra.empty()) return true;
      } else if (word == "trickle") {
        fault.kind = Kind::kTrickle;
        if (numberUpTo(kMaxStallMs, fault.value) && fault.value > 0 && extra.empty()) {
          return true;
        }
      } else if (word == "cut" || word == "reset") {
        fault.kind = word == "cut" ? Kind::kCut : Kind::kReset;
        if (numberUpTo(kMaxCutBytes, fault.value) && extra.empty()) return true;
      }
      error =
          "FAULT <port> none|stall <ms>|trickle <ms>|cut <bytes>|reset <bytes>|garbage|refuse";
      return false;
    }
    case ControlCommand::Verb::kRestart:
      if (word.empty() || (word == "down" && numberUpTo(kMaxDownMs, command.downMs) &&
                           extra.empty())) {
        return true;
      }
      error = "RESTART <port> [down <ms>], at most 60000 ms";
      return false;
    case ControlCommand::Verb::kAudio:
      if ((word == "silent" || word == "normal" || word == "spoof") && more.empty()) {
        command.audio = word == "silent"  ? AudioAnswer::kSilent
                        : word == "spoof" ? AudioAnswer::kSpoof
                                          : AudioAnswer::kNormal;
        return true;
      }
      error = "AUDIO <port> silent|normal|spoof";
      return false;
    default:
      return true;
  }
}

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
      {"FAULT", ControlCommand::Verb::kFault},
      {"RESTART", ControlCommand::Verb::kRestart},
      {"AUDIO", ControlCommand::Verb::kAudio},
  };
  for (const auto& known : kVerbs) {
    if (verb != known.word) continue;
    ControlCommand command;
    command.verb = known.verb;
    const bool isLoad = known.verb == ControlCommand::Verb::kLoad;
    // The verbs with options after the port; the others take the number alone.
    const bool hasOptions = known.verb == ControlCommand::Verb::kFault ||
                            known.verb == ControlCommand::Verb::kRestart ||
                            known.verb == ControlCommand::Verb::kAudio;
    std::string_view rest;
    if (hasOptions) std::tie(argument, rest) = SplitWord(argument);
    auto number = ParseDecimal(argument, isLoad ? kMaxScenarioBytes : 65535);
    if (!number || (!isLoad && *number == 0)) {
      error = isLoad ? "LOAD needs a byte count of at most 16777216" : "bad port";
      return std::nullopt;
    }
    command.number = *number;
    if (!ParseOptions(rest, command, error)) return std::nullopt;
    return command;
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
