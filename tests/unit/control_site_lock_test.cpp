// The site lock in the control's start and its later requests, against kvsim.
#include <gtest/gtest.h>

#include <string>

#include "support/ControlRig.h"
#include "support/Kvsim.h"

namespace pel::test {
namespace {

StartParams InPage(FakeHostBrowser& page) {
  StartParams params;
  params.hostBrowser = &page;
  params.siteLock.pageUrl = page.LocationURL();
  params.siteLock.zone = kZoneInternet;
  return params;
}

TEST(ControlSiteLock, ForeignPageReadsNothingShowsNothingAndGetsNoPane) {
  KvsimScenario kv(ServerRoute({}));
  ControlRig rig;
  rig.PointAt(kv.port());
  rig.ctrl.SetStrIpAddrProxy("proxy.invalid");  // would show "Bad Web Proxy URL format"
  const std::string site = "http://127.0.0.2:" + std::to_string(kv.port());
  FakeHostBrowser page = FakeHostBrowser::FromBytes(site + "/live.html");
  ASSERT_TRUE(rig.ctrl.Start(InPage(page), rig.children));
  EXPECT_TRUE(kv.requests().empty());
  EXPECT_TRUE(rig.messages.texts.empty());
  EXPECT_TRUE(rig.log.Lines().empty());  // neither pane nor viewer
  EXPECT_NE(rig.ctrl.RefusalLine().find("not allowed on " + site + "."), std::string::npos);
}

TEST(ControlSiteLock, PageOfTheServersHostStartsAndAnotherHostGetsNothing) {
  KvsimScenario kv(ServerRoute({"PROPERTY0=0x0000FF01", "VSMMAXCNT=1", "VSMIPTYPE0=1",
                                "VSMNAME0=\"Hall\""}) +
                   ModuleRoute(0, {"NUM_OF_CAM = 2"}));
  ControlRig rig;
  rig.ctrl.SetIHttpPort(kv.port());
  FakeHostBrowser page =
      FakeHostBrowser::FromBytes("http://127.0.0.1:" + std::to_string(kv.port()) + "/live.html");
  ASSERT_TRUE(rig.ctrl.Start(InPage(page), rig.children));
  EXPECT_EQ(kv.requests().size(), 2u);
  EXPECT_TRUE(rig.messages.texts.empty());

  kv.clearRequests();
  rig.ctrl.SetStrIpAddr("127.0.0.5");  // reached through kvsim as the page's proxy
  rig.ctrl.SetStrIpAddrProxy("127.0.0.1");
  rig.ctrl.SetIHttpPortProxy(kv.port());
  rig.ctrl.SetUpModule(0);
  EXPECT_TRUE(kv.requests().empty());
  EXPECT_TRUE(rig.messages.texts.empty());
  EXPECT_FALSE(rig.ctrl.RequestGate().AllowRequest("127.0.0.1", "127.0.0.7"));
}

TEST(SiteGuardPolicy, RequireTlsHoldsBeforeTheStartAndIsReadAgainAtEachStart) {
  bool policy = true;
  SiteGuard guard(LookupHostIPv4, [&policy] { return policy; });
  EXPECT_TRUE(guard.RefusesPlainCredentials());
  policy = false;
  guard.DecideAtStart(SiteLockInputs{}, "127.0.0.1", "");
  EXPECT_FALSE(guard.RefusesPlainCredentials());
}

}  // namespace
}  // namespace pel::test
