// The `udp` section of a scenario: one directive per line, as in the rest of the file.
#include <sys/stat.h>

#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "JesBuilder.h"
#include "Text.h"
#include "UdpScenario.h"

namespace kvsim {

namespace {

constexpr uint64_t kMaxFileBytes = 64u << 20;
constexpr uint64_t kMaxStepWaitMs = 600000;
constexpr uint64_t kMaxCount = 100000000;
constexpr uint64_t kMaxPayload = 65000;  // a Jes packet stays a sensible size
constexpr uint64_t kMaxPace = 10000000;

class UdpParser {
 public:
  UdpParser(UdpScenario& out, std::string& error) : out_(out), error_(error) {}

  bool directive(std::string_view keyword, std::string_view arg) {
    arg = TrimRight(arg);
    if (echoAt_ != 0 && IsStep(keyword)) {
      return fail("nothing runs after 'echo' (line " + std::to_string(echoAt_) + ")");
    }
    if (keyword == "user") return user(arg);
    if (keyword == "login") return login(arg);
    if (keyword == "logout") return logout(arg);
    if (keyword == "pace")
      return number(arg, kMaxPace, out_.pace, "'pace' needs datagrams a second");
    if (keyword == "mode") return mode(arg);
    if (keyword == "wait") return wait(arg);
    if (keyword == "send-payload") return sendPayload(arg);
    if (keyword == "send-counter") return sendCounter(arg);
    if (keyword == "send-payload-file") return sendPayloadFile(arg);
    if (keyword == "send-packet-file") return sendPacketFile(arg);
    if (keyword == "record") return record(arg);
    if (keyword == "garbage") return garbage(arg);
    if (keyword == "logout-ack") return bare(arg, UdpStep::Kind::kLogoutAck, "logout-ack");
    if (keyword == "echo") return bare(arg, UdpStep::Kind::kEcho, "echo");
    return fail("unknown udp directive '" + std::string(keyword) + "'");
  }

  void at(int line) { line_ = line; }

 private:
  static bool IsStep(std::string_view keyword) {
    return keyword == "wait" || keyword.substr(0, 5) == "send-" || keyword == "record" ||
           keyword == "garbage" || keyword == "logout-ack" || keyword == "echo";
  }

  bool fail(std::string message) {
    error_ = std::move(message);
    return false;
  }

  bool number(std::string_view arg, uint64_t limit, uint64_t& value, const char* message) {
    auto n = ParseDecimal(arg, limit);
    if (!n) return fail(message);
    value = *n;
    return true;
  }

  UdpStep& step(UdpStep::Kind kind) {
    out_.steps.emplace_back();
    out_.steps.back().kind = kind;
    out_.steps.back().mode = mode_;
    return out_.steps.back();
  }

  bool user(std::string_view arg) {
    const std::size_t colon = arg.find(':');
    if (colon == std::string_view::npos) return fail("'user' needs NAME:PASSWORD");
    out_.users.emplace_back(std::string(arg.substr(0, colon)), std::string(arg.substr(colon + 1)));
    return true;
  }

  bool login(std::string_view arg) {
    auto [word, rest] = SplitWord(arg);
    static const struct {
      const char* word;
      LoginAnswer answer;
    } kAnswers[] = {
        {"check", LoginAnswer::kCheck},
        {"accept", LoginAnswer::kAccept},
        {"deny", LoginAnswer::kDeny},
        {"wrong-kind", LoginAnswer::kWrongKind},
        {"wrong-mark", LoginAnswer::kWrongMark},
        {"silent", LoginAnswer::kSilent},
    };
    for (const auto& known : kAnswers) {
      if (word != known.word) continue;
      out_.login = known.answer;
      if (rest.empty()) return true;
      auto status = ParseDecimal(rest, 255);
      if (known.answer != LoginAnswer::kDeny || !status || *status == 1) {
        return fail("only 'login deny' takes a value, a status 0..255 other than 1");
      }
      out_.denyStatus = static_cast<uint8_t>(*status);
      return true;
    }
    return fail("'login' takes check, accept, deny, wrong-kind, wrong-mark or silent");
  }

  bool logout(std::string_view arg) {
    if (arg == "ack" || arg == "silent") {
      out_.acknowledgeLogout = arg == "ack";
      return true;
    }
    return fail("'logout' takes ack or silent");
  }

  bool mode(std::string_view arg) {
    uint64_t value = 0;
    if (!number(arg, 15, value, "'mode' needs a codec mode 0..15")) return false;
    mode_ = static_cast<int>(value);
    return true;
  }

  bool wait(std::string_view arg) {
    uint64_t ms = 0;
    if (!number(arg, kMaxStepWaitMs, ms, "'wait' needs milliseconds (at most 600000)"))
      return false;
    step(UdpStep::Kind::kWait).value = ms;
    return true;
  }

  bool sendPayload(std::string_view arg) {
    auto bytes = ParseHexBytes(arg);
    if (!bytes || bytes->size() > kMaxPayload) {
      return fail("'send-payload' needs hexadecimal byte pairs (at most 65000 bytes)");
    }
    UdpStep& s = step(UdpStep::Kind::kPackets);
    s.packets.push_back(BuildJesPacket(s.mode, *bytes));
    s.value = 1;
    return true;
  }

