// The browser's proxy exceptions at the start, against kvsim behind a real tinyproxy: a listed
// server is read directly, another through the proxy (which marks what it forwards with Via).
#include <gtest/gtest.h>

#include <string>

#include "support/ControlRig.h"
#include "support/HttpPeers.h"

namespace pel::test {
namespace {

std::vector<std::string> StartBehindBrowserProxy(const std::string& exceptions) {
  KvsimScenario kv(ServerRoute({}));
  ControlRig rig;
  rig.proxy.Enable("http=127.0.0.1:" + std::to_string(ProxyPort()));
  rig.proxy.SetString(FakeBrowserProxySetting::kProxyOverride, exceptions);
  FakeHostBrowser page =
      FakeHostBrowser::FromBytes("http://127.0.0.1:" + std::to_string(kv.port()) + "/live.html");
  EXPECT_TRUE(rig.Start(0, 0, &page));
  return WaitForRequests(kv, 2);
}

bool ThroughProxy(const std::string& request) {
  return request.find("\r\nVia: ") != std::string::npos;
}

TEST(ControlProxyOverride, ListedServerIsReadDirectlyOthersThroughTheProxy) {
  PEL_REQUIRE_PEER(KvsimControlPort(), "kvsim");
  PEL_REQUIRE_PEER(ProxyPort(), "tinyproxy");
  for (const char* listed : {"<local>", "intranet.example ; 127.0.0.*"}) {
    const std::vector<std::string> requests = StartBehindBrowserProxy(listed);
    ASSERT_EQ(requests.size(), 2u) << listed;
    EXPECT_FALSE(ThroughProxy(requests[0]) || ThroughProxy(requests[1])) << requests[0];
  }
  const std::vector<std::string> requests = StartBehindBrowserProxy("127.0.0.1:1;*.example");
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_TRUE(ThroughProxy(requests[0]) && ThroughProxy(requests[1])) << requests[0];
}

}  // namespace
}  // namespace pel::test
