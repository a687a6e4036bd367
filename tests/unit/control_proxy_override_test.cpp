#include <gtest/gtest.h>

#include <string>

#include "support/ControlRig.h"
#include "support/HttpPeers.h"

namespace pel::test {
namespace {

// Whether each of the start's two reads came through tinyproxy, which adds a Via line.
std::vector<bool> StartBehindBrowserProxy(const std::string& exceptions) {
  KvsimScenario kv(ServerRoute({}));
  ControlRig rig;
  rig.proxy.Enable("http=127.0.0.1:" + std::to_string(ProxyPort()));
  rig.proxy.SetString(FakeBrowserProxySetting::kProxyOverride, exceptions);
  FakeHostBrowser page =
      FakeHostBrowser::FromBytes("http://127.0.0.1:" + std::to_string(kv.port()) + "/live.html");
  EXPECT_TRUE(rig.Start(0, 0, &page));
  std::vector<bool> proxied;
  for (const std::string& r : WaitForRequests(kv, 2)) {
    proxied.push_back(r.find("\r\nVia: ") != std::string::npos);
  }
  return proxied;
}

TEST(ControlProxyOverride, ListedServerIsReadDirectlyOthersThroughTheProxy) {
  PEL_REQUIRE_PEER(KvsimControlPort(), "kvsim");
  PEL_REQUIRE_PEER(ProxyPort(), "tinyproxy");
  EXPECT_EQ(StartBehindBrowserProxy("<local>"), std::vector<bool>(2, false));
  EXPECT_EQ(StartBehindBrowserProxy("127.0.0.1:1;*.example"), std::vector<bool>(2, true));
}

}  // namespace
}  // namespace pel::test
