// Reads for an https server where no TLS provider is installed (this test program installs
// none): the tunnel through a real proxy, and that nothing of the request leaves before the
// secure connection stands. The real TLS cases run under Wine against nginx.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/PageFetch.h"
#include "net/HttpClient.h"
#include "res/StringTable.h"
#include "support/ControlFakes.h"
#include "support/HttpPeers.h"

namespace pel {
namespace {

constexpr char kLoopback[] = "127.0.0.1";
constexpr char kPage[] = "/asp-get/kvsvrinf.asp";

// The control's gate as a fixed answer: every request allowed, plain credentials refused or not.
class PolicyGate : public IRequestGate {
 public:
  explicit PolicyGate(bool refusePlain) : refusePlain_(refusePlain) {}
  bool AllowRequest(const std::string&, const std::string&) override { return true; }
  bool RefusesPlainCredentials() const override { return refusePlain_; }

 private:
  bool refusePlain_;
};

int GetThroughProxy(unsigned short port, const char* tlsHost, std::vector<char>& area) {
  return HttpGet(kPage, kLoopback, port, "admin", "s3cret", area.data(),
                 static_cast<int>(area.size()), kLoopback,
                 static_cast<unsigned short>(test::ProxyPort()), tlsHost);
}

TEST(HttpsRead, ProxyOpensTheTunnelButNoRequestGoesWithoutASecureConnection) {
  PEL_REQUIRE_PEER(test::KvsimControlPort(), "kvsim");
  PEL_REQUIRE_PEER(test::ProxyPort(), "tinyproxy");
  test::KvsimScenario kvsim("route *\nbody\nA=1\nend\n");
  std::vector<char> area(4096, '\0');
  EXPECT_EQ(GetThroughProxy(kvsim.port(), "localhost", area), HTTP_GET_TLS_FAILED);
  // The same server over plain http through the same proxy is read: the tunnel was the only
  // difference.
  EXPECT_GT(GetThroughProxy(kvsim.port(), nullptr, area), 0);
  // kvsim records every connection: the tunnel's carried no byte.
  const auto requests = test::WaitForRequests(kvsim, 2);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0], "");
  EXPECT_EQ(requests[1].rfind("GET " + std::string(kPage) + " HTTP/1.1", 0), 0u) << requests[1];
}

TEST(HttpsRead, ProxyThatRefusesTheTunnelEndsTheRead) {
  PEL_REQUIRE_PEER(test::ProxyPort(), "tinyproxy");
  // Port 1 on loopback has no listener: the proxy cannot open the tunnel and answers an error.
  std::vector<char> area(4096, '\0');
  EXPECT_EQ(GetThroughProxy(1, "localhost", area), HTTP_GET_PROXY_REFUSED);
}

TEST(HttpsRead, ConnectNamesTheWrittenHostAndCarriesNoCredentials) {
  PEL_REQUIRE_PEER(test::KvsimControlPort(), "kvsim");
  // kvsim stands in for a proxy that refuses every tunnel; it records what it was asked.
  test::KvsimScenario proxy("route *\nstatus 403 Forbidden\n");
  std::vector<char> area(4096, '\0');
  EXPECT_EQ(HttpGetSized(kPage, kLoopback, 8443, "admin", "s3cret", area.data(),
                         static_cast<int>(area.size()), kLoopback, proxy.port(), "cam.example"),
            HTTP_GET_PROXY_REFUSED);
  const auto requests = test::WaitForRequests(proxy, 1);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], "CONNECT cam.example:8443 HTTP/1.1\r\nHost: cam.example:8443\r\n\r\n");
}

TEST(HttpsRead, RequireTlsRefusesCredentialsOverPlainHttpBeforeSending) {
  PEL_REQUIRE_PEER(test::KvsimControlPort(), "kvsim");
  test::KvsimScenario kvsim("route *\nbody\nA=1\nend\n");
  ControlProperties props;
  props.strIpAddr = kLoopback;
  props.iHttpPort = kvsim.port();
  props.strUserID = "admin";
  PolicyGate refusing(true);
  test::RecordingMessages messages;
  PageBuffer page;
  EXPECT_EQ(FetchPage(kPage, props, messages, page, &refusing), PageReadOutcome::kNotRead);
  EXPECT_EQ(messages.texts,
            std::vector<std::string>{FormatResString(IDS_PLAIN_CREDENTIALS_REFUSED, kLoopback)});

  // Without credentials, or without the policy, the page is read.
  props.strUserID.clear();
  EXPECT_EQ(FetchPage(kPage, props, messages, page, &refusing), PageReadOutcome::kRead);
  props.strUserID = "admin";
  PolicyGate allowing(false);
  EXPECT_EQ(FetchPage(kPage, props, messages, page, &allowing), PageReadOutcome::kRead);
  EXPECT_EQ(test::WaitForRequests(kvsim, 2).size(), 2u);

  // An https server is read over TLS under the policy; here it fails with its own message.
  kvsim.clearRequests();
  props.tlsHost = "localhost";
  props.tlsAddress = props.strIpAddr;
  messages.texts.clear();
  EXPECT_EQ(FetchPage(kPage, props, messages, page, &refusing), PageReadOutcome::kRequestFailed);
  EXPECT_EQ(messages.texts,
            std::vector<std::string>{FormatResString(IDS_TLS_FAILED, "localhost")});
  EXPECT_EQ(test::WaitForRequests(kvsim, 1), std::vector<std::string>{""});
}

}  // namespace
}  // namespace pel
