#include "pelprobe/ServerOptions.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <limits>

namespace pel::probe {

namespace {

constexpr int64_t kLowestPort = 1;
constexpr int64_t kHighestPort = 65535;

// "HOST" or "HOST:PORT" (the last colon separates the port); the port stays as it is when
// none is written.
bool SplitProxy(const std::string& text, std::string& host, int32_t& port) {
  const size_t colon = text.rfind(':');
  host = text.substr(0, colon);
  if (host.empty()) return false;
  if (colon == std::string::npos) return true;
  int64_t number = 0;
  if (!ParseDecimal(text.substr(colon + 1), kLowestPort, kHighestPort, number)) return false;
  port = static_cast<int32_t>(number);
  return true;
}

// An "https://" address is the page's own origin: the page came from that server over https.
bool IsHttpsUrl(const std::string& text) {
  static constexpr char kScheme[] = "https://";
  if (text.size() < sizeof kScheme - 1) return false;
  for (size_t i = 0; i + 1 < sizeof kScheme; ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != kScheme[i]) return false;
  }
  return true;
}

}  // namespace

OptionParser::Result ParseServerOptions(const std::vector<std::string>& args,
                                        ServerCommandOptions& options, std::string& message) {
  ServerProbeOptions& probe = options.probe;
  int64_t port = probe.iHttpPort;
  int64_t module = 0;
  std::string proxy;
  bool noBrowser = false;

  OptionParser parser("server");
  parser.AddText("--addr", "A", &probe.strIpAddr,
                 "server address (strIpAddr): host, host:port, user:password@host, a URL, or empty",
                 true);
  parser.AddNumber("--port", "N", kLowestPort, kHighestPort, &port, "HTTP port (iHttpPort), 80 when not given");
  parser.AddText("--user", "U", &probe.strUserID, "user ID (strUserID)");
  parser.AddText("--password", "P", &probe.strUserPWD, "password (strUserPWD)");
  parser.AddText("--proxy", "HOST[:PORT]", &proxy,
                 "web proxy (strIpAddrProxy, iHttpPortProxy), port 8080 when not given");
  parser.AddNumber("--module", "N", std::numeric_limits<int32_t>::min(),
                   std::numeric_limits<int32_t>::max(), &module,
                   "after the start, pick module N in the module list");
  parser.AddText("--page-url", "URL", &probe.pageUrl,
                 "URL of the page hosting the control, http://A:N/ (an https A itself) when not given");
  parser.AddFlag("--no-browser", &noBrowser,
                 "hosted outside a web browser: the addresses are used unchanged");
  parser.AddFlag("--json", &options.json, "print one JSON object");

  const OptionParser::Result result = parser.Parse(args);
  if (result == OptionParser::Result::kHelp) {
    message = parser.Usage();
    return result;
  }
  if (result == OptionParser::Result::kError) {
    message = parser.error();
    return result;
  }
  if (noBrowser && parser.Given("--page-url")) {
    message = "--page-url and --no-browser exclude each other";
    return OptionParser::Result::kError;
  }
  if (parser.Given("--proxy") && !SplitProxy(proxy, probe.strIpAddrProxy, probe.iHttpPortProxy)) {
    message = "option --proxy: '" + proxy + "' is not HOST or HOST:PORT with a port from 1 to 65535";
    return OptionParser::Result::kError;
  }
  probe.iHttpPort = static_cast<int32_t>(port);
  if (parser.Given("--module")) probe.module = static_cast<int32_t>(module);
  probe.browser = !noBrowser;
  if (probe.browser && !parser.Given("--page-url")) {
    if (IsHttpsUrl(probe.strIpAddr)) {
      const bool hasPath = probe.strIpAddr.find('/', std::strlen("https://")) != std::string::npos;
      probe.pageUrl = probe.strIpAddr + (hasPath ? "" : "/");
    } else {
      probe.pageUrl = "http://" + probe.strIpAddr + ":" + std::to_string(probe.iHttpPort) + "/";
    }
  }
  return OptionParser::Result::kOk;
}

}  // namespace pel::probe
