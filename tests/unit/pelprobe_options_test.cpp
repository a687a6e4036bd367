// pelprobe's option parser and the `server` command's options: strict about everything it
// does not know, and what each option sets.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pelprobe/OptionParser.h"
#include "pelprobe/ServerOptions.h"

namespace pel::probe {
namespace {

using Args = std::vector<std::string>;
using Result = OptionParser::Result;

TEST(PelprobeDecimal, AcceptsWholeNumbersWithinTheRangeOnly) {
  int64_t v = 7;
  EXPECT_TRUE(ParseDecimal("0", 0, 10, v));
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(ParseDecimal("-2147483648", INT32_MIN, INT32_MAX, v));
  EXPECT_EQ(v, INT32_MIN);
  EXPECT_TRUE(ParseDecimal("-9223372036854775808", INT64_MIN, INT64_MAX, v));
  EXPECT_EQ(v, INT64_MIN);
  v = 7;
  for (const char* bad : {"", "-", "+1", " 1", "1 ", "1x", "0x10", "1.0", "--1", "65536",
                          "9223372036854775808", "99999999999999999999"}) {
    EXPECT_FALSE(ParseDecimal(bad, -100, 65535, v)) << bad;
  }
  EXPECT_FALSE(ParseDecimal("-1", 0, 10, v));
  EXPECT_EQ(v, 7);  // untouched by a refused text
}

class PelprobeOptionParser : public ::testing::Test {
 protected:
  PelprobeOptionParser() {
    parser.AddText("--name", "X", &name, "a name", true);
    parser.AddNumber("--count", "N", 1, 9, &count, "a count");
    parser.AddFlag("--fast", &fast, "a flag");
  }
  Result Parse(const Args& args) { return parser.Parse(args); }

