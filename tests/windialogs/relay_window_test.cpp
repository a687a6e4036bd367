// The Relay Output Control window against kvsim: names and states from the state page, hidden
// and disabled boxes, a click on a box sending the whole state word, OK destroying the window.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "DialogRig.h"
#include "relay/RelayOutputDlg.h"
#include "support/ControlRig.h"
#include "support/HttpPeers.h"
#include "support/Kvsim.h"

namespace pel::wintest {
namespace {

TEST(RelayWindow, ShowsThePageAndAClickSendsTheStateWord) {
  test::KvsimScenario kv(test::RouteWithBody("/asp-get/kvdioget.asp?KvModId=3",
                                             {"DO_DATA=0x05", "DONAME0=\"Gate\"", "DONAME3=\"Pump\""}) +
                         "route *\nbody\nOK\nend\n");
  ASSERT_NE(kv.port(), 0);
  test::RecordingMessages messages;
  CRelayOutputDlg relay(messages);
  PaneRig rig;
  relay.SetSettings(RelaySettings(kv.port(), 3, 5, 0x1D));  // output 2 not allowed
  rig.dialogs.OpenRelayOutput(relay);
  HWND dialog = FindDialog("Relay Output Control");
  ASSERT_NE(dialog, nullptr);

  const char* texts[] = {"Gate", "DO 2", "DO 3", "Pump", "DO 5", "DO 6"};
  for (int n = 0; n < 6; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(ItemText(dialog, 203 + n), texts[n]);
    EXPECT_EQ(ItemChecked(dialog, 203 + n), n == 0 || n == 2);
    EXPECT_EQ(ItemVisible(dialog, 203 + n), n < 5);
    EXPECT_EQ(ItemEnabled(dialog, 203 + n), n != 1 && n != 5);
  }

  Click(dialog, 206);  // DO 4 on
  EXPECT_TRUE(ItemChecked(dialog, 206));
  const auto requests = test::WaitForRequests(kv, 2);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_NE(requests[1].find("/cgi-bin/kvdoctr.cgi?ServerId=3&DoData=0x0d&KvCgiVer=0x0001 HTTP/1.1\r\n"),
            std::string::npos)
      << requests[1];
  EXPECT_TRUE(messages.texts.empty());

  Click(dialog, IDOK);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_FALSE(relay.HasWindow());
  EXPECT_FALSE(rig.dialogs.IsWindowOpen("Relay Output Control"));
}

}  // namespace
}  // namespace pel::wintest
