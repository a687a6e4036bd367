// The site lock in the control's start and later requests, against kvsim: a foreign page reads
// nothing and shows nothing, a page from the server's own host starts as before, and a script
// that points an allowed control at another host sends nothing.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/ControlRig.h"
#include "support/Kvsim.h"

namespace pel::test {
namespace {

const std::string kServer = ServerRoute({"PROPERTY0=0x0000FF01", "VSMMAXCNT=1", "VSMIPTYPE0=1",
                                         "VSMNAME0=\"Hall\""}) +
                            ModuleRoute(0, {"NUM_OF_CAM = 2"});

class ControlSiteLock : public ::testing::Test {
 protected:
  bool StartInPage(const std::string& url) {
    browser_ = std::make_unique<FakeHostBrowser>(FakeHostBrowser::FromBytes(url));
    StartParams params;
    params.hostBrowser = browser_.get();
    params.siteLock.pageUrl = browser_->LocationURL();
    params.siteLock.zone = kZoneInternet;
    return rig.ctrl.Start(params, rig.children);
  }

  KvsimScenario kv{kServer};
  ControlRig rig;
  std::unique_ptr<FakeHostBrowser> browser_;
};

TEST_F(ControlSiteLock, ForeignPageReadsNothingShowsNothingAndGetsNoPane) {
  ASSERT_NE(kv.port(), 0);
  rig.PointAt(kv.port());
  rig.ctrl.SetStrIpAddrProxy("proxy.invalid");  // would show "Bad Web Proxy URL format"
  const std::string page = "http://127.0.0.2:" + std::to_string(kv.port());
  ASSERT_TRUE(StartInPage(page + "/live.html?user=x"));
  EXPECT_TRUE(kv.requests().empty());
  EXPECT_TRUE(rig.messages.texts.empty());
  EXPECT_EQ(rig.ctrl.pane(), nullptr);
  EXPECT_EQ(rig.log.IndexOf("children create-viewer"), -1);
  EXPECT_FALSE(rig.ctrl.SiteAllowed());
  EXPECT_EQ(rig.ctrl.RefusalLine(),
            "The Pelioran control is not allowed on " + page + ". To allow it, an administrator "
            "adds " + page + " to AllowedSites under HKLM\\Software\\Policies\\Pelioran.");
  // Nothing later either, wherever it is pointed.
  EXPECT_FALSE(rig.ctrl.RequestGate().AllowRequest("127.0.0.2", ""));
}

TEST_F(ControlSiteLock, PageOfTheServersHostStartsAndAnotherHostIsHeldBack) {
  ASSERT_NE(kv.port(), 0);
  rig.ctrl.SetIHttpPort(kv.port());
  ASSERT_TRUE(StartInPage("http://127.0.0.1:" + std::to_string(kv.port()) + "/live.html"));
  EXPECT_TRUE(rig.ctrl.SiteAllowed());
  EXPECT_EQ(rig.ctrl.Properties().strIpAddr, "127.0.0.1");
  EXPECT_EQ(kv.requests().size(), 2u);
  EXPECT_EQ(rig.ctrl.serverPageRead(), PageReadOutcome::kRead);
  EXPECT_NE(rig.ctrl.pane(), nullptr);
  EXPECT_TRUE(rig.messages.texts.empty());

  // A script points the control at another host, through kvsim as its proxy.
  kv.clearRequests();
  rig.ctrl.SetStrIpAddr("127.0.0.5");
  rig.ctrl.SetStrIpAddrProxy("127.0.0.1");
  rig.ctrl.SetIHttpPortProxy(kv.port());
  rig.ctrl.SetUpModule(0);
  EXPECT_TRUE(kv.requests().empty());
  EXPECT_TRUE(rig.messages.texts.empty());
  EXPECT_EQ(rig.ctrl.modulePageRead(), PageReadOutcome::kNotRead);

  // The server's own host through a proxy the page wrote elsewhere: held back too.
  EXPECT_FALSE(rig.ctrl.RequestGate().AllowRequest("127.0.0.1", "127.0.0.7"));
  EXPECT_TRUE(rig.ctrl.RequestGate().AllowRequest("127.0.0.1", ""));
}

}  // namespace
}  // namespace pel::test
