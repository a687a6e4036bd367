// How the control's page reads ended, as kept for diagnosis: read, request failed, status
// failed, for the server page and the module page separately.
#include <gtest/gtest.h>

#include "support/ControlRig.h"
#include "support/Kvsim.h"

namespace pel::test {
namespace {

TEST(PageReadOutcome, NothingIsReadBeforeTheStart) {
  ControlRig rig;
  EXPECT_EQ(rig.ctrl.serverPageRead(), PageReadOutcome::kNotRead);
  EXPECT_EQ(rig.ctrl.modulePageRead(), PageReadOutcome::kNotRead);
}

TEST(PageReadOutcome, BothPagesRead) {
  KvsimScenario kv(ServerRoute({"PROPERTY0=0x0000FF01", "VSMMAXCNT=1", "VSMIPTYPE0=1",
                                "VSMNAME0=\"Hall\""}) +
                   ModuleRoute(0, {"NUM_OF_CAM = 2"}));
  ControlRig rig;
  rig.PointAt(kv.port());
  ASSERT_TRUE(rig.Start());
  EXPECT_EQ(rig.ctrl.serverPageRead(), PageReadOutcome::kRead);
  EXPECT_EQ(rig.ctrl.modulePageRead(), PageReadOutcome::kRead);
}

TEST(PageReadOutcome, StatusFailureOfTheServerPageAndMissingModulePage) {
  // The server page is refused; module -1 has no route: 404.
  KvsimScenario kv("auth admin:1234\nroute /asp-get/kvsvrinf.asp\n");
  ControlRig rig;
  rig.PointAt(kv.port());
  ASSERT_TRUE(rig.Start());
  EXPECT_EQ(rig.ctrl.serverPageRead(), PageReadOutcome::kStatusFailed);
  EXPECT_EQ(rig.ctrl.modulePageRead(), PageReadOutcome::kStatusFailed);
}

TEST(PageReadOutcome, RequestFailuresAtAClosedPortThenARecoveredModuleRead) {
  const uint16_t closed = ClosedLoopbackPort();
  ControlRig rig;
  rig.PointAt(closed);
  ASSERT_TRUE(rig.Start());
  EXPECT_EQ(rig.ctrl.serverPageRead(), PageReadOutcome::kRequestFailed);
  EXPECT_EQ(rig.ctrl.modulePageRead(), PageReadOutcome::kRequestFailed);

  KvsimScenario kv(ModuleRoute(3, {"NUM_OF_CAM = 1"}));
  rig.ctrl.SetIHttpPort(kv.port());
  rig.ctrl.SetUpModule(3);
  EXPECT_EQ(rig.ctrl.modulePageRead(), PageReadOutcome::kRead);
  EXPECT_EQ(rig.ctrl.serverPageRead(), PageReadOutcome::kRequestFailed);
}

}  // namespace
}  // namespace pel::test