  OptionParser parser{"test"};
  std::string name = "unset";
  int64_t count = 5;
  bool fast = false;
};

TEST_F(PelprobeOptionParser, TakesBothValueFormsFlagsAndEmptyValues) {
  ASSERT_EQ(Parse({"--fast", "--count=3", "--name", ""}), Result::kOk) << parser.error();
  EXPECT_TRUE(fast);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(name, "");
  EXPECT_TRUE(parser.Given("--count"));
  EXPECT_FALSE(parser.Given("--other"));
}

TEST(PelprobeOptionErrors, RefusesWhatItDoesNotKnowOrCannotRead) {
  const std::vector<std::pair<Args, std::string>> cases = {
      {{"--name", "a", "--colour", "red"}, "unknown option --colour"},
      {{"--name", "a", "stray"}, "unexpected argument 'stray'"},
      {{"--name", "a", "-x"}, "unexpected argument '-x'"},
      {{"--name"}, "option --name needs a value (X)"},
      {{"--name", "--fast"}, "option --name needs a value (X)"},
      {{"--name", "a", "--name", "b"}, "option --name is given twice"},
      {{"--name", "a", "--fast=yes"}, "option --fast takes no value"},
      {{"--name", "a", "--count", "0"}, "option --count: '0' is not a whole number from 1 to 9"},
      {{"--name", "a", "--count", "3x"}, "option --count: '3x' is not a whole number from 1 to 9"},
      {{"--count", "3"}, "option --name is required"},
  };
  for (const auto& [args, message] : cases) {
    OptionParser fresh("test");
    std::string n;
    int64_t c = 0;
    bool f = false;
    fresh.AddText("--name", "X", &n, "", true);
    fresh.AddNumber("--count", "N", 1, 9, &c, "");
    fresh.AddFlag("--fast", &f, "");
    EXPECT_EQ(fresh.Parse(args), Result::kError) << message;
    EXPECT_EQ(fresh.error(), message);
  }
}

TEST_F(PelprobeOptionParser, HelpAndUsage) {
  EXPECT_EQ(Parse({"--count", "1", "-h"}), Result::kHelp);
  const std::string usage = parser.Usage();
  EXPECT_EQ(usage.substr(0, usage.find('\n')),
            "usage: pelprobe test --name X [--count N] [--fast]");
  EXPECT_NE(usage.find("  --count N  a count\n"), std::string::npos);
}

ServerCommandOptions ServerOptions(const Args& args, Result expected, std::string* message = nullptr) {
  ServerCommandOptions options;
  std::string text;
  EXPECT_EQ(ParseServerOptions(args, options, text), expected) << text;
  if (message) *message = text;
  return options;
}

TEST(PelprobeServerOptions, SetTheControlsPropertiesAndTheHostingPage) {
  const ServerCommandOptions o = ServerOptions(
      {"--addr", "cam.example", "--port", "8081", "--user", "u", "--password", "p:w", "--proxy",
       "10.0.0.1:3128", "--module", "-1", "--json"},
      Result::kOk);
  EXPECT_EQ(o.probe.strIpAddr, "cam.example");
  EXPECT_EQ(o.probe.iHttpPort, 8081);
  EXPECT_EQ(o.probe.strUserID, "u");
  EXPECT_EQ(o.probe.strUserPWD, "p:w");
  EXPECT_EQ(o.probe.strIpAddrProxy, "10.0.0.1");
  EXPECT_EQ(o.probe.iHttpPortProxy, 3128);
  ASSERT_TRUE(o.probe.module.has_value());
  EXPECT_EQ(*o.probe.module, -1);
  EXPECT_TRUE(o.json);
  EXPECT_TRUE(o.probe.browser);
  EXPECT_EQ(o.probe.pageUrl, "http://cam.example:8081/");
}

TEST(PelprobeServerOptions, DefaultsNoBrowserAndExplicitPage) {
  ServerCommandOptions o = ServerOptions({"--addr", "", "--proxy", "proxy.lan"}, Result::kOk);
  EXPECT_EQ(o.probe.iHttpPort, 80);
  EXPECT_EQ(o.probe.strIpAddrProxy, "proxy.lan");
  EXPECT_EQ(o.probe.iHttpPortProxy, 8080);
  EXPECT_FALSE(o.probe.module.has_value());
  EXPECT_FALSE(o.json);
  EXPECT_EQ(o.probe.pageUrl, "http://:80/");

  o = ServerOptions({"--addr", "1.2.3.4", "--no-browser"}, Result::kOk);
  EXPECT_FALSE(o.probe.browser);
  o = ServerOptions({"--addr", "", "--page-url", "file:///C:/live.html"}, Result::kOk);
  EXPECT_TRUE(o.probe.browser);
  EXPECT_EQ(o.probe.pageUrl, "file:///C:/live.html");
}

TEST(PelprobeServerOptions, RefusesBadProxiesPortsModulesAndContradictions) {
  std::string message;
  for (const char* proxy : {"", ":3128", "10.0.0.1:", "10.0.0.1:0", "10.0.0.1:65536", "h:x"}) {
    ServerOptions({"--addr", "a", "--proxy", proxy}, Result::kError, &message);
    EXPECT_EQ(message, std::string("option --proxy: '") + proxy +
                           "' is not HOST or HOST:PORT with a port from 1 to 65535");
  }
  ServerOptions({"--addr", "a", "--port", "0"}, Result::kError);
  ServerOptions({"--addr", "a", "--module", "2147483648"}, Result::kError);
  ServerOptions({"--port", "80"}, Result::kError, &message);
  EXPECT_EQ(message, "option --addr is required");
  ServerOptions({"--addr", "a", "--no-browser", "--page-url", "http://a/"}, Result::kError, &message);
  EXPECT_EQ(message, "--page-url and --no-browser exclude each other");
  ServerOptions({"--help"}, Result::kHelp, &message);
  EXPECT_EQ(message.rfind("usage: pelprobe server --addr A [--port N]", 0), 0u);
}

}  // namespace
}  // namespace pel::probe
