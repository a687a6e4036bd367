// The scenario text format: one directive per line, "#" comment lines, blank lines ignored,
// and blocks (body, body-lf, body-escaped, raw) that run to a line that is exactly "end".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Base64.h"
#include "Response.h"
#include "Scenario.h"
#include "Text.h"
#include "TextEscape.h"

namespace kvsim {

namespace {

// Bodies and waits beyond these are typing mistakes, not tests.
constexpr uint64_t kMaxBodyBytes = 64u << 20;
constexpr uint64_t kMaxWaitMs = 600000;

struct RouteDraft {
  Route route;
  ResponseParts parts;
  int statusLineAt = 0;
  int contentLengthAt = 0;
  int bodyAt = 0;
  int framingAt = 0;  // first line of any of the above or a header
  int rawAt = 0;
  std::string raw;
};

class Parser {
 public:
  explicit Parser(std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      lines_.push_back(line);
      start = end + 1;
    }
  }

  bool run(Scenario& out, std::string& error) {
    for (next_ = 0; next_ < lines_.size();) {
      lineNo_ = static_cast<int>(next_) + 1;
      std::string_view line = TrimLeft(lines_[next_++]);
      if (TrimRight(line).empty() || line.front() == '#') continue;
      // The argument keeps its trailing blanks: a header value or status line may need them.
      auto [keyword, argument] = SplitWord(line);
      if (!directive(keyword, argument)) {
        error = "line " + std::to_string(lineNo_) + ": " + error_;
        return false;
      }
    }
    finishRoute();
    out = std::move(scenario_);
    return true;
  }

 private:
  bool fail(std::string message) {
    error_ = std::move(message);
    return false;
  }

  bool directive(std::string_view keyword, std::string_view arg) {
    if (keyword == "auth") return auth(arg);
    if (keyword == "route") return route(arg);
    if (keyword == "udp") return udp(arg);
    if (!draft_) return fail("'" + std::string(keyword) + "' needs a 'route' line before it");
    if (keyword == "status") return status(arg);
    if (keyword == "statusline") return statusLine(arg);
    if (keyword == "header") return header(arg);
    if (keyword == "content-length") return contentLength(arg);
    if (keyword == "body") return block(arg, "\r\n", false);
    if (keyword == "body-lf") return block(arg, "\n", false);
    if (keyword == "body-escaped") return block(arg, "", true);
    if (keyword == "body-repeat") return bodyRepeat(arg);
    if (keyword == "raw") return raw(arg);
    if (keyword == "after") return after(arg);
    return fail("unknown directive '" + std::string(keyword) + "'");
  }

  bool auth(std::string_view arg) {
    if (draft_ || !scenario_.routes.empty()) return fail("'auth' belongs before the first route");
    if (arg.find(':') == std::string_view::npos) return fail("'auth' needs USER:PASSWORD");
    scenario_.credentials.push_back(Base64Encode(arg));
    return true;
  }

  bool route(std::string_view arg) {
    finishRoute();
    std::string_view path = TrimRight(arg);
    if (path.empty()) return fail("'route' needs a path");
    if (path != "*" && path.front() != '/') return fail("a route path starts with '/' (or is '*')");
    for (char c : path) {
      if (IsBlank(c)) return fail("a route path has no blanks");
    }
    for (const Route& known : scenario_.routes) {
      if (known.path == path) return fail("route '" + std::string(path) + "' given twice");
    }
    draft_.emplace();
    draft_->route.path = std::string(path);
    return true;
  }

  // "udp" then its directives up to a line that is "end" (blanks around it allowed). It
  // ends the route before it.
  bool udp(std::string_view arg) {
    if (!TrimRight(arg).empty()) return fail("'udp' starts a section on a line of its own");
    if (udpAt_ != 0) return fail("'udp' already given at line " + std::to_string(udpAt_));
    finishRoute();
    udpAt_ = lineNo_;
    std::vector<std::string_view> section;
    while (next_ < lines_.size()) {
      std::string_view line = lines_[next_++];
      if (Trim(line) == "end") {
        UdpScenario udp;
        if (!ParseUdpSection(section, udpAt_ + 1, udp, error_, lineNo_)) return false;
        scenario_.udp = std::move(udp);
        return true;
      }
      section.push_back(line);
    }
    return fail("'udp' section has no closing 'end' line");
  }

  bool noRaw(const char* what) {
    if (draft_->framingAt == 0) draft_->framingAt = lineNo_;
    if (draft_->rawAt != 0) {
      return fail(std::string("'") + what + "' in a route whose 'raw' (line " +
                  std::to_string(draft_->rawAt) + ") is already the whole response");
    }
    return true;
  }

  bool once(int& at, const char* what) {
    if (at != 0) {
      return fail(std::string(what) + " already given at line " + std::to_string(at));
    }
    at = lineNo_;
    return true;
  }

  bool status(std::string_view arg) {
    if (!noRaw("status") || !once(draft_->statusLineAt, "the status line")) return false;
    auto [code, reason] = SplitWord(TrimRight(arg));
    if (code.size() != 3 || !ParseDecimal(code, 999)) return fail("'status' needs a 3-digit code");
    draft_->parts.statusLine = "HTTP/1.1 " + std::string(code) + " " + std::string(reason);
    return true;
  }