  bool sendCounter(std::string_view arg) {
    auto [count, size] = SplitWord(arg);
    auto n = ParseDecimal(count, kMaxCount);
    auto bytes = ParseDecimal(size, kMaxPayload);
    if (!n || !bytes || *bytes < 4) {
      return fail("'send-counter' needs a count and a payload size of 4..65000 bytes");
    }
    UdpStep& s = step(UdpStep::Kind::kCounter);
    s.value = *n;
    s.size = *bytes;
    return true;
  }

  // "PATH [TIMES]" or "PATH SIZE [TIMES]": the file's bytes and the numbers after the path.
  bool readFile(std::string_view arg, std::string& bytes, std::vector<uint64_t>& numbers) {
    auto [path, rest] = SplitWord(arg);
    while (!rest.empty()) {
      auto [word, after] = SplitWord(rest);
      auto n = ParseDecimal(word, kMaxCount);
      if (!n) return fail("a number expected after the path, not '" + std::string(word) + "'");
      numbers.push_back(*n);
      rest = after;
    }
    const std::string file(path);
    struct stat info {};
    if (path.empty() || ::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
      return fail("cannot read '" + file + "'");
    }
    if (static_cast<uint64_t>(info.st_size) > kMaxFileBytes) {
      return fail("'" + file + "' is larger than 64 MiB");
    }
    std::ifstream in(file, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return fail("cannot read '" + file + "'");
    return true;
  }

  bool sendPayloadFile(std::string_view arg) {
    std::string bytes;
    std::vector<uint64_t> numbers;
    if (!readFile(arg, bytes, numbers)) return false;
    if (numbers.empty() || numbers.size() > 2 || numbers[0] == 0 || numbers[0] > kMaxPayload) {
      return fail("'send-payload-file' needs PATH SIZE [TIMES], SIZE 1..65000");
    }
    if (bytes.empty()) return fail("the payload file is empty");
    UdpStep& s = step(UdpStep::Kind::kPackets);
    for (std::size_t at = 0; at < bytes.size(); at += numbers[0]) {
      s.packets.push_back(BuildJesPacket(s.mode, std::string_view(bytes).substr(at, numbers[0])));
    }
    s.value = numbers.size() > 1 ? numbers[1] : 1;
    return true;
  }

  bool sendPacketFile(std::string_view arg) {
    std::string bytes;
    std::vector<uint64_t> numbers;
    if (!readFile(arg, bytes, numbers)) return false;
    if (numbers.size() > 1) return fail("'send-packet-file' needs PATH [TIMES]");
    if (bytes.empty()) return fail("the packet file is empty");
    UdpStep& s = step(UdpStep::Kind::kPackets);
    std::string_view rest = bytes;
    while (!rest.empty()) {
      const uint32_t total = JesTotalLength(rest);
      if (total < kJesHeaderSize || total > rest.size()) {
        return fail("packet " + std::to_string(s.packets.size() + 1) +
                    " of the file has a total length (offset 48) that does not fit");
      }
      s.packets.emplace_back(rest.substr(0, total));
      rest.remove_prefix(total);
    }
    s.value = numbers.empty() ? 1 : numbers[0];
    return true;
  }

  bool record(std::string_view arg) {
    auto [kind, rest] = SplitWord(arg);
    auto [length, hex] = SplitWord(rest);
    auto k = ParseDecimal(kind, 255);
    auto n = ParseDecimal(length, 255);
    auto data = ParseHexBytes(hex);
    if (!k || !n || !data || data->size() > kRecordData) {
      return fail("'record' needs KIND LENGTH [HEX] with at most 64 data bytes");
    }
    step(UdpStep::Kind::kDatagram).bytes =
        MakeRecord(static_cast<uint8_t>(*k), static_cast<uint8_t>(*n), *data);
    return true;
  }

  bool garbage(std::string_view arg) {
    uint64_t count = 0;
    if (!number(arg, kMaxCount, count, "'garbage' needs a count")) return false;
    step(UdpStep::Kind::kGarbage).value = count;
    return true;
  }

  bool bare(std::string_view arg, UdpStep::Kind kind, const char* name) {
    if (!arg.empty()) return fail(std::string("'") + name + "' takes no value");
    step(kind);
    if (kind == UdpStep::Kind::kEcho) echoAt_ = line_;
    return true;
  }

  UdpScenario& out_;
  std::string& error_;
  int mode_ = 2;
  int line_ = 0;
  int echoAt_ = 0;
};

}  // namespace

bool UdpScenario::accepts(std::string_view user, std::string_view password) const {
  if (users.empty()) return true;
  for (const auto& known : users) {
    if (known.first == user && known.second == password) return true;
  }
  return false;
}

bool UdpScenario::echoes() const {
  return !steps.empty() && steps.back().kind == UdpStep::Kind::kEcho;
}

bool ParseUdpSection(const std::vector<std::string_view>& lines, int firstLine, UdpScenario& out,
                     std::string& error, int& errorLine) {
  UdpParser parser(out, error);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int lineNo = firstLine + static_cast<int>(i);
    std::string_view line = TrimLeft(lines[i]);
    if (TrimRight(line).empty() || line.front() == '#') continue;
    auto [keyword, argument] = SplitWord(line);
    parser.at(lineNo);
    if (!parser.directive(keyword, argument)) {
      errorLine = lineNo;
      return false;
    }
  }
  return true;
}

}  // namespace kvsim