  bool statusLine(std::string_view arg) {
    if (!noRaw("statusline") || !once(draft_->statusLineAt, "the status line")) return false;
    draft_->parts.statusLine = std::string(arg);
    return true;
  }

  bool header(std::string_view arg) {
    if (!noRaw("header")) return false;
    if (arg.empty()) return fail("'header' needs NAME: VALUE");
    draft_->parts.headers.emplace_back(arg);
    return true;
  }

  bool contentLength(std::string_view arg) {
    if (!noRaw("content-length") || !once(draft_->contentLengthAt, "content-length")) return false;
    arg = TrimRight(arg);
    if (arg == "auto") {
      draft_->parts.contentLength = ContentLength::kAuto;
    } else if (arg == "none") {
      draft_->parts.contentLength = ContentLength::kNone;
    } else if (auto n = ParseDecimal(arg, UINT64_MAX / 10)) {
      draft_->parts.contentLength = ContentLength::kFixed;
      draft_->parts.announcedLength = *n;
    } else {
      return fail("'content-length' takes auto, none or a number");
    }
    return true;
  }

  // Reads the lines up to "end"; each one decoded or followed by terminator.
  bool readBlock(std::string& out, const char* terminator, bool escaped) {
    const int startedAt = lineNo_;
    while (next_ < lines_.size()) {
      std::string_view line = lines_[next_++];
      lineNo_ = static_cast<int>(next_);
      if (line == "end") return true;
      if (escaped) {
        std::string reason;
        if (!DecodeEscapes(line, out, reason)) return fail(reason);
      } else {
        out.append(line);
        out.append(terminator);
      }
      if (out.size() > kMaxBodyBytes) return fail("block larger than 64 MiB");
    }
    lineNo_ = startedAt;
    return fail("block has no closing 'end' line");
  }

  bool block(std::string_view arg, const char* terminator, bool escaped) {
    if (!TrimRight(arg).empty()) return fail("a block starts on a line of its own");
    if (!noRaw("body") || !once(draft_->bodyAt, "the body")) return false;
    return readBlock(draft_->parts.body, terminator, escaped);
  }

  bool bodyRepeat(std::string_view arg) {
    if (!noRaw("body-repeat") || !once(draft_->bodyAt, "the body")) return false;
    auto [count, text] = SplitWord(arg);
    auto n = ParseDecimal(count, kMaxBodyBytes);
    if (!n || text.empty()) return fail("'body-repeat' needs a count and a text");
    if (*n * text.size() > kMaxBodyBytes) return fail("body larger than 64 MiB");
    std::string& body = draft_->parts.body;
    body.reserve(*n * text.size());
    for (uint64_t i = 0; i < *n; ++i) body.append(text);
    return true;
  }

  bool raw(std::string_view arg) {
    if (!TrimRight(arg).empty()) return fail("a block starts on a line of its own");
    if (draft_->framingAt != 0) {
      return fail("'raw' is the whole response, yet line " + std::to_string(draft_->framingAt) +
                  " already shaped it");
    }
    if (!once(draft_->rawAt, "'raw'")) return false;
    return readBlock(draft_->raw, "", true);
  }

  bool after(std::string_view arg) {
    static const struct {
      const char* word;
      AfterMode mode;
      bool takesValue;
    } kModes[] = {
        {"close", AfterMode::kClose, false},
        {"keep-open", AfterMode::kKeepOpen, false},
        {"silent", AfterMode::kSilent, false},
        {"stall-before", AfterMode::kStallBefore, true},
        {"stall-middle", AfterMode::kStallMiddle, true},
        {"early-close", AfterMode::kEarlyClose, true},
    };
    auto [word, rest] = SplitWord(TrimRight(arg));
    for (const auto& m : kModes) {
      if (word != m.word) continue;
      After value{m.mode, 0};
      if (m.takesValue) {
        auto n =
            ParseDecimal(rest, m.mode == AfterMode::kEarlyClose ? UINT64_MAX / 10 : kMaxWaitMs);
        if (!n) return fail("'after " + std::string(word) + "' needs a number (ms at most 600000)");
        value.value = *n;
      } else if (!rest.empty()) {
        return fail("'after " + std::string(word) + "' takes no value");
      }
      draft_->route.after = value;
      return true;
    }
    return fail("unknown 'after' mode '" + std::string(word) + "'");
  }

  void finishRoute() {
    if (!draft_) return;
    draft_->route.response =
        draft_->rawAt != 0 ? std::move(draft_->raw) : ComposeResponse(draft_->parts);
    scenario_.routes.push_back(std::move(draft_->route));
    draft_.reset();
  }

  std::vector<std::string_view> lines_;
  std::size_t next_ = 0;
  int lineNo_ = 0;
  int udpAt_ = 0;
  std::string error_;
  Scenario scenario_;
  std::optional<RouteDraft> draft_;
};

}  // namespace

bool ParseScenario(std::string_view text, Scenario& out, std::string& error) {
  return Parser(text).run(out, error);
}

}  // namespace kvsim
